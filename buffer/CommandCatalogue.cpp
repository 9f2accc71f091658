#include "buffer/CommandCatalogue.h"

#include "buffer/CommandCalls.h"
#include "controller/ReturnCodes.h"
#include "controller/rvAPI.h"

#include <algorithm>
#include <cmath>

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

using S = RowSend;
constexpr short noOption = 0;
constexpr short laserChannel = 0;

// The calls of a command: with look-ahead closed and open.
struct Calls
{
    RowCall plain;
    RowCall ex;
};

// A plain motion: refused without a call when the host has no factors for its axes, or when its
// speeds, through the factors of the reference axis, overflow.
template <typename Call>
short plainMotion(const RowSend& s, std::initializer_list<S::Axis> axes, S::Axis reference,
                  Call&& call)
{
    if (!s.Covers(axes))
        return ReturnCode::BadArgument;
    const double vel = s.Speed(s.v.synVel, reference);
    const double acc = s.Acceleration(reference);
    const double end = s.Speed(s.v.velEnd, reference);
    if (!std::isfinite(vel) || !std::isfinite(acc) || !std::isfinite(end))
        return ReturnCode::BadArgument;
    return call(vel, acc, end);
}

// The four linear types of one axis set: with velEnd, G0, Ex, G0Ex.
void addLinear(std::vector<CommandType>& types, const char* name, std::vector<Axis> axes,
               Calls feed, Calls rapid)
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
        const Calls calls = QByteArray(suffix).startsWith("G0") ? rapid : feed;
        types.push_back({QLatin1String(name) + QLatin1String(suffix),
                         CommandFamily::Linear,
                         *suffix ? columns : ending,
                         RowEditors::Created,
                         {},
                         calls.plain,
                         calls.ex,
                         WalkRule::Send});
    }
}

// The plain and Ex arcs of a plane, by radius or by centre.
void addArc(std::vector<CommandType>& types, const char* plain, const char* ex,
            std::vector<CommandColumn> geometry, CellKind direction, Calls calls)
{
    geometry.push_back({"circleDir", F::CircleDir, U::None, direction});
    geometry.push_back(synVel);
    geometry.push_back(synAcc);
    std::vector<CommandColumn> ending = geometry;
    ending.push_back(velEnd);
    ending.push_back(segNum);
    geometry.push_back(segNum);
    types.push_back({QLatin1String(plain),
                     CommandFamily::Arc,
                     ending,
                     RowEditors::Created,
                     {},
                     calls.plain,
                     calls.ex,
                     WalkRule::Send});
    types.push_back({QLatin1String(ex),
                     CommandFamily::Arc,
                     geometry,
                     RowEditors::Created,
                     {},
                     calls.plain,
                     calls.ex,
                     WalkRule::Send});
}

void addAuxiliary(std::vector<CommandType>& types, std::initializer_list<const char*> names,
                  const std::vector<CommandColumn>& columns, RowEditors editors, Calls calls,
                  WalkRule walk = WalkRule::Send)
{
    QStringList choices;
    if (columns.front().cell == K::AxisChoice) {
        for (int axis = 1; axis <= 12; ++axis)
            choices << QString::number(axis);
    } else if (columns.front().cell == K::DoTypeChoice) {
        choices = OutputTypeChoices();
    }
    for (const char* name : names)
        types.push_back({QLatin1String(name), CommandFamily::Auxiliary, columns, editors, choices,
                         calls.plain, calls.ex, walk});
}

