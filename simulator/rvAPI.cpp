// The C entry points: each journals its call, brings the controller to the current time (a
// status query only while something moves) and hands the arguments on.
#include "rvAPI.h"

#include "Codes.h"
#include "Hot.h"
#include "Library.h"

#include <cmath>

using rvsim::badArgument;
using rvsim::call;
using rvsim::Command;
using rvsim::JournalArg;
using rvsim::query;
using rvsim::Timing;
using rvsim::VirtualController;
using Kind = Command::Kind;

namespace {

constexpr int X = 0, Y = 1, Z = 2, A = 3;

Command other(Kind kind, std::initializer_list<short> values,
              std::initializer_list<double> reals = {})
{
    Command command;
    command.kind = kind;
    std::copy(values.begin(), values.end(), command.value);
    std::copy(reals.begin(), reals.end(), command.real);
    return command;
}

short bufferIo(VirtualController& c, short core, short crd, short doType, short doMask,
               short doValue, short fifo, bool lookAhead)
{
    if (doType < 10 || doType > 12)
        return badArgument;
    return c.bufferOther(core, crd, fifo, other(Kind::DigitalOutput, {doType, doMask, doValue}),
                         lookAhead);
}

short bufferDelay(VirtualController& c, short core, short crd, short delayTime, short fifo,
                  bool lookAhead)
{
    if (delayTime < 0)
        return badArgument;
    return c.bufferOther(core, crd, fifo, other(Kind::Delay, {delayTime}), lookAhead);
}

short bufferDa(VirtualController& c, short core, short crd, short channel, short value, short fifo,
               bool lookAhead)
{
    if (channel < 1 || channel > 12)
        return badArgument;
    return c.bufferOther(core, crd, fifo, other(Kind::AnalogOutput, {channel, value}), lookAhead);
}

short bufferMove(VirtualController& c, short core, short crd, short axis, double pos, double vel,
                 double acc, short modal, short fifo, bool lookAhead)
{
    if (!(std::abs(pos) <= rvsim::maxTravelPulses) || !std::isfinite(vel) || !std::isfinite(acc)
        || !(vel >= rvsim::slowestSpeed) || !(acc >= rvsim::slowestAcceleration))
        return badArgument;
    return c.bufferOther(core, crd, fifo, other(Kind::Move, {axis, modal}, {pos, vel, acc}),
                         lookAhead);
}

short bufferGear(VirtualController& c, short core, short crd, short axis, double pos, short fifo,
                 bool lookAhead)
{
    if (!(std::abs(pos) <= rvsim::maxTravelPulses))
        return badArgument;
    return c.bufferOther(core, crd, fifo, other(Kind::Gear, {axis}, {pos}), lookAhead);
}

short bufferLaser(VirtualController& c, short core, short crd, short fifo, short channel,
                  Command command)
{
    if (channel < 0 || channel > 3)
        return badArgument;
    return c.bufferOther(core, crd, fifo, command, true);
}

} // namespace

