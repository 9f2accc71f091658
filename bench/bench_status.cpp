// The status monitor's cost, side by side with what any 10 ms timer costs in the same host. The
// operator window stands open and idle on the virtual controller. In turns of a second, first
// its own timer is stopped and an empty timer calls an empty slot every 10 ms instead, then its
// own timer polls every 10 ms. Prints the process's CPU time under each, summed over `seconds`
// (default 10) turns, as a share of one core, and their ratio.
//
//   bench_status [seconds]
#include "LinkedModule.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// The process's CPU seconds while the event loop runs for `ms`.
double cpuWhileRunning(QApplication& application, int ms)
{
    const std::clock_t start = std::clock();
    QTimer::singleShot(ms, &application, &QCoreApplication::quit);
    application.exec();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int turns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::unique_ptr<TestHost> host = LinkedTestHost();
    QTimer* statusTimer = host->open()->findChild<QTimer*>();
    if (!statusTimer) {
        std::fprintf(stderr, "the window has no status timer\n");
        return 1;
    }
    cpuWhileRunning(application, 200); // settle
    QTimer emptyTimer;
    QObject::connect(&emptyTimer, &QTimer::timeout, [] {}); // a slot called as OnTimer is
    double empty = 0, polling = 0;
    for (int turn = 0; turn < turns; ++turn) {
        statusTimer->stop();
        emptyTimer.start(10);
        empty += cpuWhileRunning(application, 1000);
        emptyTimer.stop();
        statusTimer->start(10);
        polling += cpuWhileRunning(application, 1000);
    }
    std::printf("empty 10 ms timer, %d s: %.3f s of CPU, %.2f%% of a core\n", turns, empty,
                100 * empty / turns);
    std::printf("idle window polling, %d s: %.3f s of CPU, %.2f%% of a core; %.2fx the empty "
                "timer\n",
                turns, polling, 100 * polling / turns, polling / empty);
    return 0;
}