void addLines(std::vector<CommandType>& types)
{
    addLinear(types, "LnXY", {X, Y},
              {[](const S& s) {
                   return plainMotion(s, {S::X, S::Y}, S::X,
                                      [&](double vel, double acc, double end) {
                                          return MQN_LnXY(s.to.core, s.to.crd, s.Pulses(S::X),
                                                          s.Pulses(S::Y), vel, acc, end, s.to.fifo);
                                      });
               },
               [](const S& s) {
                   return MQN_LnXYEx(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.synVel, s.v.synAcc,
                                     s.v.SegNum, noOption, s.to.fifo);
               }},
              {[](const S& s) {
                   return plainMotion(s, {S::X, S::Y}, S::X, [&](double vel, double acc, double) {
                       return MQN_LnXYG0(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y), vel,
                                         acc, s.to.fifo);
                   });
               },
               [](const S& s) {
                   return MQN_LnXYG0Ex(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.synVel, s.v.synAcc,
                                       s.v.SegNum, noOption, s.to.fifo);
               }});
    addLinear(types, "LnXYZ", {X, Y, Z},
              {[](const S& s) {
                   return plainMotion(
                       s, {S::X, S::Y, S::Z}, S::X, [&](double vel, double acc, double end) {
                           return MQN_LnXYZ(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y),
                                            s.Pulses(S::Z), vel, acc, end, s.to.fifo);
                       });
               },
               [](const S& s) {
                   return MQN_LnXYZEx(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.z, s.v.synVel,
                                      s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
               }},
              {[](const S& s) {
                   return plainMotion(
                       s, {S::X, S::Y, S::Z}, S::X, [&](double vel, double acc, double) {
                           return MQN_LnXYZG0(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y),
                                              s.Pulses(S::Z), vel, acc, s.to.fifo);
                       });
               },
               [](const S& s) {
                   return MQN_LnXYZG0Ex(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.z, s.v.synVel,
                                        s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
               }});
    addLinear(types, "LnXYZA", {X, Y, Z, A},
              {[](const S& s) {
                   return plainMotion(
                       s, {S::X, S::Y, S::Z, S::A}, S::X, [&](double vel, double acc, double end) {
                           return MQN_LnXYZA(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y),
                                             s.Pulses(S::Z), s.Pulses(S::A), vel, acc, end,
                                             s.to.fifo);
                       });
               },
               [](const S& s) {
                   return MQN_LnXYZAEx(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.z, s.v.a, s.v.synVel,
                                       s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
               }},
              {[](const S& s) {
                   return plainMotion(
                       s, {S::X, S::Y, S::Z, S::A}, S::X, [&](double vel, double acc, double) {
                           return MQN_LnXYZAG0(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y),
                                               s.Pulses(S::Z), s.Pulses(S::A), vel, acc, s.to.fifo);
                       });
               },
               [](const S& s) {
                   return MQN_LnXYZAG0Ex(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.z, s.v.a,
                                         s.v.synVel, s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
               }});
}