extern "C" {

short MQN_GetResCount(short core, short resType, short* count)
{
    return call("MQN_GetResCount", {core, resType, JournalArg::out(count)},
                [&](VirtualController& c) { return c.resourceCount(core, resType, count); });
}

short MQN_GetResMax(short core, short resType, short* max)
{
    return call("MQN_GetResMax", {core, resType, JournalArg::out(max)},
                [&](VirtualController& c) { return c.resourceMax(core, resType, max); });
}

short MQN_SetCrdPrm(short core, short crd, const CrdPrm* prm)
{
    return call("MQN_SetCrdPrm", {core, crd, prm},
                [&](VirtualController& c) { return c.setCrdPrm(core, crd, prm); });
}

short MQN_GetCrdPrm(short core, short crd, CrdPrm* prm)
{
    return call("MQN_GetCrdPrm", {core, crd, JournalArg::out(prm)},
                [&](VirtualController& c) { return c.getCrdPrm(core, crd, prm); });
}

short MQN_SetCrdMapBase(short core, short crd, short base)
{
    return call("MQN_SetCrdMapBase", {core, crd, base},
                [&](VirtualController& c) { return c.setMapBase(core, crd, base); });
}

short MQN_GetCrdMapBase(short core, short crd, short* base)
{
    return call("MQN_GetCrdMapBase", {core, crd, JournalArg::out(base)},
                [&](VirtualController& c) { return c.getMapBase(core, crd, base); });
}

short MQN_SetupLookAheadCrd(short core, short crd, short option)
{
    return call("MQN_SetupLookAheadCrd", {core, crd, option},
                [&](VirtualController& c) { return c.setupLookAhead(core, crd); });
}

short MQN_InitLookAheadEx(short core, short crd, const LookAheadPrmEx* prm, short option1,
                          short option2, short option3)
{
    return call("MQN_InitLookAheadEx", {core, crd, prm, option1, option2, option3},
                [&](VirtualController& c) { return c.initLookAhead(core, crd, prm); });
}

short MQN_GetLookAheadParaEx(short core, short crd, short fifo, LookAheadPrmEx* prm, short option)
{
    return call("MQN_GetLookAheadParaEx", {core, crd, fifo, JournalArg::out(prm), option},
                [&](VirtualController& c) { return c.getLookAhead(core, crd, fifo, prm); });
}

short MQN_SetCrdJerk(short core, short crd, double jerk)
{
    return call("MQN_SetCrdJerk", {core, crd, jerk},
                [&](VirtualController& c) { return c.setJerk(core, crd, jerk); });
}

short MQN_GetCrdJerk(short core, short crd, double* jerk)
{
    return call("MQN_GetCrdJerk", {core, crd, JournalArg::out(jerk)},
                [&](VirtualController& c) { return c.getJerk(core, crd, jerk); });
}

short MQN_SetCrdContourErrorControl(short core, short crd, short enable, double kp)
{
    return call("MQN_SetCrdContourErrorControl", {core, crd, enable, kp},
                [&](VirtualController& c) { return c.setContour(core, crd, enable, kp); });
}

short MQN_GetCrdContourErrorControl(short core, short crd, short* enable, double* kp)
{
    return call("MQN_GetCrdContourErrorControl",
                {core, crd, JournalArg::out(enable), JournalArg::out(kp)},
                [&](VirtualController& c) { return c.getContour(core, crd, enable, kp); });
}

short MQN_SetBlendingParaLa(short core, short crd, short paraType, double para, double minAngle,
                            double maxAngle)
{
    return call("MQN_SetBlendingParaLa", {core, crd, paraType, para, minAngle, maxAngle},
                [&](VirtualController& c) {
                    return c.setBlending(core, crd, paraType, para, minAngle, maxAngle);
                });
}

short MQN_GetBlendingParaLa(short core, short crd, short* paraType, double* para, double* minAngle,
                            double* maxAngle)
{
    return call("MQN_GetBlendingParaLa",
                {core, crd, JournalArg::out(paraType), JournalArg::out(para),
                 JournalArg::out(minAngle), JournalArg::out(maxAngle)},
                [&](VirtualController& c) {
                    return c.getBlending(core, crd, paraType, para, minAngle, maxAngle);
                });
}

short MQN_CrdDataEx(short core, short crd, void* data, short option)
{
    return call("MQN_CrdDataEx", {core, crd, JournalArg::out(data), option},
                [&](VirtualController& c) { return c.pushLookAhead(core, crd); });
}

short MQN_CrdStart(short core, short crdMask, short option)
{
    return call("MQN_CrdStart", {core, crdMask, option},
                [&](VirtualController& c) { return c.start(core, crdMask, option); });
}

short MQN_CrdClear(short core, short crdMask, short option)
{
    return call("MQN_CrdClear", {core, crdMask, option},
                [&](VirtualController& c) { return c.clear(core, crdMask, option); });
}

short MQN_Stop(short core, int32_t profileMask, int32_t option)
{
    return call("MQN_Stop", {core, profileMask, option},
                [&](VirtualController& c) { return c.stop(core, profileMask, option); });
}

RVSIM_HOT short MQN_CrdStatus(short core, short crd, short* run, int32_t* segment, short fifo)
{
    return query("MQN_CrdStatus", {core, crd, JournalArg::out(run), JournalArg::out(segment), fifo},
                 [&](VirtualController& c) { return c.status(core, crd, fifo, run, segment); });
}

RVSIM_HOT short MQN_CrdStatusEx(short core, short crd, CrdStatusEx* status, short fifo)
{
    return query("MQN_CrdStatusEx", {core, crd, JournalArg::out(status), fifo},
                 [&](VirtualController& c) { return c.statusEx(core, crd, fifo, status); });
}

RVSIM_HOT short MQN_CrdSpace(short core, short crd, int32_t* space, short fifo)
{
    return query("MQN_CrdSpace", {core, crd, JournalArg::out(space), fifo},
                 [&](VirtualController& c) { return c.space(core, crd, fifo, space); });
}

RVSIM_HOT short MQN_GetRemainderSegNum(short core, short crd, int32_t* count, short fifo)
{
    return query("MQN_GetRemainderSegNum", {core, crd, JournalArg::out(count), fifo},
                 [&](VirtualController& c) { return c.remainder(core, crd, fifo, count); });
}

RVSIM_HOT short MQN_GetUserSegNumWN(short core, short crd, int32_t* segNum, short fifo)
{
    return query("MQN_GetUserSegNumWN", {core, crd, JournalArg::out(segNum), fifo},
                 [&](VirtualController& c) { return c.userSegNum(core, crd, fifo, segNum); });
}

RVSIM_HOT short MQN_GetPrfPos(short core, short profile, double* pos, short count, uint32_t* clock)
{
    return call(
        "MQN_GetPrfPos", {core, profile, JournalArg::out(pos), count, JournalArg::out(clock)},
        [&](VirtualController& c) { return c.profilePosition(core, profile, count, pos, clock); },
        clock ? Timing::Always : Timing::WhileMoving);
}

short MQN_ZeroPos(short core, short profile, short count)
{
    return call("MQN_ZeroPos", {core, profile, count},
                [&](VirtualController& c) { return c.zeroPosition(core, profile, count); });
}

short MQN_InitIlc(short core)
{
    return call("MQN_InitIlc", {core}, [&](VirtualController& c) { return c.initIlc(core); });
}

short MQN_StartIlc(short core, short crd)
{
    return call("MQN_StartIlc", {core, crd},
                [&](VirtualController& c) { return c.startIlc(core, crd); });
}

short MQN_StopIlc(short core, short crd, IlcErrorRecord* error)
{
    return call("MQN_StopIlc", {core, crd, JournalArg::out(error)},
                [&](VirtualController& c) { return c.stopIlc(core, crd, error); });
}

short MQN_LoadIlcFile(short core, short crd, const char* path)
{
    return call("MQN_LoadIlcFile", {core, crd, path},
                [&](VirtualController& c) { return c.loadIlcFile(core, crd, path); });
}

// --- Plain lines and arcs ------------------------------------------------------------------

short MQN_LnXY(short core, short crd, int32_t x, int32_t y, double synVel, double synAcc,
               double velEnd, short fifo)
{
    return call("MQN_LnXY", {core, crd, x, y, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y}, {double(x), double(y)}, synVel,
                                        synAcc, velEnd, 0, false);
                });
}

