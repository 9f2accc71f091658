#include "buffer/CommandCatalogue.h"

#include <algorithm>

namespace {

using F = RowField;
using U = ColumnUnit;
using K = CellKind;

CommandColumn length(const char* label, RowField field)
{
    return {label, field, U::Length, K::Position};
}

const CommandColumn synVel{"synVel", F::SynVel, U::Speed, K::Speed};
const CommandColumn synAcc{"synAcc", F::SynAcc, U::Acceleration, K::Speed};
const CommandColumn velEnd{"velEnd", F::VelEnd, U::Speed, K::Speed};
const CommandColumn segNum{"SegNum", F::SegNum, U::None, K::SegNum};

struct Axis
{
    const char* label;
    RowField field;
};
const Axis X{"X", F::X}, Y{"Y", F::Y}, Z{"Z", F::Z}, A{"A", F::A};

// The four linear types of one axis set: with velEnd, G0, Ex, G0Ex.
void addLinear(std::vector<CommandType>& types, const char* name, std::vector<Axis> axes)
{
    std::vector<CommandColumn> columns;
    for (const Axis& axis : axes)
        columns.push_back(length(axis.label, axis.field));
    columns.push_back(synVel);
    columns.push_back(synAcc);
    std::vector<CommandColumn> ending = columns;
    ending.push_back(velEnd);
    ending.push_back(segNum);
    columns.push_back(segNum);
    for (const char* suffix : {"", "G0", "Ex", "G0Ex"}) {
        types.push_back({QLatin1String(name) + QLatin1String(suffix), CommandFamily::Linear,
                         *suffix ? columns : ending, RowEditors::Created, false});
    }
}

// The plain and Ex arcs of a plane, by radius or by centre.
void addArc(std::vector<CommandType>& types, const char* plain, const char* ex,
            std::vector<CommandColumn> geometry, CellKind direction)
{
    geometry.push_back({"circleDir", F::CircleDir, U::None, direction});
    geometry.push_back(synVel);
    geometry.push_back(synAcc);
    std::vector<CommandColumn> ending = geometry;
    ending.push_back(velEnd);
    ending.push_back(segNum);
    geometry.push_back(segNum);
    types.push_back({QLatin1String(plain), CommandFamily::Arc, ending, RowEditors::Created, false});
    types.push_back({QLatin1String(ex), CommandFamily::Arc, geometry, RowEditors::Created, false});
}

void addAuxiliary(std::vector<CommandType>& types, std::initializer_list<const char*> names,
                  const std::vector<CommandColumn>& columns, RowEditors editors,
                  bool columnOneChoice)
{
    for (const char* name : names)
        types.push_back(
            {QLatin1String(name), CommandFamily::Auxiliary, columns, editors, columnOneChoice});
}

std::vector<CommandType> buildCatalogue()
{
    std::vector<CommandType> types;
    addLinear(types, "LnXY", {X, Y});
    addLinear(types, "LnXYZ", {X, Y, Z});
    addLinear(types, "LnXYZA", {X, Y, Z, A});

    const CommandColumn radius = length("radius", F::Radius);
    addArc(types, "ArcXYR", "ArcXYREx", {length("X", F::X), length("Y", F::Y), radius},
           K::CircleDir);
    addArc(types, "ArcYZR", "ArcYZREx", {length("Y", F::Y), length("Z", F::Z), radius},
           K::CircleDirYZ);
    addArc(types, "ArcZXR", "ArcZXREx", {length("X", F::X), length("Z", F::Z), radius},
           K::CircleDir);
    addArc(types, "ArcXYC", "ArcXYCEx",
           {length("X", F::X), length("Y", F::Y), length("xCenter", F::XCenter),
            length("yCenter", F::YCenter)},
           K::CircleDir);
    addArc(types, "ArcZXC", "ArcZXCEx",
           {length("X", F::X), length("Z", F::Z), length("xCenter", F::XCenter),
            length("zCenter", F::ZCenter)},
           K::CircleDir);
    addArc(types, "ArcYZC", "ArcYZCEx",
           {length("Y", F::Y), length("Z", F::Z), length("yCenter", F::YCenter),
            length("zCenter", F::ZCenter)},
           K::CircleDir);

    addAuxiliary(types, {"BufIo", "BufIoEx"},
                 {{"doType", F::DoType, U::None, K::DoTypeChoice},
                  {"doMask", F::DoMask, U::None, K::HexItem},
                  {"doValue", F::DoValue, U::None, K::HexItem}},
                 RowEditors::Created, true);
    addAuxiliary(types, {"BufDelay", "BufDelayEx"},
                 {{"delayTime", F::DelayTime, U::Milliseconds, K::Count}}, RowEditors::Created,
                 false);
    addAuxiliary(types, {"BufDA", "BufDAEx"},
                 {{"channel", F::DaChannel, U::None, K::AxisChoice},
                  {"value", F::DaValue, U::None, K::Count}},
                 RowEditors::Created, true);
    addAuxiliary(types, {"BufMove", "BufMoveEx"},
                 {{"moveAxis", F::Axis, U::None, K::AxisChoice},
                  length("pos", F::Pos),
                  {"vel", F::SynVel, U::None, K::Speed},
                  {"acc", F::SynAcc, U::None, K::Speed},
                  {"modal", F::Modal, U::None, K::Count}},
                 RowEditors::Created, true);
    addAuxiliary(types, {"BufGear", "BufGearEx"},
                 {{"gearAxis", F::Axis, U::None, K::AxisChoice}, length("pos", F::Pos)},
                 RowEditors::Created, true);
    const std::vector<CommandColumn> stopInput
        = {{"axis", F::Axis, U::None, K::AxisChoice},
           {"stopType", F::StopType, U::None, K::TypedItem},
           {"inputType", F::InputType, U::None, K::TypedItem},
           {"inputIndex", F::InputIndex, U::None, K::TypedItem}};
    // Its axis is chosen as for the other single-axis types, so that the row can be sent.
    addAuxiliary(types, {"BufSetStopIo"}, stopInput, RowEditors::None, true);
    addAuxiliary(types, {"BufSetStopIoEx"}, stopInput, RowEditors::Unknown, true);
    const std::vector<CommandColumn> limits = {{"axis", F::Axis, U::None, K::AxisChoice},
                                               {"limitType", F::LimitType, U::None, K::TypedItem}};
    addAuxiliary(types, {"BufLmtsOn", "BufLmtsOff"}, limits, RowEditors::None, true);
    addAuxiliary(types, {"BufLmtsOnEx", "BufLmtsOffEx"}, limits, RowEditors::Unknown, true);
    addAuxiliary(types, {"BufLaserOnEx", "BufLaserOffEx"},
                 {{"channel", F::LaserChannel, U::None, K::LaserChannel}}, RowEditors::Created,
                 false);
    return types;
}

const std::vector<CommandType>& catalogue()
{
    static const std::vector<CommandType> types = buildCatalogue();
    return types;
}

} // namespace