// Plain arcs take their first axis's factors for speeds and radius, except the YZ plane's,
// which takes Y's.
void addArcs(std::vector<CommandType>& types)
{
    const CommandColumn radius = length("radius", F::Radius);
    addArc(types, "ArcXYR", "ArcXYREx", {length("X", F::X), length("Y", F::Y), radius},
           K::CircleDir,
           {[](const S& s) {
                return plainMotion(s, {S::X, S::Y}, S::X, [&](double vel, double acc, double end) {
                    return MQN_ArcXYR(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y),
                                      s.Length(s.v.radius, S::X), s.v.circleDir, vel, acc, end,
                                      s.to.fifo);
                });
            },
            [](const S& s) {
                return MQN_ArcXYREx(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.radius, s.v.circleDir,
                                    s.v.synVel, s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
            }});
    addArc(types, "ArcYZR", "ArcYZREx", {length("Y", F::Y), length("Z", F::Z), radius},
           K::CircleDirYZ,
           {[](const S& s) {
                return plainMotion(s, {S::Y, S::Z}, S::Y, [&](double vel, double acc, double end) {
                    return MQN_ArcYZR(s.to.core, s.to.crd, s.Pulses(S::Y), s.Pulses(S::Z),
                                      s.Length(s.v.radius, S::Y), s.v.circleDir, vel, acc, end,
                                      s.to.fifo);
                });
            },
            [](const S& s) {
                return MQN_ArcYZREx(s.to.core, s.to.crd, s.v.y, s.v.z, s.v.radius, s.v.circleDir,
                                    s.v.synVel, s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
            }});
    addArc(types, "ArcZXR", "ArcZXREx", {length("X", F::X), length("Z", F::Z), radius},
           K::CircleDir,
           {[](const S& s) {
                return plainMotion(s, {S::Z, S::X}, S::X, [&](double vel, double acc, double end) {
                    return MQN_ArcZXR(s.to.core, s.to.crd, s.Pulses(S::Z), s.Pulses(S::X),
                                      s.Length(s.v.radius, S::X), s.v.circleDir, vel, acc, end,
                                      s.to.fifo);
                });
            },
            [](const S& s) {
                return MQN_ArcZXREx(s.to.core, s.to.crd, s.v.x, s.v.z, s.v.radius, s.v.circleDir,
                                    s.v.synVel, s.v.synAcc, s.v.SegNum, noOption, s.to.fifo);
            }});
    addArc(types, "ArcXYC", "ArcXYCEx",
           {length("X", F::X), length("Y", F::Y), length("xCenter", F::XCenter),
            length("yCenter", F::YCenter)},
           K::CircleDir,
           {[](const S& s) {
                return plainMotion(s, {S::X, S::Y}, S::X, [&](double vel, double acc, double end) {
                    return MQN_ArcXYC(s.to.core, s.to.crd, s.Pulses(S::X), s.Pulses(S::Y),
                                      s.Length(s.v.xCenter, S::X), s.Length(s.v.yCenter, S::Y),
                                      s.v.circleDir, vel, acc, end, s.to.fifo);
                });
            },
            [](const S& s) {
                return MQN_ArcXYCEx(s.to.core, s.to.crd, s.v.x, s.v.y, s.v.xCenter, s.v.yCenter,
                                    s.v.circleDir, s.v.synVel, s.v.synAcc, s.v.SegNum, noOption,
                                    s.to.fifo);
            }});
    addArc(types, "ArcZXC", "ArcZXCEx",
           {length("X", F::X), length("Z", F::Z), length("xCenter", F::XCenter),
            length("zCenter", F::ZCenter)},
           K::CircleDir,
           {[](const S& s) {
                return plainMotion(s, {S::Z, S::X}, S::X, [&](double vel, double acc, double end) {
                    return MQN_ArcZXC(s.to.core, s.to.crd, s.Pulses(S::Z), s.Pulses(S::X),
                                      s.Length(s.v.zCenter, S::Z), s.Length(s.v.xCenter, S::X),
                                      s.v.circleDir, vel, acc, end, s.to.fifo);
                });
            },
            [](const S& s) {
                return MQN_ArcZXCEx(s.to.core, s.to.crd, s.v.x, s.v.z, s.v.zCenter, s.v.xCenter,
                                    s.v.circleDir, s.v.synVel, s.v.synAcc, s.v.SegNum, noOption,
                                    s.to.fifo);
            }});
    addArc(types, "ArcYZC", "ArcYZCEx",
           {length("Y", F::Y), length("Z", F::Z), length("yCenter", F::YCenter),
            length("zCenter", F::ZCenter)},
           K::CircleDir,
           {[](const S& s) {
                return plainMotion(s, {S::Y, S::Z}, S::Y, [&](double vel, double acc, double end) {
                    return MQN_ArcYZC(s.to.core, s.to.crd, s.Pulses(S::Y), s.Pulses(S::Z),
                                      s.Length(s.v.yCenter, S::Y), s.Length(s.v.zCenter, S::Z),
                                      s.v.circleDir, vel, acc, end, s.to.fifo);
                });
            },
            [](const S& s) {
                return MQN_ArcYZCEx(s.to.core, s.to.crd, s.v.y, s.v.z, s.v.yCenter, s.v.zCenter,
                                    s.v.circleDir, s.v.synVel, s.v.synAcc, s.v.SegNum, noOption,
                                    s.to.fifo);
            }});
}

void addInputsAndOutputs(std::vector<CommandType>& types)
{
    addAuxiliary(types, {"BufIo", "BufIoEx"},
                 {{"doType", F::DoType, U::None, K::DoTypeChoice},
                  {"doMask", F::DoMask, U::None, K::HexItem},
                  {"doValue", F::DoValue, U::None, K::HexItem}},
                 RowEditors::Created,
                 {[](const S& s) {
                      return MQN_BufIO(s.to.core, s.to.crd, s.v.doType, s.v.doMask, s.v.doValue,
                                       s.to.fifo);
                  },
                  [](const S& s) {
                      return MQN_BufIOEx(s.to.core, s.to.crd, s.v.doType, s.v.doMask, s.v.doValue,
                                         s.to.fifo);
                  }});
    addAuxiliary(
        types, {"BufDelay", "BufDelayEx"}, {{"delayTime", F::DelayTime, U::Milliseconds, K::Count}},
        RowEditors::Created,
        {[](const S& s) { return MQN_BufDelay(s.to.core, s.to.crd, s.v.delayTime, s.to.fifo); },
         [](const S& s) {
             return MQN_BufDelayEx(s.to.core, s.to.crd, s.v.delayTime, s.to.fifo);
         }});
    addAuxiliary(types, {"BufDA", "BufDAEx"},
                 {{"channel", F::DaChannel, U::None, K::AxisChoice},
                  {"value", F::DaValue, U::None, K::Count}},
                 RowEditors::Created,
                 {[](const S& s) {
                      return MQN_BufDA(s.to.core, s.to.crd, s.v.daChannel, s.v.daValue, s.to.fifo);
                  },
                  [](const S& s) {
                      return MQN_BufDAEx(s.to.core, s.to.crd, s.v.daChannel, s.v.daValue,
                                         s.to.fifo);
                  }});
    addAuxiliary(types, {"BufMove", "BufMoveEx"},
                 {{"moveAxis", F::Axis, U::None, K::AxisChoice},
                  length("pos", F::Pos),
                  {"vel", F::SynVel, U::None, K::Speed},
                  {"acc", F::SynAcc, U::None, K::Speed},
                  {"modal", F::Modal, U::None, K::Count}},
                 RowEditors::Created,
                 {[](const S& s) {
                      return MQN_BufMove(s.to.core, s.to.crd, s.v.axis, TruncateToInt32(s.v.pos),
                                         s.v.synVel, s.v.synAcc, s.v.modal, s.to.fifo);
                  },
                  [](const S& s) {
                      return MQN_BufMoveEx(s.to.core, s.to.crd, s.v.axis, s.v.pos, s.v.synVel,
                                           s.v.synAcc, s.v.modal, s.to.fifo);
                  }});
    addAuxiliary(
        types, {"BufGear", "BufGearEx"},
        {{"gearAxis", F::Axis, U::None, K::AxisChoice}, length("pos", F::Pos)}, RowEditors::Created,
        {[](const S& s) {
             return MQN_BufGear(s.to.core, s.to.crd, s.v.axis, TruncateToInt32(s.v.pos), s.to.fifo);
         },
         [](const S& s) {
             return MQN_BufGearEx(s.to.core, s.to.crd, s.v.axis, s.v.pos, s.to.fifo);
         }});
    const std::vector<CommandColumn> stopInput
        = {{"axis", F::Axis, U::None, K::AxisChoice},
           {"stopType", F::StopType, U::None, K::TypedItem},
           {"inputType", F::InputType, U::None, K::TypedItem},
           {"inputIndex", F::InputIndex, U::None, K::TypedItem}};
    const RowCall setStopInput = [](const S& s) {
        return MQN_BufSetStopIo(s.to.core, s.to.crd, s.v.axis, s.v.stopType, s.v.inputType,
                                s.v.inputIndex, s.to.fifo);
    };
    // Its axis is chosen as for the other single-axis types, so that the row can be sent.
    addAuxiliary(types, {"BufSetStopIo"}, stopInput, RowEditors::None,
                 {setStopInput, setStopInput});
    addAuxiliary(types, {"BufSetStopIoEx"}, stopInput, RowEditors::Unknown, {}, WalkRule::EndsWalk);
    const std::vector<CommandColumn> limits = {{"axis", F::Axis, U::None, K::AxisChoice},
                                               {"limitType", F::LimitType, U::None, K::TypedItem}};
    // The controller has no look-ahead form of the limit switch: with look-ahead open the
    // switch-on sends nothing.
    const RowCall limitsOn = [](const S& s) {
        return MQN_BufLmtsOn(s.to.core, s.to.crd, s.v.axis, s.v.limitType, s.to.fifo);
    };
    addAuxiliary(types, {"BufLmtsOn"}, limits, RowEditors::None, {limitsOn, nullptr});
    const RowCall limitsOff = [](const S& s) {
        return MQN_BufLmtsOff(s.to.core, s.to.crd, s.v.axis, s.v.limitType, s.to.fifo);
    };
    addAuxiliary(types, {"BufLmtsOff"}, limits, RowEditors::None, {limitsOff, limitsOff});
    addAuxiliary(types, {"BufLmtsOnEx"}, limits, RowEditors::Unknown, {limitsOn, nullptr});
    addAuxiliary(types, {"BufLmtsOffEx"}, limits, RowEditors::Unknown, {}, WalkRule::EndsWalk);
}

void addLaser(std::vector<CommandType>& types)
{
    const RowCall laserOn = [](const S& s) {
        MQN_BufLaserFollowModeEx(s.to.core, s.to.crd, s.laser.source, s.to.fifo, laserChannel, 0.0);
        MQN_BufLaserFollowRatioEx(s.to.core, s.to.crd, s.laser.ratio, s.laser.powerMin,
                                  s.laser.powerMax, s.to.fifo, laserChannel);
        return MQN_BufLaserOnEx(s.to.core, s.to.crd, s.to.fifo, laserChannel);
    };
    const RowCall laserOff = [](const S& s) {
        MQN_BufLaserOffEx(s.to.core, s.to.crd, s.to.fifo, laserChannel);
        return MQN_BufLaserFollowOffEx(s.to.core, s.to.crd, s.to.fifo, laserChannel);
    };
    const std::vector<CommandColumn> channel{
        {"channel", F::LaserChannel, U::None, K::LaserChannel}};
    addAuxiliary(types, {"BufLaserOnEx"}, channel, RowEditors::Created, {laserOn, laserOn});
    addAuxiliary(types, {"BufLaserOffEx"}, channel, RowEditors::Created, {laserOff, laserOff});
}

std::vector<CommandType> buildCatalogue()
{
    std::vector<CommandType> types;
    addLines(types);
    addArcs(types);
    addInputsAndOutputs(types);
    addLaser(types);
    return types;
}

const std::vector<CommandType>& catalogue()
{
    static const std::vector<CommandType> types = buildCatalogue();
    return types;
}

} // namespace

