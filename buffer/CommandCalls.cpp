#include "buffer/CommandCalls.h"

#include "controller/ReturnCodes.h"
#include "controller/rvAPI.h"

namespace {

enum Axis { X, Y, Z, A };
constexpr short noOption = 0;
constexpr short laserChannel = 0;

// The coordinates of a plain command: pulses, truncated toward zero.
class Pulses
{
public:
    Pulses(const BufRowValues& v, const AxisFactorSet& f)
        : values(v)
        , factors(f)
    {}

    int32_t at(Axis axis) const
    {
        const double coordinates[] = {values.x, values.y, values.z, values.a};
        return TruncateToInt32(coordinates[axis] * factors.axis[axis].pulsesPerMm);
    }
    double length(double value, Axis axis) const { return value * factors.axis[axis].pulsesPerMm; }
    double speed(double value, Axis reference) const
    {
        return value * factors.axis[reference].velocity;
    }
    double acceleration(Axis reference) const
    {
        return values.synAcc * factors.axis[reference].acceleration;
    }

private:
    const BufRowValues& values;
    const AxisFactorSet& factors;
};

bool covers(const AxisFactorSet& f, std::initializer_list<Axis> axes)
{
    for (Axis axis : axes) {
        if (!f.covered[axis])
            return false;
    }
    return true;
}

short sendLine(int axes, bool rapid, const BufRowValues& v, bool open, const ControllerAddress& to,
               const AxisFactorSet& f)
{
    const short core = to.core, crd = to.crd, fifo = to.fifo;
    if (open) {
        switch (axes * 2 + (rapid ? 1 : 0)) {
        case 4:
            return MQN_LnXYEx(core, crd, v.x, v.y, v.synVel, v.synAcc, v.SegNum, noOption, fifo);
        case 5:
            return MQN_LnXYG0Ex(core, crd, v.x, v.y, v.synVel, v.synAcc, v.SegNum, noOption, fifo);
        case 6:
            return MQN_LnXYZEx(core, crd, v.x, v.y, v.z, v.synVel, v.synAcc, v.SegNum, noOption,
                               fifo);
        case 7:
            return MQN_LnXYZG0Ex(core, crd, v.x, v.y, v.z, v.synVel, v.synAcc, v.SegNum, noOption,
                                 fifo);
        case 8:
            return MQN_LnXYZAEx(core, crd, v.x, v.y, v.z, v.a, v.synVel, v.synAcc, v.SegNum,
                                noOption, fifo);
        default:
            return MQN_LnXYZAG0Ex(core, crd, v.x, v.y, v.z, v.a, v.synVel, v.synAcc, v.SegNum,
                                  noOption, fifo);
        }
    }
    if (!covers(f, {X, Y}) || (axes >= 3 && !covers(f, {Z})) || (axes == 4 && !covers(f, {A})))
        return ReturnCode::BadArgument;
    const Pulses p(v, f);
    const double vel = p.speed(v.synVel, X), acc = p.acceleration(X), end = p.speed(v.velEnd, X);
    switch (axes * 2 + (rapid ? 1 : 0)) {
    case 4:
        return MQN_LnXY(core, crd, p.at(X), p.at(Y), vel, acc, end, fifo);
    case 5:
        return MQN_LnXYG0(core, crd, p.at(X), p.at(Y), vel, acc, fifo);
    case 6:
        return MQN_LnXYZ(core, crd, p.at(X), p.at(Y), p.at(Z), vel, acc, end, fifo);
    case 7:
        return MQN_LnXYZG0(core, crd, p.at(X), p.at(Y), p.at(Z), vel, acc, fifo);
    case 8:
        return MQN_LnXYZA(core, crd, p.at(X), p.at(Y), p.at(Z), p.at(A), vel, acc, end, fifo);
    default:
        return MQN_LnXYZAG0(core, crd, p.at(X), p.at(Y), p.at(Z), p.at(A), vel, acc, fifo);
    }
}

short sendArc(const QString& plane, bool byCentre, const BufRowValues& v, bool open,
              const ControllerAddress& to, const AxisFactorSet& f)
{
    const short core = to.core, crd = to.crd, fifo = to.fifo;
    const short dir = v.circleDir;
    const bool xy = plane == QLatin1String("XY"), yz = plane == QLatin1String("YZ");
    if (open) {
        if (byCentre) {
            if (xy)
                return MQN_ArcXYCEx(core, crd, v.x, v.y, v.xCenter, v.yCenter, dir, v.synVel,
                                    v.synAcc, v.SegNum, noOption, fifo);
            if (yz)
                return MQN_ArcYZCEx(core, crd, v.y, v.z, v.yCenter, v.zCenter, dir, v.synVel,
                                    v.synAcc, v.SegNum, noOption, fifo);
            return MQN_ArcZXCEx(core, crd, v.x, v.z, v.zCenter, v.xCenter, dir, v.synVel, v.synAcc,
                                v.SegNum, noOption, fifo);
        }
        if (xy)
            return MQN_ArcXYREx(core, crd, v.x, v.y, v.radius, dir, v.synVel, v.synAcc, v.SegNum,
                                noOption, fifo);
        if (yz)
            return MQN_ArcYZREx(core, crd, v.y, v.z, v.radius, dir, v.synVel, v.synAcc, v.SegNum,
                                noOption, fifo);
        return MQN_ArcZXREx(core, crd, v.x, v.z, v.radius, dir, v.synVel, v.synAcc, v.SegNum,
                            noOption, fifo);
    }
    const Axis first = yz ? Y : (xy ? X : Z);
    const Axis second = yz ? Z : (xy ? Y : X);
    const Axis reference = yz ? Y : X;
    if (!covers(f, {first, second}))
        return ReturnCode::BadArgument;
    const Pulses p(v, f);
    const double vel = p.speed(v.synVel, reference), acc = p.acceleration(reference);
    const double end = p.speed(v.velEnd, reference);
    if (!byCentre) {
        const double radius = p.length(v.radius, reference);
        if (xy)
            return MQN_ArcXYR(core, crd, p.at(X), p.at(Y), radius, dir, vel, acc, end, fifo);
        if (yz)
            return MQN_ArcYZR(core, crd, p.at(Y), p.at(Z), radius, dir, vel, acc, end, fifo);
        return MQN_ArcZXR(core, crd, p.at(Z), p.at(X), radius, dir, vel, acc, end, fifo);
    }
    const double xc = p.length(v.xCenter, X), yc = p.length(v.yCenter, Y);
    const double zc = p.length(v.zCenter, Z);
    if (xy)
        return MQN_ArcXYC(core, crd, p.at(X), p.at(Y), xc, yc, dir, vel, acc, end, fifo);
    if (yz)
        return MQN_ArcYZC(core, crd, p.at(Y), p.at(Z), yc, zc, dir, vel, acc, end, fifo);
    return MQN_ArcZXC(core, crd, p.at(Z), p.at(X), zc, xc, dir, vel, acc, end, fifo);
}

} // namespace

