#include "planner/DryRun.h"

#include "buffer/RowSending.h"
#include "controller/CrdAddress.h"
#include "controller/ReturnCodes.h"
#include "controller/rvAPI.h"
#include "gcode/GCodeInterpreter.h"
#include "gcode/ProgramRows.h"
#include "gcode/ProgramText.h"
#include "gcode/ProgramWalk.h"
#include "planner/HostConfig.h"
#include "planner/ProgramCheck.h"
#include "planner/SimulatorInterface.h"
#include "run/ProgramStreaming.h"
#include "simulator/LookAheadCrd.h"

#include <QFile>
#include <QJsonArray>
#include <QLocale>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr ControllerAddress target{1, 1, 0};
// Time moves in steps while the stream waits: doubled while a step frees no room (a long
// segment at the front), back to the first once it does. The longest step stays far below the
// time a full buffer of short segments takes, so the buffer never runs dry.
constexpr double firstWaitStepMs = 10;
constexpr double longestWaitStepMs = 640;
// As often as the timetable takes a point, and at most this many commands a refill.
constexpr int32_t longestRefill = 1024;
constexpr double endStepMs = 1000;
constexpr int planPoints = 1000;
constexpr double shortestSpeedSpanMs = 1;
// The clock stops a few microseconds after power-on, wherever the wall clock then stood; every run
// starts at this instant instead, so that the same program gives the same times to the last bit.
constexpr double runStartMs = 1000;
constexpr double pi = 3.14159265358979323846;

short setUpCrd(const DryRunMachine& machine)
{
    static_assert(target.core == 1 && target.crd == 1, "the helper sets up crd 1 of core 1");
    LookAheadCrd crd;
    crd.synVelMax = machine.feedMax * machine.pulsesPerMm / 1000;
    crd.synAccMax = machine.accelerationMax * machine.pulsesPerMm / 1e6;
    crd.held = machine.lookAheadSegments;
    crd.vMax = machine.axisFeedMax;
    crd.aMax = machine.axisAccelerationMax;
    crd.dvMax = machine.cornerJump;
    crd.scale = machine.pulsesPerMm;
    return SetUpLookAheadCrd(crd);
}

// The window's coordinate system, in crd 1 of core 1 of the dry run's controller.
short setUpWindowCrd(const WindowMachine& window)
{
    for (short code : {MQN_SetCrdMapBase(target.core, target.crd, window.mapBase),
                       MQN_SetCrdPrm(target.core, target.crd, &window.record)}) {
        if (code != 0)
            return code;
    }
    if (!window.lookAhead)
        return 0;
    for (short code :
         {MQN_SetupLookAheadCrd(target.core, target.crd, 0),
          MQN_SetCrdJerk(target.core, target.crd, window.jerk),
          MQN_InitLookAheadEx(target.core, target.crd, &window.lookAheadRecord, 0, 0, 0)}) {
        if (code != 0)
            return code;
    }
    return 0;
}

// The host's factors of the window's axes, on the profiles its record maps them to.
AxisFactorSet windowFactors(const WindowMachine& window, const HostAxisTable* table)
{
    int profiles[5] = {};
    for (int k = 0; k < 8; ++k) {
        const int axis = window.record.profile[k];
        if (axis >= 1 && axis <= 5)
            profiles[axis - 1] = window.mapBase + k;
    }
    return AxisFactors(table, window.core, profiles);
}

// Where the machine stands, as the commands the controller took leave it: a move it refuses, or
// coordinates that send nothing, leave it where it was.
using MachinePosition = std::array<double, std::size(GCodeInterpreter().position)>;

// An arc's centre, and the angles of its start and end around it.
struct ArcAround
{
    double centreX, centreY;
    double start, end;
};

// The arc the line asks for from where the machine stands; nothing for a line, or a radius arc
// whose ends meet.
std::optional<ArcAround> arcOf(ProgramCommand command, const GCodeInterpreter& line,
                               const MachinePosition& standing)
{
    using G = GCodeInterpreter;
    const double* from = standing.data();
    const double* to = line.position;
    if (command != ProgramCommand::CentreArc && command != ProgramCommand::RadiusArc)
        return std::nullopt;
    double centreX = from[G::X] + line.arcCentre[0];
    double centreY = from[G::Y] + line.arcCentre[1];
    if (command == ProgramCommand::RadiusArc) {
        // The centre lies left of the chord for a short arc counter-clockwise.
        const double dx = to[G::X] - from[G::X], dy = to[G::Y] - from[G::Y];
        const double chord = std::hypot(dx, dy);
        const double radius = std::abs(line.arcRadius);
        if (chord == 0)
            return std::nullopt;
        const double offset = std::sqrt(std::max(0.0, radius * radius - chord * chord / 4));
        const double side
            = (line.ArcDirection() == 1 ? 1 : -1) * (line.arcRadius > 0 ? 1 : -1) * offset / chord;
        centreX = from[G::X] + dx / 2 - dy * side;
        centreY = from[G::Y] + dy / 2 + dx * side;
    }
    return ArcAround{centreX, centreY, std::atan2(from[G::Y] - centreY, from[G::X] - centreX),
                     std::atan2(to[G::Y] - centreY, to[G::X] - centreX)};
}

