#ifndef KURVO_MYDOUBLEVALIDATOR_H
#define KURVO_MYDOUBLEVALIDATOR_H

#include <QDoubleValidator>

// Accepts a number strictly between bottom and top with at most 10 digits after the point;
// a text that is no number yet is Intermediate only while it holds a minus sign.
class MyDoubleValidator : public QDoubleValidator
{
public:
    MyDoubleValidator(double bottom, double top, int decimals, QObject* parent);
    ~MyDoubleValidator() override;

    State validate(QString& input, int& position) const override;
};

#endif
