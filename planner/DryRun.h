#ifndef KURVO_WORKBENCH_DRYRUN_H
#define KURVO_WORKBENCH_DRYRUN_H

#include "controller/rvAPI.h"
#include "module/HostTypes.h"
#include "planner/MachineTravel.h"
#include "planner/PathPlot.h"
#include "planner/RunProgress.h"
#include "planner/WindowMachine.h"

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ProgramChecker;
class ProgramText;
struct SimulatorInterface;

// The machine a dry run plans for: the window's coordinate system when it is given, else
// coordinate system 1 of core 1 with look-ahead, axes X, Y and Z, read from the group "dryRun"
// of the host configuration, key by key.
struct DryRunMachine
{
    std::optional<WindowMachine> window;
    // The host's axis table, for the factors of the window's table rows; null: the defaults'.
    std::shared_ptr<const HostAxisTable> axisTable;
    double feedMax = 1000;            // mm/s along the path
    double accelerationMax = 10000;   // mm/s^2 along the path
    double axisFeedMax = 1000;        // mm/s of each axis
    double axisAccelerationMax = 1e5; // mm/s^2 of each axis
    double cornerJump = 5;            // mm/s an axis's speed may jump at a corner
    int lookAheadSegments = 200;
    double pulsesPerMm = 1000;
    MachineTravel travel; // of the group "travel"

    // The machine of the configuration's "dryRun" group, its host settings checked too; false
    // with `error` set when the file cannot be read or a value is out of its range.
    static bool Read(const QString& configPath, DryRunMachine& machine, QString& error);
};

// The longest cycle a dry run plans: simulated time moves in steps, and a mistyped coordinate
// (X1000000000 at F1) would otherwise keep it busy for hours. It stops there and says so.
constexpr double longestPlannedCycleMs = 1000.0 * 3600 * 1000; // 1000 hours

// A command the controller refused: the program line it came from, and the controller's code.
struct RefusedCommand
{
    int64_t line = 0;
    short code = 0;
};

struct DryRunReport
{
    double cycleMs = 0;
    // The cycle went past the longest planned: the dry run stopped there, after sending
    // `plannedLines` of the program's lines; the figures are those of what it sent.
    bool cycleBeyond = false;
    int64_t plannedLines = 0;
    std::vector<RefusedCommand> refused;
    double pathLength = 0; // mm, feed and rapid moves
    double rapidLength = 0;
    PathExtent extent;                    // of the motion, arcs' bulges included
    std::optional<TravelLeft> leftTravel; // the first motion past the machine's travel
    int64_t lines = 0;
    int64_t segments = 0;
    double largestFeed = 0; // mm/s, rapid moves included
    PlannedRun plan;
    std::vector<PreviewPoint> path; // when asked for
};

enum class PathWanted { No, Yes };

// Called now and then with the lines streamed so far.
using DryRunProgress = std::function<void(int64_t linesDone, int64_t lineCount)>;

// Interprets the program and streams its commands the way the module's worker does into the
// virtual controller, reset first; a short program in the window's machine goes as the window's
// table sends it. Time moves only while the stream waits for space and after
// its end, so that the planner always sees a full look-ahead, as on a machine whose buffer
// stays full. False with `error` set when the controller refuses the coordinate system or stops
// before the program's end. With the path wanted, the report holds the path as executed. With
// `checker`, every line of the program is checked too, as the stream reads it.
bool DryRun(const ProgramText& program, const DryRunMachine& machine,
            const SimulatorInterface& simulator, const DryRunProgress& progress,
            DryRunReport& report, QString& error, PathWanted path = PathWanted::No,
            ProgramChecker* checker = nullptr);

// The path of a dry run in a file, for the workbench that asked for it: only the points its
// preview needs to draw it the same (ThinPreview, to 0.005 mm), each as its pen and its
// coordinates to the micrometre, as differences from the point before. False when the file
// cannot be written; nothing when it cannot be read back whole.
bool WritePreviewPath(const QString& file, std::vector<PreviewPoint> path);
// The points read back, each speed in the middle of its pen's band of `topSpeed`.
struct PreviewFile
{
    std::vector<PreviewPoint> points;
    double topSpeed = 0;
};
std::optional<PreviewFile> ReadPreviewPath(const QString& file);

// "cycle time: 0:00:12, 12.345 s" and the other figures, one a line.
QString DryRunReportText(const DryRunReport& report);
// The same figures for scripts.
QJsonObject DryRunReportJson(const DryRunReport& report);

#endif
