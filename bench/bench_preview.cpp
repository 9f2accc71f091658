// The preview of a generated program of `lines` lines (default 1,000,000) in the workbench: the
// program loaded into the operator window, then planned in the background until its path is in
// the backplot and drawn; the longest the event loop went without a turn meanwhile, beside the
// time the workbench's dry run of the same program takes.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_preview.bin/bench_preview [lines] [seed]
#include "OpenedWorkbench.h"
#include "ProgramGenerator.h"
#include "StallWatch.h"
#include "workbench/BackplotView.h"
#include "workbench/Workbench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("program.nc"));
    if (!WriteGeneratedProgram(path, lines, seed))
        return 1;

    QElapsedTimer clock;
    clock.start();
    QProcess dryRun;
    dryRun.start(QStringLiteral(KURVO_WORKBENCH_PATH), {QStringLiteral("--dry-run"), path});
    dryRun.waitForFinished(600000);
    std::printf("%d lines: the dry run alone takes %.2f s\n", lines, clock.nsecsElapsed() / 1e9);

    const std::unique_ptr<Workbench> opened = OpenWorkbench(QStringLiteral(KURVO_MODULE_PATH));
    if (!opened)
        return 1;
    Workbench& workbench = *opened;
    workbench.setDryRunExecutable(QStringLiteral(KURVO_WORKBENCH_PATH));
    // The windows just opened lay themselves out and paint for the first time before the
    // operator can load anything; that is not the preview's to answer for.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QSignalSpy shown(&workbench, &Workbench::previewShown);
    StallWatch stalls;
    clock.restart();
    workbench.openProgram(path);
    const double loadedSeconds = clock.nsecsElapsed() / 1e9;
    clock.restart();
    // Planned while the window loads, the preview may be there already.
    if (shown.isEmpty() && !shown.wait(600000)) {
        std::fprintf(stderr, "no preview\n");
        return 1;
    }
    const double shownSeconds = clock.nsecsElapsed() / 1e9;
    while (workbench.backplot()->Drawing())
        QCoreApplication::processEvents();
    std::printf("loaded into the window in %.2f s; the preview shown %.2f s later, drawn after "
                "%.2f s (%zu points); longest stall from the load on %lld ms\n",
                loadedSeconds, shownSeconds, clock.nsecsElapsed() / 1e9,
                workbench.backplot()->Preview().size(), stalls.TakeLongest());
    return 0;
}
