// The backplot at a million recorded points: the longest the GUI thread spends on one watch tick
// (taking points from the record and drawing the new ones), on a full redraw (fit, zoom, plane)
// and on painting the widget.
//
//   bench_backplot [program lines] [seed]   (default 500,000 lines: about a million points)
#include "BackplotView.h"
#include "DryRun.h"
#include "PathRecordReader.h"
#include "ProgramGenerator.h"
#include "SimulatorInterface.h"
#include "gcode/ProgramText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

template <typename Work> double milliseconds(Work&& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

struct Redraw
{
    double longestTurnMs = 0;
    double totalMs = 0;
};

// A redraw and the event-loop turns that draw its slices.
template <typename Start> Redraw redraw(BackplotView& plot, Start&& start)
{
    Redraw result;
    QElapsedTimer clock;
    clock.start();
    result.longestTurnMs = milliseconds(start);
    while (plot.Drawing())
        result.longestTurnMs = std::max(result.longestTurnMs,
                                        milliseconds([] { QCoreApplication::processEvents(); }));
    result.totalMs = clock.nsecsElapsed() / 1e6;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 500000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    const SimulatorInterface* simulator = SimulatorInterface::Find();
    DryRunReport report;
    QString error;
    if (!simulator
        || !DryRun(ProgramText(QString::fromLatin1(GenerateProgram(lines, seed))), DryRunMachine(),
                   *simulator, {}, report, error)) {
        std::fprintf(stderr, "no path to plot: %s\n", qPrintable(error));
        return 1;
    }

    BackplotView plot;
    plot.resize(900, 700);
    plot.show();
    PathRecordReader reader(*simulator);
    const std::array<double, 3> pulsesPerMm{1000, 1000, 1000};
    double longestTick = 0;
    int ticks = 0;
    for (;;) {
        bool empty = false;
        longestTick = std::max(longestTick, milliseconds([&] {
                                   PathRecordReader::News news = reader.Take(1, pulsesPerMm, 50000);
                                   empty = news.points.empty();
                                   plot.AddPoints(news.points);
                               }));
        longestTick
            = std::max(longestTick, milliseconds([] { QCoreApplication::processEvents(); }));
        if (empty)
            break;
        ++ticks;
    }
    const Redraw fit = redraw(plot, [&] { plot.FitToPath(); });
    const Redraw plane = redraw(plot, [&] { plot.SetPlane(PlotPlane::XZ); });
    QWheelEvent wheel(QPointF(450, 350), QPointF(450, 350), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    const Redraw zoom = redraw(plot, [&] { QApplication::sendEvent(&plot, &wheel); });
    const double paint = milliseconds([&] { plot.repaint(); });
    std::printf("%zu points taken in %d ticks, longest GUI turn %.1f ms\n", plot.Path().size(),
                ticks, longestTick);
    for (const auto& [name, figures] : {std::pair{"fit", fit}, {"plane", plane}, {"zoom", zoom}})
        std::printf("%s: redrawn in %.1f ms, longest GUI turn %.1f ms\n", name, figures.totalMs,
                    figures.longestTurnMs);
    std::printf("paint: %.1f ms\n", paint);
    return 0;
}
