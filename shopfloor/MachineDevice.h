#ifndef KURVO_SHOPFLOOR_MACHINEDEVICE_H
#define KURVO_SHOPFLOOR_MACHINEDEVICE_H

#include "planner/MachineObservation.h"

#include <QString>

#include <array>
#include <deque>

// What the shop floor sees of one machine: its parts and the data items each reports, in
// MTConnect's vocabulary. Types with the "x:" prefix are the workbench's own, beside the
// standard's.
namespace MachineDevice {

enum class Category { Sample, Event, Condition };

struct Component
{
    const char* element; // the element that describes it, "x:" for the workbench's own
    const char* id;
    const char* name;
    int parent; // index of the component it belongs to; -1 for the device itself
};

struct DataItem
{
    const char* id; // also the last part of its MQTT topic
    Category category;
    const char* type;
    const char* subType; // empty when none
    const char* units;   // empty when none
    int component;
};

enum Item {
    Availability,
    ControllerMode,
    SystemCondition,
    Execution,
    Program,
    Line,
    PartCount,
    Progress,
    TimeRemaining,
    PlannedCompletion,
    PathPosition,
    PathFeedrate,
    XPosition,
    YPosition,
    ZPosition,
    LaserState,
    ItemCount
};

const std::array<Component, 8>& Components();
const std::array<DataItem, ItemCount>& DataItems();

// "ControllerMode" for "CONTROLLER_MODE", "x:Progress" for "x:PROGRESS": the element an
// observation of the type is.
QString ElementOf(const char* type);

// A data item's value, with a condition's native code and text.
struct Value
{
    QString text; // a condition's level: "NORMAL", "FAULT" or "UNAVAILABLE"
    QString nativeCode;
    QString message;

    bool operator==(const Value& other) const
    {
        return text == other.text && nativeCode == other.nativeCode && message == other.message;
    }
};
using Values = std::array<Value, ItemCount>;

// Turns the watch's looks into the data items' values: the feed from the positions of the last
// quarter second, the part count from the jobs that finished.
class Reading
{
public:
    Values Read(const MachineObservation& seen, qint64 utcMs);

private:
    std::optional<double> Feed(const MachineObservation& seen);

    struct Look
    {
        double ms;
        PathPoint3 position;
    };
    std::deque<Look> recent;
    RunJob::State lastState = RunJob::State::Idle;
    int finishedJobs = 0;
};

} // namespace MachineDevice

#endif
