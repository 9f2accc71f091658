// The streaming worker's own cost. First the share of a core it takes while the buffer stays
// full (the clock stands still, so nothing drains); then the CPU per line of a generated program
// of `lines` lines (default 1,000,000) streamed to its end at the highest time scale, against
// the same controller calls made straight from a prepared list, which is the controller's own
// work.
//
//   bench_worker [lines] [seed]
#include "LookAheadCrd.h"
#include "ProgramGenerator.h"
#include "gcode/GCodeInterpreter.h"
#include "module/ModuleState.h"
#include "run/MyThread.h"
#include "rvsim.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

void setUp(bool frozenClock)
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

void waitForTheEnd()
{
    short run = 1;
    int32_t completed = 0;
    while (run == 1)
        MQN_CrdStatus(1, 1, &run, &completed, 0);
}

struct Call
{
    GCodeInterpreter::Request request;
    int mode;
    double x, y, z, i, j, velocity, acceleration;
    short direction;
    int32_t lineNumber;
};

// The controller's own work: the calls the worker makes for the program, without interpreting
// it, waiting for space the same way.
double directCalls(const ProgramText& lines)
{
    std::vector<Call> calls;
    GCodeInterpreter program;
    for (qsizetype line = 0; line < lines.LineCount(); ++line) {
        program.InterpretLine(lines.Line(line));
        const double* p = program.position;
        calls.push_back({program.MotionRequest(), program.motionMode, p[0], p[1], p[2],
                         program.arcCentre[0], program.arcCentre[1], program.Velocity(),
                         program.Acceleration(), program.ArcDirection(), program.lineNumber});
        program.FinishLine(false);
    }
    setUp(false);
    const double start = cpuSeconds();
    int sent = 0;
    for (const Call& c : calls) {
        int32_t space = 0;
        MQN_CrdSpace(1, 1, &space, 0);
        while (space == 0) {
            QThread::msleep(1);
            MQN_CrdSpace(1, 1, &space, 0);
        }
        if (c.request == GCodeInterpreter::Line && c.mode == 0)
            MQN_LnXYZG0Ex(1, 1, c.x, c.y, c.z, c.velocity, c.acceleration, c.lineNumber, 0, 0);
        else if (c.request == GCodeInterpreter::Line)
            MQN_LnXYZEx(1, 1, c.x, c.y, c.z, c.velocity, c.acceleration, c.lineNumber, 0, 0);
        else if (c.request == GCodeInterpreter::CentreArc)
            MQN_ArcXYCEx(1, 1, c.x, c.y, c.i, c.j, c.direction, c.velocity, c.acceleration,
                         c.lineNumber, 0, 0);
        if (++sent == 1000)
            MQN_CrdStart(1, 1, 0);
    }
    while (MQN_CrdDataEx(1, 1, nullptr, 0) == 1)
        QThread::msleep(1);
    waitForTheEnd();
    return cpuSeconds() - start;
}

double streamed(const std::shared_ptr<const ProgramText>& lines)
{
    setUp(false);
    moduleState().programLines = lines;
    const double start = cpuSeconds();
    MyThread worker(nullptr);
    worker.start();
    worker.wait();
    waitForTheEnd();
    return cpuSeconds() - start;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;

    setUp(true);
    QStringList waiting;
    for (int i = 0; i < 10000; ++i)
        waiting << QStringLiteral("G1 X%1 F100").arg(i % 2);
    moduleState().programLines = std::make_shared<const ProgramText>(waiting.join(u'\n'));
    {
        MyThread worker(nullptr);
        worker.start();
        QThread::msleep(500); // fills the buffer, then waits
        const double start = cpuSeconds();
        QThread::sleep(5);
        const double busy = cpuSeconds() - start;
        std::printf("buffer full: %.3f s of CPU in 5 s, %.2f%% of a core\n", busy, 20 * busy);
    }

    const auto lines
        = std::make_shared<const ProgramText>(QString::fromUtf8(GenerateProgram(count, seed)));
    const double worker = streamed(lines);
    const double direct = directCalls(*lines);
    std::printf("%lld lines: worker %.2f s CPU, the same calls made directly %.2f s CPU; "
                "%.2f us per line beyond the controller's own work\n",
                static_cast<long long>(lines->LineCount()), worker, direct,
                (worker - direct) / double(lines->LineCount()) * 1e6);
    return 0;
}