short MQN_LnXYG0(short core, short crd, int32_t x, int32_t y, double synVel, double synAcc,
                 short fifo)
{
    return call("MQN_LnXYG0", {core, crd, x, y, synVel, synAcc, fifo}, [&](VirtualController& c) {
        return c.bufferLine(core, crd, fifo, {X, Y}, {double(x), double(y)}, synVel, synAcc, 0, 0,
                            false, true);
    });
}

short MQN_LnXYZ(short core, short crd, int32_t x, int32_t y, int32_t z, double synVel,
                double synAcc, double velEnd, short fifo)
{
    return call(
        "MQN_LnXYZ", {core, crd, x, y, z, synVel, synAcc, velEnd, fifo}, [&](VirtualController& c) {
            return c.bufferLine(core, crd, fifo, {X, Y, Z}, {double(x), double(y), double(z)},
                                synVel, synAcc, velEnd, 0, false);
        });
}

short MQN_LnXYZG0(short core, short crd, int32_t x, int32_t y, int32_t z, double synVel,
                  double synAcc, short fifo)
{
    return call(
        "MQN_LnXYZG0", {core, crd, x, y, z, synVel, synAcc, fifo}, [&](VirtualController& c) {
            return c.bufferLine(core, crd, fifo, {X, Y, Z}, {double(x), double(y), double(z)},
                                synVel, synAcc, 0, 0, false, true);
        });
}