const CommandType* FindCommandType(const QString& name)
{
    for (const CommandType& type : catalogue()) {
        if (name == type.name)
            return &type;
    }
    return nullptr;
}

QStringList OfferedCommandTypes(int dimension, bool lookAheadOpen)
{
    const QStringList linear
        = lookAheadOpen
              ? QStringList{"LnXYEx", "LnXYG0Ex", "LnXYZEx", "LnXYZG0Ex", "LnXYZAEx", "LnXYZAG0Ex"}
              : QStringList{"LnXY", "LnXYG0", "LnXYZ", "LnXYZG0", "LnXYZA", "LnXYZAG0"};
    const QStringList moves = lookAheadOpen
                                  ? QStringList{"ArcXYREx", "ArcXYCEx", "ArcZXREx",  "ArcZXCEx",
                                                "ArcYZREx", "ArcYZCEx", "BufMoveEx", "BufGearEx"}
                                  : QStringList{"ArcXYR", "ArcXYC", "ArcZXR",  "ArcZXC",
                                                "ArcYZR", "ArcYZC", "BufMove", "BufGear"};
    const QStringList io
        = lookAheadOpen
              ? QStringList{"BufIoEx",     "BufDelayEx",   "BufDAEx",      "BufSetStopIoEx",
                            "BufLmtsOnEx", "BufLmtsOffEx", "BufLaserOnEx", "BufLaserOffEx"}
              : QStringList{"BufIo",        "BufDelay",  "BufDA",
                            "BufSetStopIo", "BufLmtsOn", "BufLmtsOff"};
    if (dimension <= 1)
        return io;
    // Two linear types for each axis after X, up to A.
    const int linearCount = 2 * (std::min(dimension, 4) - 1);
    return linear.mid(0, linearCount) + moves + io;
}
