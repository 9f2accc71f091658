#ifndef KURVO_WORKBENCH_PROGRAMNUMBER_H
#define KURVO_WORKBENCH_PROGRAMNUMBER_H

#include <QString>

// A number as a program of the module's dialect must hold it: plain decimal digits, since the
// dialect reads no exponent ("5e-05" is 5, then a word it skips), with as many digits as it
// takes to read back the very same value. An infinity is written as digits that overflow to it.
QString ProgramNumber(double value);

#endif