short MQN_LnXYZA(short core, short crd, int32_t x, int32_t y, int32_t z, int32_t a, double synVel,
                 double synAcc, double velEnd, short fifo)
{
    return call("MQN_LnXYZA", {core, crd, x, y, z, a, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y, Z, A},
                                        {double(x), double(y), double(z), double(a)}, synVel,
                                        synAcc, velEnd, 0, false);
                });
}

short MQN_LnXYZAG0(short core, short crd, int32_t x, int32_t y, int32_t z, int32_t a, double synVel,
                   double synAcc, short fifo)
{
    return call("MQN_LnXYZAG0", {core, crd, x, y, z, a, synVel, synAcc, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y, Z, A},
                                        {double(x), double(y), double(z), double(a)}, synVel,
                                        synAcc, 0, 0, false, true);
                });
}

short MQN_ArcXYR(short core, short crd, int32_t x, int32_t y, double radius, short circleDir,
                 double synVel, double synAcc, double velEnd, short fifo)
{
    return call("MQN_ArcXYR", {core, crd, x, y, radius, circleDir, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, X, Y, x, y, false, radius, 0, circleDir,
                                       synVel, synAcc, velEnd, 0, false);
                });
}

short MQN_ArcYZR(short core, short crd, int32_t y, int32_t z, double radius, short circleDir,
                 double synVel, double synAcc, double velEnd, short fifo)
{
    return call("MQN_ArcYZR", {core, crd, y, z, radius, circleDir, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, Y, Z, y, z, false, radius, 0, circleDir,
                                       synVel, synAcc, velEnd, 0, false);
                });
}

short MQN_ArcZXR(short core, short crd, int32_t z, int32_t x, double radius, short circleDir,
                 double synVel, double synAcc, double velEnd, short fifo)
{
    return call("MQN_ArcZXR", {core, crd, z, x, radius, circleDir, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, Z, X, z, x, false, radius, 0, circleDir,
                                       synVel, synAcc, velEnd, 0, false);
                });
}

short MQN_ArcXYC(short core, short crd, int32_t x, int32_t y, double xCenter, double yCenter,
                 short circleDir, double synVel, double synAcc, double velEnd, short fifo)
{
    return call("MQN_ArcXYC",
                {core, crd, x, y, xCenter, yCenter, circleDir, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, X, Y, x, y, true, xCenter, yCenter,
                                       circleDir, synVel, synAcc, velEnd, 0, false);
                });
}

short MQN_ArcYZC(short core, short crd, int32_t y, int32_t z, double yCenter, double zCenter,
                 short circleDir, double synVel, double synAcc, double velEnd, short fifo)
{
    return call("MQN_ArcYZC",
                {core, crd, y, z, yCenter, zCenter, circleDir, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, Y, Z, y, z, true, yCenter, zCenter,
                                       circleDir, synVel, synAcc, velEnd, 0, false);
                });
}

short MQN_ArcZXC(short core, short crd, int32_t z, int32_t x, double zCenter, double xCenter,
                 short circleDir, double synVel, double synAcc, double velEnd, short fifo)
{
    return call("MQN_ArcZXC",
                {core, crd, z, x, zCenter, xCenter, circleDir, synVel, synAcc, velEnd, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, Z, X, z, x, true, zCenter, xCenter,
                                       circleDir, synVel, synAcc, velEnd, 0, false);
                });
}

// --- Look-ahead lines and arcs ---------------------------------------------------------------

short MQN_LnXYEx(short core, short crd, double x, double y, double synVel, double synAcc,
                 int32_t segNum, short option, short fifo)
{
    return call(
        "MQN_LnXYEx", {core, crd, x, y, synVel, synAcc, segNum, option, fifo},
        [&](VirtualController& c) {
            return c.bufferLine(core, crd, fifo, {X, Y}, {x, y}, synVel, synAcc, 0, segNum, true);
        });
}

