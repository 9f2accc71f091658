// The backplot at a million recorded points: the longest the GUI thread spends on one watch tick
// (taking points from the record and drawing the new ones), on a full redraw (fit, zoom, plane)
// and on painting the widget. Before that, the program's preview as the workbench gets it, from
// the dry run's file: the time until it is drawn, and the longest GUI turn meanwhile.
//
//   bench_backplot [program lines] [seed]   (default 500,000 lines: about a million points)
//
// With "points N", N points of a long job instead (moves of up to a millimetre, as CAM output
// makes them), 50,000 a tick: the points the backplot keeps, its tolerance then, the longest
// tick and the process's peak memory.
//
//   bench_backplot points [N]               (default 10,000,000)
#include "PeakMemory.h"
#include "ProgramGenerator.h"
#include "gcode/ProgramText.h"
#include "planner/DryRun.h"
#include "planner/PathRecordReader.h"
#include "planner/SimulatorInterface.h"
#include "rvsim.h"
#include "workbench/BackplotView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

int longJob(long points)
{
    BackplotView plot;
    plot.resize(900, 700);
    plot.show();
    uint32_t state = 1;
    PathPoint3 at{50, 50, 0};
    double longestTick = 0;
    for (long done = 0; done < points;) {
        std::vector<PathPoint3> tick;
        for (; done < points && tick.size() < 50000; ++done) {
            state = state * 1664525u + 1013904223u;
            at[0] = std::clamp(at[0] + double(state >> 24) / 256 - 0.5, 0.0, 130.0);
            at[1] = std::clamp(at[1] + double((state >> 16) & 0xff) / 256 - 0.5, 0.0, 130.0);
            tick.push_back(at);
        }
        longestTick = std::max(longestTick, milliseconds([&] {
                                   plot.AddPoints(tick);
                                   QCoreApplication::processEvents();
                               }));
    }
    while (plot.Drawing())
        QCoreApplication::processEvents();
    std::printf("%ld points fed, %zu kept at a tolerance of %g mm, longest tick %.1f ms, "
                "%ld MiB at the peak\n",
                points, plot.Path().size(), plot.PathTolerance(), longestTick,
                PeakMiB(PeakOf::Self));
    return 0;
}

// The preview of `program` planned, written and read back as the workbench has it, then drawn.
bool drawPreview(const ProgramText& program, const SimulatorInterface& simulator)
{
    DryRunReport report;
    QString error;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("preview"));
    if (!DryRun(program, DryRunMachine(), simulator, {}, report, error, PathWanted::Yes)
        || !WritePreviewPath(file, std::move(report.path))) {
        std::fprintf(stderr, "no preview: %s\n", qPrintable(error));
        return false;
    }
    std::optional<PreviewFile> read = ReadPreviewPath(file);
    if (!read)
        return false;
    BackplotView plot;
    plot.resize(900, 700);
    plot.show();
    PreviewPath preview = Summarised(std::move(read->points), read->topSpeed);
    const std::size_t points = preview.points.size();
    const Redraw drawn = redraw(plot, [&] { plot.SetPreview(std::move(preview)); });
    std::printf("preview of %zu points: drawn in %.1f ms, longest GUI turn %.1f ms\n", points,
                drawn.totalMs, drawn.longestTurnMs);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "points") == 0)
        return longJob(argc > 2 ? std::atol(argv[2]) : 10000000);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 500000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    const SimulatorInterface* found = SimulatorInterface::Find();
    if (!found) {
        std::fprintf(stderr, "no path to plot: the controller library is not the virtual one\n");
        return 1;
    }
    const ProgramText program(QString::fromLatin1(GenerateProgram(lines, seed)));
    if (!drawPreview(program, *found))
        return 1;
    // The controller keeps its record of the path for the watch to take, as it does while a
    // job runs; the dry run alone keeps none.
    SimulatorInterface recording = *found;
    recording.enablePath = [](int) {
        rvsim_path_enable(1);
    };
    const SimulatorInterface* simulator = &recording;
    DryRunReport report;
    QString error;
    if (!DryRun(program, DryRunMachine(), *simulator, {}, report, error)) {
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