// The length of the motion the line asks for, as the controller draws it: a straight line, or
// an arc in XY from where the machine stands (a centre arc back to its start is a full circle).
double motionLength(ProgramCommand command, const GCodeInterpreter& line,
                    const MachinePosition& standing, const std::optional<ArcAround>& arc)
{
    using G = GCodeInterpreter;
    const double* from = standing.data();
    const double* to = line.position;
    const double chord = std::hypot(to[G::X] - from[G::X], to[G::Y] - from[G::Y]);
    switch (command) {
    case ProgramCommand::RapidLine:
    case ProgramCommand::FeedLine: {
        // The same as the hypotenuse, which a flat move does not need.
        const double rise = to[G::Z] - from[G::Z];
        return rise == 0 ? chord : std::hypot(chord, rise);
    }
    case ProgramCommand::CentreArc: {
        const double radius = std::hypot(line.arcCentre[0], line.arcCentre[1]);
        double sweep = arc->end - arc->start;
        if (line.ArcDirection() == 1)
            sweep = sweep <= 0 ? sweep + 2 * pi : sweep;
        else
            sweep = sweep >= 0 ? 2 * pi - sweep : -sweep;
        return radius * sweep;
    }
    case ProgramCommand::RadiusArc: {
        const double radius = std::abs(line.arcRadius);
        const double half = std::asin(std::min(1.0, chord / (2 * radius)));
        return radius * (line.arcRadius < 0 ? 2 * pi - 2 * half : 2 * half);
    }
    case ProgramCommand::LaserOn:
    case ProgramCommand::LaserOff:
    case ProgramCommand::Dwell:
        break;
    }
    return 0;
}

PathPoint3 xyz(const double* position)
{
    using G = GCodeInterpreter;
    return {position[G::X], position[G::Y], position[G::Z]};
}

// An angle of a whole number of quarter turns, with its cosine and sine.
struct QuarterTurn
{
    double angle, cos, sin;
};

// The four, worked out once: every arc is held against them.
const std::array<QuarterTurn, 4>& quarterTurns()
{
    static const std::array<QuarterTurn, 4> turns = [] {
        std::array<QuarterTurn, 4> table{};
        for (int quarter = 0; quarter < 4; ++quarter) {
            const double angle = quarter * pi / 2;
            table[std::size_t(quarter)] = {angle, std::cos(angle), std::sin(angle)};
        }
        return table;
    }();
    return turns;
}

// The motion's end and, for an arc, the points where it bulges furthest along X or Y; its start
// is where the motion before it ended.
void includeMotion(const GCodeInterpreter& line, const MachinePosition& standing,
                   const std::optional<ArcAround>& arc, PathExtent& extent)
{
    using G = GCodeInterpreter;
    const double* from = standing.data();
    extent.Include(xyz(line.position));
    if (!arc)
        return;
    const bool ccw = line.ArcDirection() == 1;
    const double radius = std::hypot(from[G::X] - arc->centreX, from[G::Y] - arc->centreY);
    // The sweep counted the way the arc turns; a centre arc back to its start is a full circle.
    const auto turned = [ccw](double fromAngle, double toAngle) {
        const double angle
            = std::remainder((ccw ? toAngle - fromAngle : fromAngle - toAngle), 2 * pi);
        return angle <= 0 ? angle + 2 * pi : angle;
    };
    const double sweep = turned(arc->start, arc->end);
    for (const QuarterTurn& quarter : quarterTurns()) {
        if (turned(arc->start, quarter.angle) <= sweep)
            extent.Include({arc->centreX + radius * quarter.cos,
                            arc->centreY + radius * quarter.sin, from[G::Z]});
    }
}

