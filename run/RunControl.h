#ifndef KURVO_RUNCONTROL_H
#define KURVO_RUNCONTROL_H

#include "controller/CrdAddress.h"
#include "controller/rvAPI.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// What the learning does at Start: nothing, learn (initialised at the first iteration), or work
// from the learning file.
enum class LearningAtStart { None, Learn, Work };
LearningAtStart LearningStep(bool enabled, const QString& mode);
// Makes the learning's calls for `step`, each reported in the host's output.
void StartLearning(LearningAtStart step, const ControllerAddress& at, short iteration,
                   const QByteArray& ilcPath);

// Whether the coordinate system at `at` runs.
bool CrdRunning(const ControllerAddress& at);
// Whether the buffer at `at` still holds commands. A failing query is taken to say it does:
// going on with an empty buffer moves nothing, while sending a job again could cut it twice.
bool JobLeftInBuffer(const ControllerAddress& at);

// Pushes out what the look-ahead holds after a table was sent; stops when the buffer is full,
// since nothing drains it before the start. Returns the last code.
short FlushTableLookAhead(const ControllerAddress& at);

// The bit of `profile` (numbered from 1) in a stop's mask; 0 for none.
int32_t ProfileBit(int profile);
// The profiles of axes X to the `dimension`th (clamped to 1 to 5), for a stop's mask.
int32_t AxesProfileMask(int dimension, const int (&profiles)[5]);

// The lines a pause reports of the learning errors: maximum, root mean square, average.
std::array<QByteArray, 3> LearningErrorLines(const IlcErrorRecord& errors);

#endif
