#include "shopfloor/MachineDevice.h"

#include <QDateTime>
#include <QFileInfo>

#include <cmath>

namespace MachineDevice {

namespace {

enum ComponentIndex { Device, Axes, X, Y, Z, Controller, Path, Laser };

constexpr double feedWindowMs = 250;
const QString unavailable = QStringLiteral("UNAVAILABLE");

QString Number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString ExecutionOf(RunJob::State state)
{
    switch (state) {
    case RunJob::State::Running:
        return QStringLiteral("ACTIVE");
    case RunJob::State::Paused:
        return QStringLiteral("INTERRUPTED");
    case RunJob::State::Stopped:
        return QStringLiteral("STOPPED");
    case RunJob::State::Finished:
        return QStringLiteral("PROGRAM_COMPLETED");
    case RunJob::State::Idle:
        break;
    }
    return QStringLiteral("READY");
}

} // namespace

const std::array<Component, 8>& Components()
{
    static const std::array<Component, 8> components{{
        {"Device", "dev", "", -1},
        {"Axes", "axes", "base", Device},
        {"Linear", "x", "X", Axes},
        {"Linear", "y", "Y", Axes},
        {"Linear", "z", "Z", Axes},
        {"Controller", "cont", "controller", Device},
        {"Path", "path", "path", Controller},
        {"x:Laser", "lsr", "laser", Device},
    }};
    return components;
}

const std::array<DataItem, ItemCount>& DataItems()
{
    using C = Category;
    static const std::array<DataItem, ItemCount> items{{
        {"avail", C::Event, "AVAILABILITY", "", "", Device},
        {"mode", C::Event, "CONTROLLER_MODE", "", "", Controller},
        {"system", C::Condition, "SYSTEM", "", "", Controller},
        {"execution", C::Event, "EXECUTION", "", "", Path},
        {"program", C::Event, "PROGRAM", "", "", Path},
        {"line", C::Event, "LINE_NUMBER", "ABSOLUTE", "", Path},
        {"partcount", C::Event, "PART_COUNT", "", "", Path},
        {"progress", C::Sample, "x:PROGRESS", "", "PERCENT", Path},
        {"timeleft", C::Sample, "x:TIME_REMAINING", "", "SECOND", Path},
        {"completion", C::Event, "PROCESS_TIME", "TARGET_COMPLETION", "", Path},
        {"pathpos", C::Sample, "PATH_POSITION", "ACTUAL", "MILLIMETER_3D", Path},
        {"feed", C::Sample, "PATH_FEEDRATE", "ACTUAL", "MILLIMETER/SECOND", Path},
        {"xpos", C::Sample, "POSITION", "ACTUAL", "MILLIMETER", X},
        {"ypos", C::Sample, "POSITION", "ACTUAL", "MILLIMETER", Y},
        {"zpos", C::Sample, "POSITION", "ACTUAL", "MILLIMETER", Z},
        {"laser", C::Event, "POWER_STATE", "", "", Laser},
    }};
    return items;
}

QString ElementOf(const char* type)
{
    QString element;
    bool wordStart = true;
    for (const char* c = type; *c; ++c) {
        if (*c == '_') {
            wordStart = true;
        } else if (*c == ':') {
            element += QLatin1Char(*c);
            wordStart = true;
        } else {
            const QChar letter = QLatin1Char(*c);
            element += wordStart ? letter.toUpper() : letter.toLower();
            wordStart = false;
        }
    }
    // The prefix keeps its case.
    if (element.startsWith(QLatin1String("X:")))
        element[0] = QLatin1Char('x');
    return element;
}

std::optional<double> Reading::Feed(const MachineObservation& seen)
{
    if (!seen.position) {
        recent.clear();
        return std::nullopt;
    }
    recent.push_back({seen.nowMs, *seen.position});
    while (recent.size() > 2 && seen.nowMs - recent[1].ms >= feedWindowMs)
        recent.pop_front();
    const double span = recent.back().ms - recent.front().ms;
    if (span <= 0)
        return 0.0;
    double length = 0;
    for (std::size_t i = 1; i < recent.size(); ++i) {
        const PathPoint3& a = recent[i - 1].position;
        const PathPoint3& b = recent[i].position;
        length += std::hypot(b[0] - a[0], b[1] - a[1], b[2] - a[2]);
    }
    return length / span * 1000;
}

Values Reading::Read(const MachineObservation& seen, qint64 utcMs)
{
    Values values;
    for (Value& value : values)
        value.text = unavailable;
    const std::optional<double> feed = Feed(seen);
    if (!seen.windowOpen)
        return values;
    values[Availability].text = QStringLiteral("AVAILABLE");

    const RunFigures& figures = seen.figures;
    if (figures.state == RunJob::State::Finished && lastState != RunJob::State::Finished)
        ++finishedJobs;
    lastState = figures.state;
    values[ControllerMode].text = seen.program.isEmpty() ? QStringLiteral("MANUAL_DATA_INPUT")
                                                         : QStringLiteral("AUTOMATIC");
    values[SystemCondition].text = QStringLiteral("NORMAL");
    if (seen.controllerCode != 0) {
        values[SystemCondition] = {
            QStringLiteral("FAULT"), QString::number(seen.controllerCode),
            QStringLiteral("The controller answered %1 to a status look").arg(seen.controllerCode)};
    }
    values[Execution].text = ExecutionOf(figures.state);
    if (!seen.program.isEmpty())
        values[Program].text = QFileInfo(seen.program).fileName();
    if (figures.line > 0)
        values[Line].text = QString::number(figures.line);
    values[PartCount].text = QString::number(finishedJobs);
    if (figures.total > 0)
        values[Progress].text = QString::number(ProgressPercent(figures));
    if (figures.secondsLeft) {
        values[TimeRemaining].text = Number(std::round(*figures.secondsLeft), 0);
        if (figures.state == RunJob::State::Running) {
            // Whole seconds, so that a job on its plan keeps one time of completion.
            const double end = std::round(double(utcMs) / 1000 + *figures.secondsLeft);
            values[PlannedCompletion].text
                = QDateTime::fromSecsSinceEpoch(qint64(end), Qt::UTC).toString(Qt::ISODate);
        }
    }
    if (seen.position) {
        const PathPoint3& at = *seen.position;
        values[PathPosition].text
            = QStringLiteral("%1 %2 %3").arg(Number(at[0], 3), Number(at[1], 3), Number(at[2], 3));
        for (int axis = 0; axis < 3; ++axis)
            values[XPosition + axis].text = Number(at[std::size_t(axis)], 3);
    }
    if (feed)
        values[PathFeedrate].text = Number(*feed, 1);
    if (figures.laserOn)
        values[LaserState].text = *figures.laserOn ? QStringLiteral("ON") : QStringLiteral("OFF");
    return values;
}

} // namespace MachineDevice