bool isMotion(ProgramCommand command)
{
    return command != ProgramCommand::LaserOn && command != ProgramCommand::LaserOff
           && command != ProgramCommand::Dwell;
}

// What each motion is held against: the machine's travel, from the program's coordinates
// `originMm` away; `set` when the travel has any bound.
struct TravelCheck
{
    const MachineTravel& travel;
    std::array<double, 3> originMm{};
    bool set = false;
};

// A motion command's share of the figures once the controller took it (`code` 0): a segment,
// its length, its feed, and where the machine then stands; the first that leaves the travel,
// with `lineNumber`. A refused one moves nothing.
void countMotion(ProgramCommand command, const GCodeInterpreter& line, short code,
                 MachinePosition& standing, DryRunReport& report, const TravelCheck& travel,
                 int64_t lineNumber)
{
    if (!isMotion(command) || code != 0)
        return;
    ++report.segments;
    const std::optional<ArcAround> arc = arcOf(command, line, standing);
    const double length = motionLength(command, line, standing, arc);
    report.pathLength += length;
    report.rapidLength += command == ProgramCommand::RapidLine ? length : 0;
    // Every later motion starts where one before it ended, in the extent already.
    if (report.segments == 1)
        report.extent.Include(xyz(standing.data()));
    includeMotion(line, standing, arc, report.extent);
    if (!report.leftTravel && travel.set) {
        PathExtent motion;
        motion.Include(xyz(standing.data()));
        includeMotion(line, standing, arc, motion);
        report.leftTravel = LeavesTravel(motion, travel.originMm, travel.travel, lineNumber);
    }
    report.largestFeed = std::max(report.largestFeed, line.Velocity());
    std::copy(std::begin(line.position), std::end(line.position), standing.begin());
}

