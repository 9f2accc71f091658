#ifndef KURVO_BENCH_PROGRAMGENERATOR_H
#define KURVO_BENCH_PROGRAMGENERATOR_H

#include <QByteArray>
#include <QString>

#include <cstdint>

// A G-code program of `lines` lines as operators run them, the same for the same seed: 80% G01
// moves of at most a millimetre, 15% G02/G03 arcs in centre form with I and J, 3% G00 rapids,
// 1% comments and 1% blank lines; an N word on every line that is not blank, an F word now and
// then.
QByteArray GenerateProgram(int lines, uint64_t seed);

// The same program in a file; false when it cannot be written.
bool WriteGeneratedProgram(const QString& path, int lines, uint64_t seed);

#endif