short MQN_LnXYG0Ex(short core, short crd, double x, double y, double synVel, double synAcc,
                   int32_t segNum, short option, short fifo)
{
    return call("MQN_LnXYG0Ex", {core, crd, x, y, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y}, {x, y}, synVel, synAcc, 0, segNum,
                                        true, true);
                });
}

short MQN_LnXYZEx(short core, short crd, double x, double y, double z, double synVel, double synAcc,
                  int32_t segNum, short option, short fifo)
{
    return call("MQN_LnXYZEx", {core, crd, x, y, z, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y, Z}, {x, y, z}, synVel, synAcc, 0,
                                        segNum, true);
                });
}

short MQN_LnXYZG0Ex(short core, short crd, double x, double y, double z, double synVel,
                    double synAcc, int32_t segNum, short option, short fifo)
{
    return call("MQN_LnXYZG0Ex", {core, crd, x, y, z, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y, Z}, {x, y, z}, synVel, synAcc, 0,
                                        segNum, true, true);
                });
}

short MQN_LnXYZAEx(short core, short crd, double x, double y, double z, double a, double synVel,
                   double synAcc, int32_t segNum, short option, short fifo)
{
    return call("MQN_LnXYZAEx", {core, crd, x, y, z, a, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y, Z, A}, {x, y, z, a}, synVel, synAcc,
                                        0, segNum, true);
                });
}

short MQN_LnXYZAG0Ex(short core, short crd, double x, double y, double z, double a, double synVel,
                     double synAcc, int32_t segNum, short option, short fifo)
{
    return call("MQN_LnXYZAG0Ex", {core, crd, x, y, z, a, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferLine(core, crd, fifo, {X, Y, Z, A}, {x, y, z, a}, synVel, synAcc,
                                        0, segNum, true, true);
                });
}

short MQN_ArcXYREx(short core, short crd, double x, double y, double radius, short circleDir,
                   double synVel, double synAcc, int32_t segNum, short option, short fifo)
{
    return call("MQN_ArcXYREx",
                {core, crd, x, y, radius, circleDir, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, X, Y, x, y, false, radius, 0, circleDir,
                                       synVel, synAcc, 0, segNum, true);
                });
}

short MQN_ArcYZREx(short core, short crd, double y, double z, double radius, short circleDir,
                   double synVel, double synAcc, int32_t segNum, short option, short fifo)
{
    return call("MQN_ArcYZREx",
                {core, crd, y, z, radius, circleDir, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, Y, Z, y, z, false, radius, 0, circleDir,
                                       synVel, synAcc, 0, segNum, true);
                });
}

short MQN_ArcZXREx(short core, short crd, double x, double z, double radius, short circleDir,
                   double synVel, double synAcc, int32_t segNum, short option, short fifo)
{
    return call("MQN_ArcZXREx",
                {core, crd, x, z, radius, circleDir, synVel, synAcc, segNum, option, fifo},
                [&](VirtualController& c) {
                    return c.bufferArc(core, crd, fifo, Z, X, z, x, false, radius, 0, circleDir,
                                       synVel, synAcc, 0, segNum, true);
                });
}

short MQN_ArcXYCEx(short core, short crd, double x, double y, double xCenter, double yCenter,
                   short circleDir, double synVel, double synAcc, int32_t segNum, short option,
                   short fifo)
{
    return call(
        "MQN_ArcXYCEx",
        {core, crd, x, y, xCenter, yCenter, circleDir, synVel, synAcc, segNum, option, fifo},
        [&](VirtualController& c) {
            return c.bufferArc(core, crd, fifo, X, Y, x, y, true, xCenter, yCenter, circleDir,
                               synVel, synAcc, 0, segNum, true);
        });
}

short MQN_ArcYZCEx(short core, short crd, double y, double z, double yCenter, double zCenter,
                   short circleDir, double synVel, double synAcc, int32_t segNum, short option,
                   short fifo)
{
    return call(
        "MQN_ArcYZCEx",
        {core, crd, y, z, yCenter, zCenter, circleDir, synVel, synAcc, segNum, option, fifo},
        [&](VirtualController& c) {
            return c.bufferArc(core, crd, fifo, Y, Z, y, z, true, yCenter, zCenter, circleDir,
                               synVel, synAcc, 0, segNum, true);
        });
}

