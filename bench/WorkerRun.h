#ifndef KURVO_BENCH_WORKERRUN_H
#define KURVO_BENCH_WORKERRUN_H

#include "gcode/ProgramText.h"

#include <memory>

struct WorkerRunCost
{
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

// Streams `lines` through the window's worker into a look-ahead coordinate system of the virtual
// controller at its highest time scale, and waits until the motion has ended.
WorkerRunCost RunThroughWorker(const std::shared_ptr<const ProgramText>& lines);

// Sets up the coordinate system the worker streams into, the clock standing or at the highest
// time scale.
void SetUpWorkerTarget(bool frozenClock);

// Polls until the coordinate system has stopped.
void WaitForTheMotionToEnd();

double CpuSeconds();

#endif