// What the worker would print in the host's output goes to the error stream.
void printMessage(QString message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The stream's side of the controller: its start, and simulated time moved on while it waits.
class DryStream : public StreamControl
{
public:
    DryStream(const SimulatorInterface& simulator, int64_t expectedSegments)
        : sim(simulator)
        , planStride(std::max<int64_t>(1, expectedSegments / planPoints))
        , refillPlaces(int32_t(std::min<int64_t>(planStride, longestRefill)))
    {}

    void StartOnce()
    {
        if (started)
            return;
        started = true;
        startMs = sim.nowMs();
        MQN_CrdStart(target.core, CrdMask(target.crd), FifoOption(target.crd, target.fifo));
    }

    // The path from now on, taken from the controller's record as time moves on: the record
    // keeps only its latest million points.
    void CollectPath(const std::array<double, 3>& pulses)
    {
        collecting = true;
        pulsesPerMm = pulses;
    }

    // Moves time on by a step; false when the coordinate system no longer runs, or the cycle
    // went past the longest planned.
    bool Wait(double stepMs)
    {
        StartOnce();
        if (sim.nowMs() - startMs >= longestPlannedCycleMs) {
            beyond = true;
            return false;
        }
        sim.advanceMs(stepMs);
        return Look();
    }

    // Room is asked for once it is used up: time moves only while the stream waits, so until
    // then every command sent takes one place of what was free, or none while it waits in the
    // look-ahead.
    bool WaitForSpace() override
    {
        if (knownSpace > 0) {
            --knownSpace;
            return true;
        }
        for (;;) {
            int32_t space = 0;
            MQN_CrdSpace(target.core, target.crd, &space, target.fifo);
            if (space > leaveFree) {
                knownSpace = space - leaveFree - 1;
                return true;
            }
            leaveFree = 0;
            if (beyondPending) {
                beyond = true;
                return false;
            }
            if (!WaitAsHost())
                return false;
        }
    }

    void StartMotion() override { StartOnce(); }
    bool WaitForFlush() override { return Wait(firstWaitStepMs); }

    // Pushes the look-ahead out, as the window does after sending its table.
    bool Flush()
    {
        while (MQN_CrdDataEx(target.core, target.crd, nullptr, target.fifo)
               == ReturnCode::Refused) {
            if (!WaitForFlush())
                return false;
        }
        return true;
    }

    // Lets the run end; false when it ended with commands left.
    bool RunToEnd()
    {
        StartOnce();
        while (Wait(endStepMs)) {
        }
        int32_t left = 0;
        MQN_GetRemainderSegNum(target.core, target.crd, &left, target.fifo);
        return left == 0;
    }

    bool Beyond() const { return beyond; }

    // From the start to the end of the last motion.
    double CycleMs() const
    {
        if (beyond)
            return longestPlannedCycleMs;
        return started ? std::max(0.0, sim.pathEndMs() - startMs) : 0;
    }

    std::vector<PlannedRun::Point> plan;
    std::vector<PreviewPoint> path;

private:
    // The controller lets time pass as this stream, asking for room after every command, would
    // see it, but comes back only at the end of a wait with a refill's worth of room, or to have
    // the stream send what it would have had queued by then (`leaveFree` places short of full):
    // every plan stays the same. False when the coordinate system no longer runs.
    bool WaitAsHost()
    {
        StartOnce();
        const RvsimHostWaits waits{firstWaitStepMs, longestWaitStepMs, startMs,
                                   longestPlannedCycleMs, refillPlaces};
        RvsimHostWait state{};
        if (sim.waitAsHost(target.core, target.crd, target.fifo, &waits, &state) != 0)
            return false;
        leaveFree = state.leaveFree;
        if (state.gaveUp) {
            beyondPending = true;
            Look();
            return true;
        }
        return Look();
    }

    // What a step leaves: the path so far, a point of the timetable now and then; false when
    // the coordinate system no longer runs.
    bool Look()
    {
        if (collecting)
            TakePath();
        short run = 0;
        int32_t completed = 0;
        MQN_CrdStatus(target.core, target.crd, &run, &completed, target.fifo);
        if (completed - lastPlanned >= planStride) {
            plan.push_back({completed, sim.nowMs() - startMs});
            lastPlanned = completed;
        }
        return run == 1;
    }

    // Where the machine stood still, a point is kept once. The speed is taken over a
    // millisecond at least: points a hair apart would make it noise.
    void TakePath()
    {
        const int count = sim.pathCount();
        for (int index = 0; index < count; ++index) {
            double ms = 0, pulses[5] = {};
            sim.pathPoint(index, nullptr, &ms, pulses);
            const std::array<double, 3> at{pulses[0] / pulsesPerMm[0], pulses[1] / pulsesPerMm[1],
                                           pulses[2] / pulsesPerMm[2]};
            const double moved
                = std::hypot(at[0] - lastAt[0], at[1] - lastAt[1], at[2] - lastAt[2]);
            travelled += moved;
            if (ms - spanStartMs >= shortestSpeedSpanMs) {
                speed = float((travelled - spanStartTravelled) / (ms - spanStartMs) * 1000);
                spanStartMs = ms;
                spanStartTravelled = travelled;
            }
            if (path.empty() || moved > 0) {
                path.push_back({float(at[0]), float(at[1]), float(at[2]), path.empty() ? 0 : speed,
                                sim.pathPointRapid(index) == 1});
                lastAt = at;
            }
        }
        sim.clearPath();
    }

    bool collecting = false;
    std::array<double, 3> pulsesPerMm{1, 1, 1};
    std::array<double, 3> lastAt{};
    double travelled = 0; // mm
    double spanStartMs = 0;
    double spanStartTravelled = 0;
    float speed = 0;

    const SimulatorInterface& sim;
    const int64_t planStride;
    const int32_t refillPlaces;
    bool started = false;
    bool beyond = false;
    double startMs = 0;
    int64_t lastPlanned = 0;
    int32_t knownSpace = 0;
    int32_t leaveFree = 0;      // places the FIFO is filled short of, as it would be now
    bool beyondPending = false; // the cycle grew too long once the stream has sent that
};

// Pulses per millimetre of X, Y and Z on the dry run's coordinate system: the look-ahead's scales
// when the window set one up, else the host's factors its table rows go by.
std::array<double, 3> pulsesPerMm(const DryRunMachine& machine)
{
    if (!machine.window)
        return {machine.pulsesPerMm, machine.pulsesPerMm, machine.pulsesPerMm};
    const WindowMachine& window = *machine.window;
    const AxisFactorSet factors = windowFactors(window, machine.axisTable.get());
    std::array<double, 3> pulses{1, 1, 1};
    for (std::size_t axis = 0; axis < pulses.size(); ++axis) {
        const double scale = window.lookAhead ? window.lookAheadRecord.Scale[axis]
                                              : factors.axis[axis].pulsesPerMm;
        pulses[axis] = scale > 0 ? scale : 1;
    }
    return pulses;
}

// The window's origin, where it sets one, puts the program's zero that far from the machine's.
TravelCheck travelCheck(const DryRunMachine& machine)
{
    TravelCheck check{machine.travel};
    check.set = machine.travel.IsSet();
    if (!machine.window || machine.window->record.setOriginFlag != 1)
        return check;
    const std::array<double, 3> perMm = pulsesPerMm(machine);
    for (std::size_t axis = 0; axis < 3; ++axis)
        check.originMm[axis] = machine.window->record.originPos[axis] / perMm[axis];
    return check;
}

// A short program as the window's table sends it: every row as its cells would read, then the
// look-ahead pushed out and the start. Returns the controller's code for each row.
std::vector<short> sendAsTable(const ProgramText& program, const WindowMachine& window,
                               const HostAxisTable* table)
{
    std::vector<TableRow> rows;
    for (const ProgramRow& row : ProgramAsRows(program, window.tableLookAheadOpen)) {
        const CommandType* type = FindCommandType(row.type);
        rows.push_back({row.type, type ? InitialRowTexts(*type, row.values) : RowTexts()});
    }
    std::vector<short> codes;
    SendRows(rows, window.tableLookAheadOpen, target, windowFactors(window, table), LaserFollow{},
             [&codes](const QByteArray&, short code, bool) { codes.push_back(code); });
    return codes;
}

// The figures of the program's motion, as the controller draws it, from the codes of its table
// rows: one a command, but for dwells, which the table has no row for.
void measure(const ProgramText& program, const std::vector<short>& rowCodes,
             const TravelCheck& travel, DryRunReport& report)
{
    MachinePosition standing{};
    std::size_t row = 0;
    for (ProgramWalk walk(program); walk.Next();) {
        const GCodeInterpreter& line = walk.State();
        ForEachCommand(line, [&](ProgramCommand command) {
            if (command == ProgramCommand::Dwell)
                return;
            const short code = row < rowCodes.size() ? rowCodes[row] : ReturnCode::Refused;
            ++row;
            if (code != 0)
                report.refused.push_back({walk.Index() + 1, code});
            countMotion(command, line, code, standing, report, travel, walk.Index() + 1);
        });
    }
}

// Checks the lines from `from` on; the walk reads the lines before for their state.
void checkFrom(const ProgramText& program, qsizetype from, ProgramChecker& checker)
{
    LineWords words;
    for (ProgramWalk walk(program, ProgramWalk::Acceleration::NotCarried, -1, &words);
         walk.Next();) {
        if (walk.Index() >= from)
            checker.CheckLine(walk, words);
    }
}

} // namespace