short MQN_ArcZXCEx(short core, short crd, double x, double z, double zCenter, double xCenter,
                   short circleDir, double synVel, double synAcc, int32_t segNum, short option,
                   short fifo)
{
    return call(
        "MQN_ArcZXCEx",
        {core, crd, x, z, zCenter, xCenter, circleDir, synVel, synAcc, segNum, option, fifo},
        [&](VirtualController& c) {
            return c.bufferArc(core, crd, fifo, Z, X, z, x, true, zCenter, xCenter, circleDir,
                               synVel, synAcc, 0, segNum, true);
        });
}

// --- Buffered I/O and auxiliary commands -----------------------------------------------------

short MQN_BufIO(short core, short crd, short doType, short doMask, short doValue, short fifo)
{
    return call("MQN_BufIO", {core, crd, doType, doMask, doValue, fifo}, [&](VirtualController& c) {
        return bufferIo(c, core, crd, doType, doMask, doValue, fifo, false);
    });
}

short MQN_BufIOEx(short core, short crd, short doType, short doMask, short doValue, short fifo)
{
    return call("MQN_BufIOEx", {core, crd, doType, doMask, doValue, fifo},
                [&](VirtualController& c) {
                    return bufferIo(c, core, crd, doType, doMask, doValue, fifo, true);
                });
}

short MQN_BufDelay(short core, short crd, short delayTime, short fifo)
{
    return call("MQN_BufDelay", {core, crd, delayTime, fifo}, [&](VirtualController& c) {
        return bufferDelay(c, core, crd, delayTime, fifo, false);
    });
}

short MQN_BufDelayEx(short core, short crd, short delayTime, short fifo)
{
    return call("MQN_BufDelayEx", {core, crd, delayTime, fifo}, [&](VirtualController& c) {
        return bufferDelay(c, core, crd, delayTime, fifo, true);
    });
}

short MQN_BufDA(short core, short crd, short channel, short value, short fifo)
{
    return call("MQN_BufDA", {core, crd, channel, value, fifo}, [&](VirtualController& c) {
        return bufferDa(c, core, crd, channel, value, fifo, false);
    });
}

short MQN_BufDAEx(short core, short crd, short channel, short value, short fifo)
{
    return call("MQN_BufDAEx", {core, crd, channel, value, fifo}, [&](VirtualController& c) {
        return bufferDa(c, core, crd, channel, value, fifo, true);
    });
}

short MQN_BufMove(short core, short crd, short moveAxis, int32_t pos, double vel, double acc,
                  short modal, short fifo)
{
    return call("MQN_BufMove", {core, crd, moveAxis, pos, vel, acc, modal, fifo},
                [&](VirtualController& c) {
                    return bufferMove(c, core, crd, moveAxis, pos, vel, acc, modal, fifo, false);
                });
}

short MQN_BufMoveEx(short core, short crd, short moveAxis, double pos, double vel, double acc,
                    short modal, short fifo)
{
    return call("MQN_BufMoveEx", {core, crd, moveAxis, pos, vel, acc, modal, fifo},
                [&](VirtualController& c) {
                    return bufferMove(c, core, crd, moveAxis, pos, vel, acc, modal, fifo, true);
                });
}

short MQN_BufGear(short core, short crd, short gearAxis, int32_t pos, short fifo)
{
    return call("MQN_BufGear", {core, crd, gearAxis, pos, fifo}, [&](VirtualController& c) {
        return bufferGear(c, core, crd, gearAxis, pos, fifo, false);
    });
}

short MQN_BufGearEx(short core, short crd, short gearAxis, double pos, short fifo)
{
    return call("MQN_BufGearEx", {core, crd, gearAxis, pos, fifo}, [&](VirtualController& c) {
        return bufferGear(c, core, crd, gearAxis, pos, fifo, true);
    });
}

