// Loading a long program through the window's load button: the time until the program is shown
// and ready to start, the longest the event loop went without a turn while loading and while the
// view lays the text out afterwards, and the memory the process holds; then, for the measure,
// the time the toolkit's own text view takes to set the same text.
//
//   bench_load [lines] [seed]
#include "LinkedModule.h"
#include "ProgramGenerator.h"
#include "StallWatch.h"
#include "form/WidgetNames.h"
#include "rvsim.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// A figure of /proc/self/status in MiB ("VmRSS", "VmHWM").
long memoryMiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size() + 1)) / 1024;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("program.nc"));
    if (!WriteGeneratedProgram(path, lines, seed))
        return 1;
    rvsim_reset();
    std::unique_ptr<TestHost> host = LinkedTestHost();
    QWidget* form = host->open();
    auto* view = host->find<QTextEdit>(WidgetNames::programTextView);
    host->find<QLineEdit>(WidgetNames::programPathEdit)->setText(path);
    const long before = memoryMiB("VmRSS");

    StallWatch stalls;

    QTimer::singleShot(0, &application, [&] {
        QElapsedTimer clock;
        clock.start();
        QMetaObject::invokeMethod(form, "OnLoadFileDataBtnClicked");
        const qint64 loaded = clock.elapsed();
        std::printf("%d lines: shown and ready in %lld ms, longest stall while loading %lld ms\n",
                    lines, loaded, stalls.TakeLongest());
        clock.restart();
        QMetaObject::invokeMethod(form, "OnStartBtnClicked");
        std::printf("start took %lld ms\n", clock.elapsed());
        QMetaObject::invokeMethod(form, "OnStopBtnClicked");
        QTimer::singleShot(5000, &application, &QCoreApplication::quit);
    });
    application.exec();
    std::printf("longest stall in the 5 s after: %lld ms\n", stalls.TakeLongest());
    std::printf("memory: %ld MiB before, %ld MiB after, %ld MiB at the peak; view holds %lld "
                "characters\n",
                before, memoryMiB("VmRSS"), memoryMiB("VmHWM"),
                static_cast<long long>(view->document()->characterCount()));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    const QString text = QString::fromUtf8(file.readAll());
    QTextEdit plain;
    QElapsedTimer clock;
    clock.start();
    plain.setPlainText(text);
    std::printf("the toolkit's text view sets the same text in %lld ms\n", clock.elapsed());
    return 0;
}