bool DryRunMachine::Read(const QString& configPath, DryRunMachine& machine, QString& error)
{
    machine = DryRunMachine();
    machine.axisTable = HostConfig::defaults().axisTable;
    if (configPath.isEmpty())
        return true;
    HostConfig host;
    if (!HostConfig::load(configPath, host, error))
        return false;
    machine.axisTable = std::move(host.axisTable);
    QSettings file(configPath, QSettings::IniFormat);
    CheckedSettings settings(file, configPath);
    const auto group = [](const char* key) {
        return QStringLiteral("dryRun/") + QLatin1String(key);
    };
    constexpr double fastest = 1e9;
    settings.readReal(group("feedMax"), 1e-6, fastest, machine.feedMax);
    settings.readReal(group("accelerationMax"), 1e-6, fastest, machine.accelerationMax);
    settings.readReal(group("axisFeedMax"), 1e-6, fastest, machine.axisFeedMax);
    settings.readReal(group("axisAccelerationMax"), 1e-6, fastest, machine.axisAccelerationMax);
    settings.readReal(group("cornerJump"), 0, fastest, machine.cornerJump);
    settings.readInteger(group("lookAheadSegments"), 1, 100000, machine.lookAheadSegments);
    settings.readReal(group("pulsesPerMm"), smallestFactor, largestFactor, machine.pulsesPerMm);
    error = settings.Error();
    return settings.ok() && MachineTravel::Read(configPath, machine.travel, error);
}

