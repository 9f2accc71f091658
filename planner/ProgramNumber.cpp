#include "planner/ProgramNumber.h"

#include <QLocale>

#include <cmath>

QString ProgramNumber(double value)
{
    // The dialect's numbers are digits, a point and a sign: they read as nothing else.
    if (std::isnan(value))
        return QStringLiteral("0");
    if (std::isinf(value)) {
        static const QString overflowing = QStringLiteral("1") + QString(400, QLatin1Char('0'));
        return value < 0 ? QLatin1Char('-') + overflowing : overflowing;
    }
    // Negative zero keeps its sign: an arc's angles depend on it.
    if (value == 0)
        return std::signbit(value) ? QStringLiteral("-0") : QStringLiteral("0");
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}
