#include "WorkerRun.h"

#include "LookAheadCrd.h"
#include "module/ModuleState.h"
#include "run/MyThread.h"
#include "rvsim.h"

#include <QElapsedTimer>

#include <ctime>

double CpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

void SetUpWorkerTarget(bool frozenClock)
{
    rvsim_reset();
    rvsim_use_manual_clock(frozenClock ? 1 : 0);
    rvsim_set_time_scale(1e6);
    SetUpLookAheadCrd(LookAheadCrd());
    ModuleState& state = moduleState();
    state.currentCore = 1;
    state.currentCrd = 1;
    state.currentFifo = 0;
}

void WaitForTheMotionToEnd()
{
    short run = 1;
    int32_t completed = 0;
    while (run == 1)
        MQN_CrdStatus(1, 1, &run, &completed, 0);
}

WorkerRunCost RunThroughWorker(const std::shared_ptr<const ProgramText>& lines)
{
    SetUpWorkerTarget(false);
    moduleState().programLines = lines;
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = CpuSeconds();
    MyThread worker(nullptr);
    worker.start();
    worker.wait();
    WaitForTheMotionToEnd();
    return {wall.nsecsElapsed() / 1e9, CpuSeconds() - cpuStart};
}