bool DryRun(const ProgramText& program, const DryRunMachine& machine,
            const SimulatorInterface& simulator, const DryRunProgress& progress,
            DryRunReport& report, QString& error, PathWanted path, ProgramChecker* checker)
{
    simulator.reset();
    simulator.useManualClock(1);
    simulator.advanceToMs(runStartMs);
    simulator.enablePath(path == PathWanted::Yes ? 1 : 0);
    if (const short code = machine.window ? setUpWindowCrd(*machine.window) : setUpCrd(machine)) {
        error = QStringLiteral("the virtual controller refused the dry run's coordinate system "
                               "(code %1)")
                    .arg(code);
        return false;
    }
    if (machine.window && program.LineCount() <= longestTableProgram) {
        report = DryRunReport();
        report.lines = program.LineCount();
        DryStream stream(simulator, program.LineCount());
        if (path == PathWanted::Yes)
            stream.CollectPath(pulsesPerMm(machine));
        const std::vector<short> rowCodes
            = sendAsTable(program, *machine.window, machine.axisTable.get());
        measure(program, rowCodes, travelCheck(machine), report);
        const auto commandsSent = int64_t(std::count(rowCodes.begin(), rowCodes.end(), 0));
        if ((!stream.Flush() || !stream.RunToEnd()) && !stream.Beyond()) {
            error = QStringLiteral("the virtual controller stopped before the end of the program");
            return false;
        }
        if (checker)
            checkFrom(program, 0, *checker);
        report.plannedLines = report.lines;
        report.cycleBeyond = stream.Beyond();
        report.cycleMs = stream.CycleMs();
        report.plan = PlannedRun(std::move(stream.plan), commandsSent, report.cycleMs);
        report.path = std::move(stream.path);
        return true;
    }

    report = DryRunReport();
    report.lines = program.LineCount();
    const int64_t lineCount = program.LineCount();
    const int64_t progressStride = std::max<int64_t>(1, lineCount / 100);
    DryStream stream(simulator, lineCount);
    if (path == PathWanted::Yes)
        stream.CollectPath(pulsesPerMm(machine));
    int64_t commandsSent = 0;
    int64_t linesTaken = 0;
    MachinePosition standing{};
    const TravelCheck travel = travelCheck(machine);
    const auto sent = [&report, &commandsSent, &standing, &linesTaken,
                       &travel](ProgramCommand command, const GCodeInterpreter& line, short code) {
        commandsSent += code == 0 ? 1 : 0;
        if (code != 0)
            report.refused.push_back({linesTaken + 1, code});
        countMotion(command, line, code, standing, report, travel, linesTaken + 1);
    };
    LineWords words;
    const auto taken = [&progress, progressStride, lineCount, &linesTaken, checker,
                        &words](const ProgramWalk& walk) {
        linesTaken = walk.Index() + 1;
        if (checker)
            checker->CheckLine(walk, words);
        if (progress && linesTaken % progressStride == 0)
            progress(linesTaken, lineCount);
    };
    if ((!StreamProgram(program, target, &printMessage, stream, sent, taken,
                        checker ? &words : nullptr)
         || !stream.RunToEnd())
        && !stream.Beyond()) {
        error = QStringLiteral("the virtual controller stopped before the end of the program");
        return false;
    }
    if (checker && linesTaken < lineCount)
        checkFrom(program, linesTaken, *checker);
    report.plannedLines = linesTaken;
    report.cycleBeyond = stream.Beyond();
    report.cycleMs = stream.CycleMs();
    report.plan = PlannedRun(std::move(stream.plan), commandsSent, report.cycleMs);
    report.path = std::move(stream.path);
    return true;
}

