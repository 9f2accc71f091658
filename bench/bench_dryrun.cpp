// A generated program of `lines` lines (default 1,000,000, in the mix of CAM output) planned
// three ways side by side: `kurvo-workbench --dry-run` on it as an operator runs it (CPU and wall
// time, the process's peak memory) beside its floor, reading the program and interpreting it
// alone, both over `turns` turns (default 5); the dry run in this process that yields the
// planned path a preview draws from; and the program streamed through the window's worker into
// the virtual controller at its highest time scale until the motion ends.
//
//   bench_dryrun [lines] [seed] [file to keep the program in] [turns]
#include "PeakMemory.h"
#include "ProgramGenerator.h"
#include "WorkerRun.h"
#include "gcode/ProgramText.h"
#include "gcode/ProgramWalk.h"
#include "planner/DryRun.h"
#include "planner/SimulatorInterface.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// CPU seconds of each turn, told as the fastest and the median: on a shared machine a turn may
// run beside another's load, and the fastest is the figure of the code itself.
struct Turns
{
    std::vector<double> seconds;

    double Fastest() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double Median() const
    {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

void commandLineDryRun(const QString& path, int turnCount)
{
    Turns turns;
    double fastestWall = 0;
    for (int turn = 0; turn < turnCount; ++turn) {
        QProcess workbench;
        QElapsedTimer clock;
        const double cpuBefore = CpuSeconds(PeakOf::Children);
        clock.start();
        workbench.start(QStringLiteral(KURVO_WORKBENCH_PATH), {QStringLiteral("--dry-run"), path});
        if (!workbench.waitForFinished(600000) || workbench.exitCode() != 0) {
            std::fprintf(stderr, "kurvo-workbench --dry-run failed: %s\n",
                         workbench.readAllStandardError().constData());
            std::exit(1);
        }
        const double wall = clock.nsecsElapsed() / 1e9;
        fastestWall = turn == 0 ? wall : std::min(fastestWall, wall);
        turns.seconds.push_back(CpuSeconds(PeakOf::Children) - cpuBefore);
    }
    std::printf("kurvo-workbench --dry-run: %.2f s CPU at the fastest of %d turns, %.2f s at "
                "their median; %.2f s wall at the fastest; %ld MiB at the peak\n",
                turns.Fastest(), turnCount, turns.Median(), fastestWall, PeakMiB(PeakOf::Children));
}

// What no dry run goes below: the program read, and every line interpreted.
void floorOfTheDryRun(const QString& path, int turnCount)
{
    Turns reading, interpreting;
    double sum = 0;
    for (int turn = 0; turn < turnCount; ++turn) {
        const double start = CpuSeconds(PeakOf::Self);
        const std::optional<ProgramText> program = ProgramText::Read(path);
        const double read = CpuSeconds(PeakOf::Self);
        sum = 0;
        for (ProgramWalk walk(*program); walk.Next();)
            sum += walk.State().position[0];
        reading.seconds.push_back(read - start);
        interpreting.seconds.push_back(CpuSeconds(PeakOf::Self) - read);
    }
    std::printf("its floor: %.2f s CPU at the fastest (read %.2f s, interpreted %.2f s), %.2f s "
                "at the median; checksum %.6g\n",
                reading.Fastest() + interpreting.Fastest(), reading.Fastest(),
                interpreting.Fastest(), reading.Median() + interpreting.Median(), sum);
}

void plannedPath(const QString& path)
{
    const SimulatorInterface* simulator = SimulatorInterface::Find();
    QElapsedTimer clock;
    clock.start();
    const std::optional<ProgramText> program = ProgramText::Read(path);
    const double readSeconds = clock.nsecsElapsed() / 1e9;
    DryRunReport report;
    QString error;
    if (!simulator || !program
        || !DryRun(*program, DryRunMachine(), *simulator, {}, report, error, PathWanted::Yes)) {
        std::fprintf(stderr, "dry run failed: %s\n", qPrintable(error));
        std::exit(1);
    }
    const double totalSeconds = clock.nsecsElapsed() / 1e9;
    std::printf("planned path in this process: %.2f s wall (read %.2f s, plan %.2f s), %zu "
                "points\n%s\n",
                totalSeconds, readSeconds, totalSeconds - readSeconds, report.path.size(),
                qPrintable(DryRunReportText(report)));
    QTemporaryDir folder;
    const QString preview = folder.filePath(QStringLiteral("preview"));
    const std::size_t pointBytes = report.path.size() * sizeof(PreviewPoint);
    if (!WritePreviewPath(preview, std::move(report.path))) {
        std::fprintf(stderr, "cannot write the preview\n");
        std::exit(1);
    }
    std::printf("the preview's file: %.1f MB, beside %.1f MB of its points as they lie in memory\n",
                QFileInfo(preview).size() / 1e6, pointBytes / 1e6);
}

void workerRun(const QString& path)
{
    const std::optional<ProgramText> program = ProgramText::Read(path);
    const WorkerRunCost cost
        = RunThroughWorker(std::make_shared<const ProgramText>(std::move(*program)));
    std::printf("through the worker at the highest time scale: %.2f s wall, %.2f s CPU\n",
                cost.wallSeconds, cost.cpuSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    QTemporaryDir folder;
    const QString path = argc > 3 ? QString::fromLocal8Bit(argv[3])
                                  : folder.filePath(QStringLiteral("program.nc"));
    if (!WriteGeneratedProgram(path, lines, seed)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const int turns = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    std::printf("%d lines\n", lines);
    commandLineDryRun(path, turns);
    floorOfTheDryRun(path, turns);
    plannedPath(path);
    workerRun(path);
    return 0;
}
