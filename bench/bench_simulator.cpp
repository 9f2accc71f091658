// Throughput of the virtual controller: commands accepted into a FIFO per second, and
// segments executed per second of CPU when a long look-ahead program is streamed into it the
// way the module's worker does, at the highest time scale.
//
// Run: build/bench/bench_simulator [segments]   (default 1,000,000)
#include "LookAheadCrd.h"
#include "rvsim.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

double wallSeconds()
{
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

void acceptRate()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    SetUpLookAheadCrd(LookAheadCrd());
    const int total = 2000000;
    int accepted = 0;
    const double start = cpuSeconds();
    while (accepted < total) {
        if (MQN_LnXY(1, 1, accepted % 1000, 0, 10, 1, 0, 0) == 0)
            ++accepted;
        else
            MQN_CrdClear(1, 1, 0);
    }
    const double cpu = cpuSeconds() - start;
    std::printf("accept: %d plain commands into a 4096-slot FIFO in %.3f s CPU: %.0f commands/s\n",
                total, cpu, total / cpu);
}

// Streams `segments` look-ahead lines of a 0.5 mm zig-zag at 100 mm/s, starting after 1000,
// waiting on free space like the worker, then flushes and waits for the run to end.
void dryRun(int segments)
{
    rvsim_reset();
    SetUpLookAheadCrd(LookAheadCrd());
    rvsim_set_time_scale(1e6);
    const double simStart = rvsim_now_ms();
    const double cpuStart = cpuSeconds();
    const double wallStart = wallSeconds();
    for (int i = 0; i < segments; ++i) {
        int32_t space = 0;
        while (MQN_CrdSpace(1, 1, &space, 0) == 0 && space == 0) {
        }
        const double x = (i + 1) * 0.5;
        const double y = (i % 2) * 0.5;
        MQN_LnXYZEx(1, 1, x, y, 0, 100, 1000, i + 1, 0, 0);
        if (i + 1 == 1000)
            MQN_CrdStart(1, 1, 0);
    }
    while (MQN_CrdDataEx(1, 1, nullptr, 0) == 1) {
    }
    if (segments < 1000)
        MQN_CrdStart(1, 1, 0);
    short run = 1;
    int32_t completed = 0;
    while (run == 1)
        MQN_CrdStatus(1, 1, &run, &completed, 0);
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = wallSeconds() - wallStart;
    const double simulated = (rvsim_now_ms() - simStart) / 1000;
    std::printf("dry run: %d segments (%.0f s simulated) in %.2f s wall, %.2f s CPU: "
                "%.0f segments per CPU second\n",
                segments, simulated, wall, cpu, segments / cpu);
}

// Execution alone: fills the FIFO with plain lines, lets the manual clock run them, repeats.
void executionRate(int segments)
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    SetUpLookAheadCrd(LookAheadCrd());
    int executed = 0;
    const double start = cpuSeconds();
    while (executed < segments) {
        int batch = 0;
        while (batch < 4096
               && MQN_LnXY(1, 1, (executed + batch) % 2 ? 500 : 0, (executed + batch) % 2 ? 0 : 500,
                           100, 10, 0, 0)
                      == 0)
            ++batch;
        MQN_CrdStart(1, 1, 0);
        rvsim_advance_ms(1e9);
        executed += batch;
    }
    const double cpu = cpuSeconds() - start;
    std::printf("execute: %d plain segments in %.3f s CPU: %.0f segments per CPU second\n",
                executed, cpu, executed / cpu);
}

} // namespace

int main(int argc, char** argv)
{
    const int segments = argc > 1 ? std::atoi(argv[1]) : 1000000;
    acceptRate();
    executionRate(segments > 0 ? segments : 1000000);
    dryRun(segments > 0 ? segments : 1000000);
    return 0;
}