namespace {

// Written and read by the same workbench: the count of points and the fastest feed, then each
// point: its difference from the point before along X (with two flags: a pen of its own
// follows, Z moves) and Y, then the pen and the difference along Z where they change. Whole
// numbers are little-endian; differences are zigzag varints (7 bits a byte).
constexpr char previewMagic[8] = {'K', 'P', 'R', 'E', 'V', 'I', 'W', '2'};
constexpr double previewTolerance = 0.005; // mm
constexpr quint8 rapidPen = 0xff;
// Far beyond any machine, and within what micrometres in 64 bits hold.
constexpr double largestPreviewMm = 1e12;

void appendWhole(QByteArray& bytes, quint64 value, int size)
{
    for (int byte = 0; byte < size; ++byte)
        bytes.append(char(value >> (8 * byte)));
}

bool readWhole(const QByteArray& bytes, qsizetype& at, int size, quint64& value)
{
    if (bytes.size() - at < size)
        return false;
    value = 0;
    for (int byte = 0; byte < size; ++byte)
        value |= quint64(quint8(bytes[at++])) << (8 * byte);
    return true;
}

quint64 zigzag(qint64 value)
{
    return (quint64(value) << 1) ^ quint64(value >> 63);
}

qint64 unzigzag(quint64 value)
{
    return qint64(value >> 1) ^ -qint64(value & 1);
}

void appendVarint(QByteArray& bytes, quint64 value)
{
    while (value >= 0x80) {
        bytes.append(char(value | 0x80));
        value >>= 7;
    }
    bytes.append(char(value));
}

bool readVarint(const QByteArray& bytes, qsizetype& at, quint64& value)
{
    value = 0;
    for (int shift = 0; shift < 64 && at < bytes.size(); shift += 7) {
        const auto byte = quint8(bytes[at++]);
        value |= quint64(byte & 0x7f) << shift;
        if (byte < 0x80)
            return true;
    }
    return false;
}

QString clockTime(double seconds)
{
    const qint64 whole = qint64(std::llround(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString DryRunReportText(const DryRunReport& report)
{
    const QLocale grouped(QLocale::English);
    const auto mm = [](double value) {
        return QString::number(value, 'f', 3);
    };
    QString extents = QStringLiteral("none");
    if (const std::optional<PathPoint3>& low = report.extent.Lowest()) {
        const PathPoint3& high = report.extent.Highest();
        extents = QStringLiteral("X %1 to %2, Y %3 to %4, Z %5 to %6 mm (%7 x %8 x %9 mm)")
                      .arg(mm((*low)[0]), mm(high[0]), mm((*low)[1]), mm(high[1]), mm((*low)[2]),
                           mm(high[2]), mm(high[0] - (*low)[0]), mm(high[1] - (*low)[1]))
                      .arg(mm(high[2] - (*low)[2]));
    }
    QString cycle = QStringLiteral("%1, %2 s")
                        .arg(clockTime(report.cycleMs / 1000),
                             QString::number(report.cycleMs / 1000, 'f', 3));
    if (report.cycleBeyond) {
        cycle = QStringLiteral("more than %1: the dry run stops there").arg(cycle);
        if (report.plannedLines < report.lines)
            cycle
                += QStringLiteral(", at line %1 of %2, and the figures are of the lines before it")
                       .arg(grouped.toString(qlonglong(report.plannedLines + 1)),
                            grouped.toString(qlonglong(report.lines)));
    }
    QString refused;
    if (!report.refused.empty()) {
        QStringList places;
        for (std::size_t i = 0; i < std::min<std::size_t>(report.refused.size(), 5); ++i)
            places << QStringLiteral("line %1 (code %2)")
                          .arg(grouped.toString(qlonglong(report.refused[i].line)))
                          .arg(report.refused[i].code);
        if (report.refused.size() > 5)
            places << QStringLiteral("…");
        refused = QStringLiteral("\nrefused by the controller, not made: %1 command%2, %3")
                      .arg(grouped.toString(qlonglong(report.refused.size())),
                           report.refused.size() == 1 ? QString() : QStringLiteral("s"),
                           places.join(QStringLiteral(", ")));
    }
    return QStringLiteral("cycle time: %1\npath length: %2 mm (feed %3 mm, rapid %4 mm)\n"
                          "extents: %5\nlines: %6, segments: %7\nlargest feed: %8 mm/s%9")
        .arg(cycle, mm(report.pathLength), mm(report.pathLength - report.rapidLength),
             mm(report.rapidLength), extents, grouped.toString(qlonglong(report.lines)),
             grouped.toString(qlonglong(report.segments)),
             QString::number(report.largestFeed, 'g', 10), refused);
}

QJsonObject DryRunReportJson(const DryRunReport& report)
{
    // Figures to a thousandth of a millimetre and a hundredth of a second.
    const auto mm = [](double value) {
        return std::round(value * 1000) / 1000;
    };
    const auto seconds = [](double ms) {
        return std::round(ms / 10) / 100;
    };
    QJsonArray refused;
    for (const RefusedCommand& command : report.refused)
        refused.append(QJsonObject{{QStringLiteral("line"), double(command.line)},
                                   {QStringLiteral("code"), command.code}});
    QJsonObject extents;
    if (const std::optional<PathPoint3>& low = report.extent.Lowest()) {
        const PathPoint3& high = report.extent.Highest();
        const char* axes[] = {"x", "y", "z"};
        const char* sizes[] = {"width", "height", "depth"};
        for (std::size_t axis = 0; axis < 3; ++axis) {
            extents.insert(QLatin1String(axes[axis]), QJsonArray{mm((*low)[axis]), mm(high[axis])});
            extents.insert(QLatin1String(sizes[axis]), mm(high[axis] - (*low)[axis]));
        }
    }
    return QJsonObject{
        {QStringLiteral("cycleTime"), clockTime(report.cycleMs / 1000)},
        {QStringLiteral("cycleSeconds"), seconds(report.cycleMs)},
        {QStringLiteral("pathLength"),
         QJsonObject{{QStringLiteral("total"), mm(report.pathLength)},
                     {QStringLiteral("feed"), mm(report.pathLength - report.rapidLength)},
                     {QStringLiteral("rapid"), mm(report.rapidLength)}}},
        {QStringLiteral("extents"), extents},
        {QStringLiteral("lines"), double(report.lines)},
        {QStringLiteral("segments"), double(report.segments)},
        {QStringLiteral("largestFeed"), report.largestFeed},
        {QStringLiteral("cycleBeyond"), report.cycleBeyond},
        {QStringLiteral("plannedLines"), double(report.plannedLines)},
        {QStringLiteral("refused"), refused},
    };
}

bool WritePreviewPath(const QString& file, std::vector<PreviewPoint> kept)
{
    const double topSpeed = TopSpeed(kept);
    ThinPreview(kept, topSpeed, previewTolerance);
    QByteArray bytes(previewMagic, sizeof previewMagic);
    bytes.reserve(qsizetype(24 + kept.size() * 6));
    appendWhole(bytes, kept.size(), 8);
    quint64 topBits = 0;
    std::memcpy(&topBits, &topSpeed, sizeof topBits);
    appendWhole(bytes, topBits, 8);
    std::array<qint64, 3> last{};
    int lastPen = 0;
    for (const PreviewPoint& point : kept) {
        std::array<qint64, 3> micrometres{};
        const std::array<double, 3> mm{point.x, point.y, point.z};
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (!(std::abs(mm[axis]) < largestPreviewMm))
                return false;
            micrometres[axis] = qint64(std::llround(mm[axis] * 1000));
        }
        const int band = SpeedBand(point, topSpeed);
        const int pen = band < 0 ? rapidPen : band;
        const bool penChanged = pen != lastPen;
        const bool zChanged = micrometres[2] != last[2];
        appendVarint(bytes, zigzag(micrometres[0] - last[0]) << 2 | quint64(penChanged) << 1
                                | quint64(zChanged));
        appendVarint(bytes, zigzag(micrometres[1] - last[1]));
        if (penChanged)
            bytes.append(char(pen));
        if (zChanged)
            appendVarint(bytes, zigzag(micrometres[2] - last[2]));
        last = micrometres;
        lastPen = pen;
    }
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

std::optional<PreviewFile> ReadPreviewPath(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || in.size() > ProgramText::largestFile * 4)
        return std::nullopt;
    const QByteArray bytes = in.readAll();
    qsizetype at = sizeof previewMagic;
    quint64 count = 0, topBits = 0;
    if (bytes.size() < at || std::memcmp(bytes.constData(), previewMagic, sizeof previewMagic) != 0
        || !readWhole(bytes, at, 8, count) || !readWhole(bytes, at, 8, topBits)
        || count > quint64(bytes.size()))
        return std::nullopt;
    PreviewFile read;
    std::memcpy(&read.topSpeed, &topBits, sizeof topBits);
    if (!(read.topSpeed > 0) || !std::isfinite(read.topSpeed))
        return std::nullopt;
    read.points.reserve(count);
    std::array<qint64, 3> last{};
    int pen = 0;
    // Wrapping, not overflowing, on a file that was tampered with.
    const auto move = [&last](std::size_t axis, quint64 encoded) {
        last[axis] = qint64(quint64(last[axis]) + quint64(unzigzag(encoded)));
        return double(last[axis]) / 1000;
    };
    for (quint64 index = 0; index < count; ++index) {
        quint64 head = 0, y = 0, z = 0;
        if (!readVarint(bytes, at, head) || !readVarint(bytes, at, y))
            return std::nullopt;
        if (head & 2) {
            if (at >= bytes.size())
                return std::nullopt;
            pen = quint8(bytes[at++]);
            if (pen >= speedBands && pen != rapidPen)
                return std::nullopt;
        }
        if ((head & 1) && !readVarint(bytes, at, z))
            return std::nullopt;
        const std::array<double, 3> mm{move(0, head >> 2), move(1, y), move(2, z)};
        if (!std::all_of(mm.begin(), mm.end(),
                         [](double value) { return std::abs(value) < largestPreviewMm; }))
            return std::nullopt;
        const bool rapid = pen == rapidPen;
        read.points.push_back({float(mm[0]), float(mm[1]), float(mm[2]),
                               rapid ? 0.0f : float((pen + 0.5) / speedBands * read.topSpeed),
                               rapid});
    }
    if (at != bytes.size())
        return std::nullopt;
    return read;
}