short MQN_BufLmtsOn(short core, short crd, short axis, short limitType, short fifo)
{
    return call("MQN_BufLmtsOn", {core, crd, axis, limitType, fifo}, [&](VirtualController& c) {
        if (limitType != 0 && limitType != 1)
            return badArgument;
        return c.bufferOther(core, crd, fifo, other(Kind::LimitsOn, {axis, limitType}), false);
    });
}

short MQN_BufLmtsOff(short core, short crd, short axis, short limitType, short fifo)
{
    return call("MQN_BufLmtsOff", {core, crd, axis, limitType, fifo}, [&](VirtualController& c) {
        if (limitType != 0 && limitType != 1)
            return badArgument;
        return c.bufferOther(core, crd, fifo, other(Kind::LimitsOff, {axis, limitType}), false);
    });
}

short MQN_BufSetStopIo(short core, short crd, short axis, short stopType, short inputType,
                       short inputIndex, short fifo)
{
    return call("MQN_BufSetStopIo", {core, crd, axis, stopType, inputType, inputIndex, fifo},
                [&](VirtualController& c) {
                    if (stopType < 0 || stopType > 1 || inputType < 0 || inputType > 5
                        || inputIndex < 0 || inputIndex > 255)
                        return badArgument;
                    return c.bufferOther(
                        core, crd, fifo,
                        other(Kind::StopInput, {axis, stopType, inputType, inputIndex}), false);
                });
}

short MQN_BufLaserOnEx(short core, short crd, short fifo, short channel)
{
    return call("MQN_BufLaserOnEx", {core, crd, fifo, channel}, [&](VirtualController& c) {
        return bufferLaser(c, core, crd, fifo, channel, other(Kind::LaserOn, {channel}));
    });
}

short MQN_BufLaserOffEx(short core, short crd, short fifo, short channel)
{
    return call("MQN_BufLaserOffEx", {core, crd, fifo, channel}, [&](VirtualController& c) {
        return bufferLaser(c, core, crd, fifo, channel, other(Kind::LaserOff, {channel}));
    });
}

short MQN_BufLaserFollowModeEx(short core, short crd, short source, short fifo, short channel,
                               double startPower)
{
    return call("MQN_BufLaserFollowModeEx", {core, crd, source, fifo, channel, startPower},
                [&](VirtualController& c) {
                    if ((source != 0 && source != 1) || !std::isfinite(startPower))
                        return badArgument;
                    return bufferLaser(c, core, crd, fifo, channel,
                                       other(Kind::LaserFollowMode, {source}, {startPower}));
                });
}

short MQN_BufLaserFollowRatioEx(short core, short crd, double ratio, double powerMin,
                                double powerMax, short fifo, short channel)
{
    return call("MQN_BufLaserFollowRatioEx", {core, crd, ratio, powerMin, powerMax, fifo, channel},
                [&](VirtualController& c) {
                    if (!std::isfinite(ratio) || !std::isfinite(powerMin)
                        || !std::isfinite(powerMax))
                        return badArgument;
                    return bufferLaser(
                        c, core, crd, fifo, channel,
                        other(Kind::LaserFollowRatio, {channel}, {ratio, powerMin, powerMax}));
                });
}

short MQN_BufLaserFollowOffEx(short core, short crd, short fifo, short channel)
{
    return call("MQN_BufLaserFollowOffEx", {core, crd, fifo, channel}, [&](VirtualController& c) {
        return bufferLaser(c, core, crd, fifo, channel, other(Kind::LaserFollowOff, {channel}));
    });
}

short MQN_BufPosCompareStartEx(short core, short crd, short fifo, short option)
{
    return call("MQN_BufPosCompareStartEx", {core, crd, fifo, option}, [&](VirtualController& c) {
        return c.bufferOther(core, crd, fifo, other(Kind::PosCompareStart, {option}), true);
    });
}

short MQN_BufPosCompareStopEx(short core, short crd, short fifo, short option)
{
    return call("MQN_BufPosCompareStopEx", {core, crd, fifo, option}, [&](VirtualController& c) {
        return c.bufferOther(core, crd, fifo, other(Kind::PosCompareStop, {option}), true);
    });
}

} // extern "C"
