#include "form/MyDoubleValidator.h"

namespace {
constexpr int maxDigitsAfterPoint = 10;
}

MyDoubleValidator::MyDoubleValidator(double bottom, double top, int decimals, QObject* parent)
    : QDoubleValidator(bottom, top, decimals, parent)
{}

MyDoubleValidator::~MyDoubleValidator() = default;

QValidator::State MyDoubleValidator::validate(QString& input, int& /*position*/) const
{
    if (input.isEmpty())
        return Intermediate;

    bool converted = false;
    const double value = input.toDouble(&converted);
    if (!converted)
        return input.contains(QLatin1Char('-')) ? Intermediate : Invalid;

    const qsizetype point = input.indexOf(QLatin1Char('.'));
    if (point > 0 && input.size() - point - 1 > maxDigitsAfterPoint)
        return Invalid;

    return (bottom() < value && value < top()) ? Acceptable : Invalid;
}
