#ifndef KURVO_BENCH_PROGRAMGENERATOR_H
#define KURVO_BENCH_PROGRAMGENERATOR_H

#include <QByteArray>

#include <cstdint>

// A G-code program of `lines` lines as operators run them, the same for the same seed: 80% G01
// moves, 15% G02/G03 arcs in centre form with I and J, 3% G00 rapids, and comments, blank
// lines, N words and F words now and then.
QByteArray GenerateProgram(int lines, uint64_t seed);

#endif
