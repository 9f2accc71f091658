// The status monitor's cost: the operator window open and idle on the virtual controller for
// `seconds` (default 10), its timer polling every 10 ms; prints the process's CPU time as a
// share of one core.
//
//   bench_status [seconds]
#include "LinkedModule.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10;
    std::unique_ptr<TestHost> host = LinkedTestHost();
    host->open();
    QTimer::singleShot(200, &application, &QCoreApplication::quit); // settle
    application.exec();

    const std::clock_t start = std::clock();
    QTimer::singleShot(int(seconds * 1000), &application, &QCoreApplication::quit);
    application.exec();
    const double cpu = double(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("idle window, %.0f s: %.3f s of CPU, %.2f%% of a core\n", seconds, cpu,
                100 * cpu / seconds);
    return 0;
}