const QStringList& OutputTypeChoices()
{
    static const QStringList choices{QStringLiteral("ENABLE"), QStringLiteral("CLEAR"),
                                     QStringLiteral("GPO")};
    return choices;
}

const CommandType* FindCommandType(const QString& name)
{
    for (const CommandType& type : catalogue()) {
        if (name == type.name)
            return &type;
    }
    return nullptr;
}

std::optional<CellRange> EditorRange(CellKind kind)
{
    switch (kind) {
    case CellKind::Position:
        return CellRange{-99999999.0, 99999999.0, 3};
    case CellKind::Speed:
        return CellRange{-2000000.0, 2000000.0, 3};
    case CellKind::SegNum:
        return CellRange{0, 2000000, 0};
    case CellKind::CircleDir:
        return CellRange{-2, 2, 0};
    case CellKind::CircleDirYZ:
        return CellRange{0, 1, 0};
    case CellKind::Count:
        return CellRange{0, 65535, 0};
    case CellKind::LaserChannel:
        return CellRange{-1, 4, 0};
    case CellKind::AxisChoice:
    case CellKind::DoTypeChoice:
    case CellKind::HexItem:
    case CellKind::TypedItem:
        break;
    }
    return std::nullopt;
}

QStringList CommandTypesAtStart()
{
    return {"LnXY",         "LnXYG0",    "LnXYZ",      "LnXYZG0",      "ArcXYR",
            "ArcXYC",       "ArcZXR",    "ArcZXC",     "ArcYZR",       "ArcYZC",
            "BufIo",        "BufDelay",  "BufDA",      "BufMove",      "BufGear",
            "BufSetStopIo", "BufLmtsOn", "BufLmtsOff", "BufLaserOnEx", "BufLaserOffEx"};
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
