// The status monitor's cost, side by side with what any 10 ms timer costs in the same host. The
// operator window stands open and idle on the virtual controller. In turns of a second, first
// its own timer is stopped and an empty timer calls an empty slot every 10 ms instead, then its
// own timer polls every 10 ms. Prints the process's CPU time under each, summed over `seconds`
// (default 10) turns, as a share of one core, and their ratio. Then times one poll on its own,
// 1000 times, each 10 ms after the last as the timer makes them (cold) and once more right after
// (hot); the time includes calling the slot through the meta-object system.
//
//   bench_status [seconds]
#include "LinkedModule.h"

#include <QApplication>
#include <QMetaMethod>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// The process's CPU seconds while the event loop runs for `ms`.
double cpuWhileRunning(QApplication& application, int ms)
{
    const std::clock_t start = std::clock();
    QTimer::singleShot(ms, &application, &QCoreApplication::quit);
    application.exec();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

// Microseconds that the form's status slot takes, called from a 10 ms timer 1000 times: medians
// and 90th percentiles of the call after the 10 ms and of the same call right after it.
void timeOnePoll(QApplication& application, QWidget* form)
{
    const QMetaMethod onTimer
        = form->metaObject()->method(form->metaObject()->indexOfSlot("OnTimer()"));
    const auto call = [&] {
        onTimer.invoke(form, Qt::DirectConnection);
    };
    using Clock = std::chrono::steady_clock;
    const auto microseconds = [](Clock::duration span) {
        return std::chrono::duration<double, std::micro>(span).count();
    };
    std::vector<double> cold, hot;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const Clock::time_point start = Clock::now();
        call();
        const Clock::time_point between = Clock::now();
        call();
        cold.push_back(microseconds(between - start));
        hot.push_back(microseconds(Clock::now() - between));
        if (cold.size() == 1000)
            application.quit();
    });
    timer.start(10);
    application.exec();
    std::sort(cold.begin(), cold.end());
    std::sort(hot.begin(), hot.end());
    std::printf("one poll, cold: %.1f us (90%%: %.1f us); hot: %.1f us (90%%: %.1f us)\n",
                cold[500], cold[900], hot[500], hot[900]);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int turns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::unique_ptr<TestHost> host = LinkedTestHost();
    QWidget* form = host->open();
    QTimer* statusTimer = form->findChild<QTimer*>();
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

    statusTimer->stop();
    timeOnePoll(application, form);
    return 0;
}
