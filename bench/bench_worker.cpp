// The streaming worker's own cost. First the share of a core it takes while the buffer stays
// full (the clock stands still, so nothing drains); then the CPU per line of a generated program
// of `lines` lines (default 1,000,000) streamed to its end at the highest time scale, against
// the same controller calls made straight from a prepared list, which is the controller's own
// work.
//
//   bench_worker [lines] [seed]
#include "ProgramGenerator.h"
#include "WorkerRun.h"
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
    QString widened;
    for (qsizetype line = 0; line < lines.LineCount(); ++line) {
        program.InterpretLine(lines.Line(line, widened));
        const double* p = program.position;
        calls.push_back({program.MotionRequest(), program.motionMode, p[0], p[1], p[2],
                         program.arcCentre[0], program.arcCentre[1], program.Velocity(),
                         program.Acceleration(), program.ArcDirection(), program.lineNumber});
        program.FinishLine(false);
    }
    SetUpWorkerTarget(false);
    const double start = CpuSeconds();
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
    WaitForTheMotionToEnd();
    return CpuSeconds() - start;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;

    SetUpWorkerTarget(true);
    QStringList waiting;
    for (int i = 0; i < 10000; ++i)
        waiting << QStringLiteral("G1 X%1 F100").arg(i % 2);
    moduleState().programLines = std::make_shared<const ProgramText>(waiting.join(u'\n'));
    {
        MyThread worker(nullptr);
        worker.start();
        QThread::msleep(500); // fills the buffer, then waits
        const double start = CpuSeconds();
        QThread::sleep(5);
        const double busy = CpuSeconds() - start;
        std::printf("buffer full: %.3f s of CPU in 5 s, %.2f%% of a core\n", busy, 20 * busy);
    }

    const auto lines
        = std::make_shared<const ProgramText>(QString::fromUtf8(GenerateProgram(count, seed)));
    const double worker = RunThroughWorker(lines).cpuSeconds;
    const double direct = directCalls(*lines);
    std::printf("%lld lines: worker %.2f s CPU, the same calls made directly %.2f s CPU; "
                "%.2f us per line beyond the controller's own work\n",
                static_cast<long long>(lines->LineCount()), worker, direct,
                (worker - direct) / double(lines->LineCount()) * 1e6);
    return 0;
}