short SendMotionRow(const QString& type, const BufRowValues& values, bool lookAheadOpen,
                    const ControllerAddress& to, const AxisFactorSet& factors)
{
    QString base = type;
    if (base.endsWith(QLatin1String("Ex")))
        base.chop(2);
    if (base.startsWith(QLatin1String("Arc")))
        return sendArc(base.mid(3, 2), base.endsWith(QLatin1Char('C')), values, lookAheadOpen, to,
                       factors);
    const bool rapid = base.endsWith(QLatin1String("G0"));
    if (rapid)
        base.chop(2);
    const int axes = int(base.size()) - 2; // "LnXY" drives 2 axes, "LnXYZA" 4
    return sendLine(axes, rapid, values, lookAheadOpen, to, factors);
}

short SendAuxiliaryRow(const QString& type, const BufRowValues& v, bool open,
                       const ControllerAddress& to, const LaserFollow& laser)
{
    const short core = to.core, crd = to.crd, fifo = to.fifo;
    auto is = [&type](const char* plain) {
        return type == QLatin1String(plain) || type == QLatin1String(plain) + QLatin1String("Ex");
    };
    if (is("BufIo"))
        return open ? MQN_BufIOEx(core, crd, v.doType, v.doMask, v.doValue, fifo)
                    : MQN_BufIO(core, crd, v.doType, v.doMask, v.doValue, fifo);
    if (is("BufDelay"))
        return open ? MQN_BufDelayEx(core, crd, v.delayTime, fifo)
                    : MQN_BufDelay(core, crd, v.delayTime, fifo);
    if (is("BufDA"))
        return open ? MQN_BufDAEx(core, crd, v.daChannel, v.daValue, fifo)
                    : MQN_BufDA(core, crd, v.daChannel, v.daValue, fifo);
    if (is("BufMove"))
        return open ? MQN_BufMoveEx(core, crd, v.axis, v.pos, v.synVel, v.synAcc, v.modal, fifo)
                    : MQN_BufMove(core, crd, v.axis, TruncateToInt32(v.pos), v.synVel, v.synAcc,
                                  v.modal, fifo);
    if (is("BufGear"))
        return open ? MQN_BufGearEx(core, crd, v.axis, v.pos, fifo)
                    : MQN_BufGear(core, crd, v.axis, TruncateToInt32(v.pos), fifo);
    // The controller has no look-ahead form of the limit switch.
    if (is("BufLmtsOn"))
        return open ? 0 : MQN_BufLmtsOn(core, crd, v.axis, v.limitType, fifo);
    if (type == QLatin1String("BufLmtsOff"))
        return MQN_BufLmtsOff(core, crd, v.axis, v.limitType, fifo);
    if (type == QLatin1String("BufSetStopIo"))
        return MQN_BufSetStopIo(core, crd, v.axis, v.stopType, v.inputType, v.inputIndex, fifo);
    if (type == QLatin1String("BufLaserOnEx")) {
        MQN_BufLaserFollowModeEx(core, crd, laser.source, fifo, laserChannel, 0.0);
        MQN_BufLaserFollowRatioEx(core, crd, laser.ratio, laser.powerMin, laser.powerMax, fifo,
                                  laserChannel);
        return MQN_BufLaserOnEx(core, crd, fifo, laserChannel);
    }
    if (type == QLatin1String("BufLaserOffEx")) {
        MQN_BufLaserOffEx(core, crd, fifo, laserChannel);
        return MQN_BufLaserFollowOffEx(core, crd, fifo, laserChannel);
    }
    return 0;
}
