// The workbench's dry run of a generated program: wall time from file to figures, split into
// reading and planning, and the figures themselves.
//
//   bench_dryrun [lines] [seed] [file to keep the program in]
#include "DryRun.h"
#include "ProgramGenerator.h"
#include "SimulatorInterface.h"
#include "gcode/ProgramText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    QTemporaryDir folder;
    const QString path = argc > 3 ? QString::fromLocal8Bit(argv[3])
                                  : folder.filePath(QStringLiteral("program.nc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(GenerateProgram(lines, seed)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();
    const SimulatorInterface* simulator = SimulatorInterface::Find();
    if (!simulator) {
        std::fprintf(stderr, "no virtual controller beside the bench\n");
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    const std::optional<ProgramText> program = ProgramText::Read(path);
    const double readSeconds = clock.nsecsElapsed() / 1e9;
    DryRunReport report;
    QString error;
    if (!program || !DryRun(*program, DryRunMachine(), *simulator, {}, report, error)) {
        std::fprintf(stderr, "dry run failed: %s\n", qPrintable(error));
        return 1;
    }
    const double totalSeconds = clock.nsecsElapsed() / 1e9;
    std::printf("dry run of %d lines: %.2f s (read %.2f s, plan %.2f s)\n%s\n", lines, totalSeconds,
                readSeconds, totalSeconds - readSeconds, qPrintable(DryRunReportText(report)));
    return 0;
}
