#include "VirtualController.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

namespace rvsim {

namespace {

constexpr short ok = 0;
constexpr short refused = 1;
constexpr short badArgument = 7;
constexpr std::size_t pathCapacity = 1000000;
constexpr double degree = 3.14159265358979323846 / 180;
// Following error of the servo loop: the profile lags its command by this much time, halved by
// every learning run.
constexpr double servoLagMs = 1.0;
constexpr int learnedIterationsOfAFile = 8;

bool finite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool blocksMotion(const Command& command)
{
    return command.kind == Command::Kind::Delay
           || (command.kind == Command::Kind::Move && command.value[1] != 0);
}

// Highest path speed at which the corner between two motions keeps every axis's speed change
// within its DVMax.
double cornerSpeed(const Command& from, const Command& to)
{
    const AxisVector out = from.geometry.directionAt(from.geometry.length);
    const AxisVector in = to.geometry.directionAt(0);
    double limit = std::numeric_limits<double>::infinity();
    for (int i = 0; i < crdAxisCount; ++i) {
        const double change = std::abs(in[i] - out[i]);
        if (change > 1e-12)
            limit = std::min(limit, to.axisDVMax[i] / change);
    }
    return limit;
}

} // namespace

VirtualController::VirtualController(const Config& config)
    : cfg(config)
{
    cores.resize(std::size_t(cfg.cores));
    for (Core& core : cores) {
        core.crds.resize(std::size_t(cfg.crdsPerCore));
        core.profiles.resize(std::size_t(cfg.profilesPerCore));
        for (Crd& crd : core.crds)
            crd.fifos.resize(std::size_t(cfg.fifosPerCrd));
    }
}

Core* VirtualController::coreAt(short core)
{
    return (core >= 1 && core <= cfg.cores) ? &cores[std::size_t(core - 1)] : nullptr;
}

Crd* VirtualController::crdAt(short core, short crd)
{
    Core* c = coreAt(core);
    return (c && crd >= 1 && crd <= cfg.crdsPerCore) ? &c->crds[std::size_t(crd - 1)] : nullptr;
}

Fifo* VirtualController::fifoAt(short core, short crd, short fifo)
{
    Crd* c = crdAt(core, crd);
    return (c && fifo >= 0 && fifo < cfg.fifosPerCrd) ? &c->fifos[std::size_t(fifo)] : nullptr;
}

bool VirtualController::validProfile(short core, short profile) const
{
    return core >= 1 && core <= cfg.cores && profile >= 1 && profile <= cfg.profilesPerCore;
}

// --- Set-up ------------------------------------------------------------------------------------

short VirtualController::resourceCount(short core, short type, short* count)
{
    if (!coreAt(core) || type != RV_RES_CRD || !count)
        return badArgument;
    *count = short(cfg.crdsPerCore);
    return ok;
}

short VirtualController::resourceMax(short core, short type, short* max)
{
    if (!coreAt(core) || type != RV_RES_CRD || !max)
        return badArgument;
    *max = short(cfg.profilesPerCore);
    return ok;
}

short VirtualController::setCrdPrm(short core, short crd, const CrdPrm* prm)
{
    Crd* c = crdAt(core, crd);
    if (!c || !prm || prm->dimension < 1 || prm->dimension > crdAxisCount
        || prm->evenTime < 0 || !finite({prm->synVelMax, prm->synAccMax}))
        return badArgument;
    for (int k = 0; k < 8; ++k) {
        const short axis = prm->profile[k];
        if (axis < 0 || axis > prm->dimension)
            return badArgument;
        if (axis > 0 && c->mapBase + k > cfg.profilesPerCore)
            return badArgument;
    }
    if (c->running)
        return refused;
    std::memcpy(&c->prm, prm, sizeof *prm);
    updateAxisMap(*c);
    return ok;
}

template <typename T, typename Read>
short VirtualController::readCrd(short core, short crd, T* out, Read read)
{
    Crd* c = crdAt(core, crd);
    if (!c || !out)
        return badArgument;
    *out = read(*c);
    return ok;
}

short VirtualController::getCrdPrm(short core, short crd, CrdPrm* prm)
{
    Crd* c = crdAt(core, crd);
    if (!c || !prm)
        return badArgument;
    std::memcpy(prm, &c->prm, sizeof *prm); // byte for byte, padding included
    return ok;
}

short VirtualController::setMapBase(short core, short crd, short base)
{
    Crd* c = crdAt(core, crd);
    if (!c || base < 1 || base > cfg.profilesPerCore)
        return badArgument;
    if (c->running)
        return refused;
    c->mapBase = base;
    updateAxisMap(*c);
    return ok;
}

short VirtualController::getMapBase(short core, short crd, short* base)
{
    return readCrd(core, crd, base, [](const Crd& c) { return c.mapBase; });
}

void VirtualController::updateAxisMap(Crd& crd)
{
    std::fill(std::begin(crd.axisProfile), std::end(crd.axisProfile), -1);
    for (int k = 0; k < 8; ++k) {
        const int axis = crd.prm.profile[k];
        const int profile = crd.mapBase - 1 + k;
        if (axis >= 1 && axis <= crdAxisCount && profile < cfg.profilesPerCore)
            crd.axisProfile[axis - 1] = profile;
    }
}

short VirtualController::setupLookAhead(short core, short crd)
{
    Crd* c = crdAt(core, crd);
    if (!c)
        return badArgument;
    if (c->running)
        return refused;
    c->lookAheadSetUp = true;
    return ok;
}

short VirtualController::initLookAhead(short core, short crd, const LookAheadPrmEx* prm)
{
    Crd* c = crdAt(core, crd);
    if (!c || !prm || prm->N < 0 || prm->N > 100000 || !std::isfinite(prm->T))
        return badArgument;
    const int axes = c->prm.dimension > 0 ? c->prm.dimension : crdAxisCount;
    for (int i = 0; i < axes; ++i) {
        if (!(prm->Scale[i] > 0) || !(prm->VMax[i] > 0) || !(prm->AMax[i] > 0)
            || !(prm->DVMax[i] > 0) || !finite({prm->Scale[i], prm->VMax[i], prm->AMax[i],
                                                prm->DVMax[i]}))
            return badArgument;
    }
    if (!c->lookAheadSetUp || c->running)
        return refused;
    std::memcpy(&c->lookAheadPrm, prm, sizeof *prm);
    c->lookAheadReady = true;
    return ok;
}

short VirtualController::getLookAhead(short core, short crd, short fifo, LookAheadPrmEx* prm)
{
    if (!fifoAt(core, crd, fifo) || !prm)
        return badArgument;
    std::memcpy(prm, &crdAt(core, crd)->lookAheadPrm, sizeof *prm);
    return ok;
}

short VirtualController::setJerk(short core, short crd, double jerk)
{
    Crd* c = crdAt(core, crd);
    if (!c || !std::isfinite(jerk))
        return badArgument;
    c->jerk = jerk;
    return ok;
}

short VirtualController::getJerk(short core, short crd, double* jerk)
{
    return readCrd(core, crd, jerk, [](const Crd& c) { return c.jerk; });
}

short VirtualController::setContour(short core, short crd, short enable, double kp)
{
    Crd* c = crdAt(core, crd);
    if (!c || (enable != 0 && enable != 1) || !std::isfinite(kp))
        return badArgument;
    c->contourEnable = enable;
    c->contourKp = kp;
    return ok;
}

short VirtualController::getContour(short core, short crd, short* enable, double* kp)
{
    Crd* c = crdAt(core, crd);
    if (!c || !enable || !kp)
        return badArgument;
    *enable = c->contourEnable;
    *kp = c->contourKp;
    return ok;
}

short VirtualController::setBlending(short core, short crd, short type, double para,
                                     double minAngle, double maxAngle)
{
    Crd* c = crdAt(core, crd);
    if (!c || !finite({para, minAngle, maxAngle}))
        return badArgument;
    c->blendParaType = type;
    c->blendPara = para;
    c->blendMinAngle = minAngle;
    c->blendMaxAngle = maxAngle;
    return ok;
}

short VirtualController::getBlending(short core, short crd, short* type, double* para,
                                     double* minAngle, double* maxAngle)
{
    Crd* c = crdAt(core, crd);
    if (!c || !type || !para || !minAngle || !maxAngle)
        return badArgument;
    *type = c->blendParaType;
    *para = c->blendPara;
    *minAngle = c->blendMinAngle;
    *maxAngle = c->blendMaxAngle;
    return ok;
}

// --- Positions ---------------------------------------------------------------------------------

AxisVector VirtualController::axes(const Core& core, const Crd& crd) const
{
    AxisVector p = crd.freeAxes;
    for (int i = 0; i < crdAxisCount; ++i) {
        if (crd.axisProfile[i] < 0)
            continue;
        const double origin = crd.prm.setOriginFlag ? crd.prm.originPos[i] : 0;
        p[i] = core.profiles[std::size_t(crd.axisProfile[i])].position - origin;
    }
    return p;
}

void VirtualController::setAxes(Core& core, Crd& crd, const AxisVector& pulses)
{
    crd.freeAxes = pulses;
    for (int i = 0; i < crdAxisCount; ++i) {
        if (crd.axisProfile[i] < 0)
            continue;
        const double origin = crd.prm.setOriginFlag ? crd.prm.originPos[i] : 0;
        core.profiles[std::size_t(crd.axisProfile[i])].position = pulses[i] + origin;
    }
}

short VirtualController::profilePosition(short core, short profile, short count, double* pos,
                                         uint32_t* clockOut)
{
    if (!pos || count < 1 || !validProfile(core, profile)
        || profile + count - 1 > cfg.profilesPerCore)
        return badArgument;
    const Core& c = cores[std::size_t(core - 1)];
    for (int i = 0; i < count; ++i)
        pos[i] = c.profiles[std::size_t(profile - 1 + i)].position;
    if (clockOut)
        *clockOut = uint32_t(std::fmod(clock, 4294967296.0));
    return ok;
}

short VirtualController::zeroPosition(short core, short profile, short count)
{
    if (count < 1 || !validProfile(core, profile) || profile + count - 1 > cfg.profilesPerCore)
        return badArgument;
    Core& c = cores[std::size_t(core - 1)];
    const int first = profile - 1;
    const int last = first + count - 1;
    for (const Crd& crd : c.crds) {
        if (!crd.running)
            continue;
        for (int p : crd.axisProfile) {
            if (p >= first && p <= last)
                return refused;
        }
    }
    for (int p = first; p <= last; ++p) {
        if (c.profiles[std::size_t(p)].moving)
            return refused;
    }
    for (int p = first; p <= last; ++p)
        c.profiles[std::size_t(p)].position = 0;
    return ok;
}

// --- Buffering ---------------------------------------------------------------------------------

AxisVector VirtualController::queueStart(const Core& core, const Crd& crd, const Fifo& fifo) const
{
    if (fifo.commands.empty() && fifo.lookAhead.empty())
        return axes(core, crd);
    return fifo.queuedEnd;
}

short VirtualController::enqueue(Crd& crd, Fifo& fifo, Command&& command, bool lookAhead)
{
    const std::size_t capacity = std::size_t(cfg.fifoCapacity);
    const std::size_t held = std::size_t(std::max(0, crd.lookAheadPrm.N));
    // Once anything waits in the look-ahead queue, everything queues behind it to keep order.
    const bool throughLookAhead =
        (lookAhead && crd.lookAheadReady && held > 0) || !fifo.lookAhead.empty();
    if (!throughLookAhead) {
        if (fifo.commands.size() >= capacity)
            return refused;
    } else if (fifo.lookAhead.size() >= held) {
        if (fifo.commands.size() >= capacity)
            return refused;
        fifo.commands.push_back(std::move(fifo.lookAhead.front()));
        fifo.lookAhead.pop_front();
    }
    if (command.kind == Command::Kind::Motion) {
        for (int i = 0; i < crdAxisCount; ++i)
            fifo.queuedEnd[i] = command.geometry.end[i] * command.pulsesPerUnit[i];
    }
    (throughLookAhead ? fifo.lookAhead : fifo.commands).push_back(std::move(command));
    return ok;
}

bool VirtualController::prepareMotion(const Crd& crd, Command& command, bool lookAhead,
                                      double synVel, double synAcc, double velEnd) const
{
    if (!finite({synVel, synAcc, velEnd}) || !(synVel > 0) || !(synAcc > 0) || velEnd < 0)
        return false;
    command.kind = Command::Kind::Motion;
    command.lookAhead = lookAhead;
    double velMax = crd.prm.synVelMax;
    double accMax = crd.prm.synAccMax;
    if (lookAhead) {
        const LookAheadPrmEx& la = crd.lookAheadPrm;
        for (int i = 0; i < crdAxisCount; ++i) {
            command.pulsesPerUnit[i] = la.Scale[i] > 0 ? la.Scale[i] : 1;
            command.axisVMax[i] = la.VMax[i] / 1000;
            command.axisAMax[i] = la.AMax[i] / 1e6;
            command.axisDVMax[i] = la.DVMax[i] / 1000;
        }
        synVel /= 1000;
        synAcc /= 1e6;
        velMax /= command.pulsesPerUnit[0];
        accMax /= command.pulsesPerUnit[0];
    }
    command.vMax = velMax > 0 ? std::min(synVel, velMax) : synVel;
    command.acc = accMax > 0 ? std::min(synAcc, accMax) : synAcc;
    command.velEnd = velEnd;
    if (!lookAhead)
        return true;
    // Keep every axis within its own limits along the whole segment.
    const Geometry& g = command.geometry;
    for (int i = 0; i < crdAxisCount; ++i) {
        double share = std::abs(g.directionAt(0)[i]);
        if (g.isArc && (i == g.a || i == g.b))
            share = 1;
        if (share > 1e-12 && command.axisVMax[i] > 0) {
            command.vMax = std::min(command.vMax, command.axisVMax[i] / share);
            command.acc = std::min(command.acc, command.axisAMax[i] / share);
        }
    }
    return true;
}

short VirtualController::bufferLine(short core, short crd, short fifo,
                                    std::initializer_list<int> axisList,
                                    std::initializer_list<double> target, double synVel,
                                    double synAcc, double velEnd, int32_t segNum, bool lookAhead)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || !std::all_of(target.begin(), target.end(), [](double v) { return std::isfinite(v); }))
        return badArgument;
    Core& c = cores[std::size_t(core - 1)];
    Crd& cs = c.crds[std::size_t(crd - 1)];
    if (cs.prm.dimension == 0 || (lookAhead && !cs.lookAheadReady))
        return refused;
    for (int axis : axisList) {
        if (axis >= cs.prm.dimension)
            return badArgument;
    }
    Command command;
    command.segNum = segNum;
    AxisVector start = queueStart(c, cs, *f);
    if (lookAhead) {
        for (int i = 0; i < crdAxisCount; ++i)
            start[i] /= cs.lookAheadPrm.Scale[i] > 0 ? cs.lookAheadPrm.Scale[i] : 1;
    }
    AxisVector end = start;
    auto value = target.begin();
    for (int axis : axisList)
        end[std::size_t(axis)] = *value++;
    command.geometry = Geometry::line(start, end);
    if (!prepareMotion(cs, command, lookAhead, synVel, synAcc, velEnd))
        return badArgument;
    return enqueue(cs, *f, std::move(command), lookAhead);
}

short VirtualController::bufferArc(short core, short crd, short fifo, int a, int b, double endA,
                                   double endB, bool byCentre, double radiusOrCentreA,
                                   double centreB, short circleDir, double synVel, double synAcc,
                                   double velEnd, int32_t segNum, bool lookAhead)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || (circleDir != 0 && circleDir != 1)
        || !finite({endA, endB, radiusOrCentreA, centreB}))
        return badArgument;
    Core& c = cores[std::size_t(core - 1)];
    Crd& cs = c.crds[std::size_t(crd - 1)];
    if (cs.prm.dimension == 0 || (lookAhead && !cs.lookAheadReady))
        return refused;
    if (a >= cs.prm.dimension || b >= cs.prm.dimension)
        return badArgument;
    Command command;
    command.segNum = segNum;
    AxisVector start = queueStart(c, cs, *f);
    double pulsesPerUnit = 1;
    if (lookAhead) {
        for (int i = 0; i < crdAxisCount; ++i)
            start[i] /= cs.lookAheadPrm.Scale[i] > 0 ? cs.lookAheadPrm.Scale[i] : 1;
        pulsesPerUnit = std::min(cs.lookAheadPrm.Scale[a], cs.lookAheadPrm.Scale[b]);
    }
    AxisVector end = start;
    end[std::size_t(a)] = endA;
    end[std::size_t(b)] = endB;
    // Plain end points are whole pulses, so they may miss the circle by a little.
    const double tolerance = 2.0 / pulsesPerUnit;
    const bool ccw = circleDir == 1;
    const std::optional<Geometry> geometry =
        byCentre ? Geometry::arcByCentre(start, end, a, b, radiusOrCentreA, centreB, ccw, tolerance)
                 : Geometry::arcByRadius(start, end, a, b, radiusOrCentreA, ccw);
    if (!geometry)
        return badArgument;
    command.geometry = *geometry;
    if (!prepareMotion(cs, command, lookAhead, synVel, synAcc, velEnd))
        return badArgument;
    return enqueue(cs, *f, std::move(command), lookAhead);
}

short VirtualController::bufferOther(short core, short crd, short fifo, Command command,
                                     bool lookAhead)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f)
        return badArgument;
    const bool profileCommand = command.kind == Command::Kind::Move
                                || command.kind == Command::Kind::Gear
                                || command.kind == Command::Kind::LimitsOn
                                || command.kind == Command::Kind::LimitsOff
                                || command.kind == Command::Kind::StopInput;
    if (profileCommand && !validProfile(core, command.value[0]))
        return badArgument;
    return enqueue(*crdAt(core, crd), *f, std::move(command), lookAhead);
}

short VirtualController::pushLookAhead(short core, short crd, short fifo)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f)
        return badArgument;
    while (!f->lookAhead.empty() && f->commands.size() < std::size_t(cfg.fifoCapacity)) {
        f->commands.push_back(std::move(f->lookAhead.front()));
        f->lookAhead.pop_front();
    }
    return f->lookAhead.empty() ? ok : refused;
}

// --- Run control -------------------------------------------------------------------------------

short VirtualController::start(short core, short mask, short option)
{
    Core* c = coreAt(core);
    if (!c || mask <= 0 || mask >= (1 << cfg.crdsPerCore))
        return badArgument;
    for (int i = 0; i < cfg.crdsPerCore; ++i) {
        if (!(mask & (1 << i)))
            continue;
        const int fifo = (option >> i) & 1;
        if (fifo >= cfg.fifosPerCrd)
            return badArgument;
        const Crd& crd = c->crds[std::size_t(i)];
        const Fifo& f = crd.fifos[std::size_t(fifo)];
        if (!crd.running && f.commands.empty() && f.lookAhead.empty())
            return refused;
    }
    for (int i = 0; i < cfg.crdsPerCore; ++i) {
        Crd& crd = c->crds[std::size_t(i)];
        if (!(mask & (1 << i)) || crd.running)
            continue;
        if (crd.activeOffset == 0)
            crd.completed = 0;
        crd.running = true;
        crd.activeFifo = (option >> i) & 1;
        crd.now = clock;
        crd.activeStarted = false;
        crd.stopping = false;
        crd.ranEmpty = false;
        crd.velocity = 0;
    }
    return ok;
}

short VirtualController::clear(short core, short mask, short option)
{
    Core* c = coreAt(core);
    if (!c || mask <= 0 || mask >= (1 << cfg.crdsPerCore))
        return badArgument;
    for (int i = 0; i < cfg.crdsPerCore; ++i) {
        if (!(mask & (1 << i)))
            continue;
        if (((option >> i) & 1) >= cfg.fifosPerCrd)
            return badArgument;
        if (c->crds[std::size_t(i)].running)
            return refused;
    }
    for (int i = 0; i < cfg.crdsPerCore; ++i) {
        if (!(mask & (1 << i)))
            continue;
        Crd& crd = c->crds[std::size_t(i)];
        Fifo& f = crd.fifos[std::size_t((option >> i) & 1)];
        f.commands.clear();
        f.lookAhead.clear();
        crd.activeStarted = false;
        crd.activeOffset = 0;
        crd.completed = 0;
        crd.ranEmpty = false;
    }
    return ok;
}

short VirtualController::stop(short core, int32_t profileMask, int32_t option)
{
    Core* c = coreAt(core);
    if (!c)
        return badArgument;
    auto inMask = [](int32_t mask, int profile) {
        return profile >= 0 && profile < 32 && (uint32_t(mask) & (1u << profile));
    };
    for (Crd& crd : c->crds) {
        for (int profile : crd.axisProfile) {
            if (inMask(profileMask, profile)) {
                stopCrd(*c, crd, inMask(option, profile));
                break;
            }
        }
    }
    for (int p = 0; p < cfg.profilesPerCore; ++p) {
        Profile& profile = c->profiles[std::size_t(p)];
        if (profile.moving && inMask(profileMask, p))
            profile.moving = false;
    }
    return ok;
}

void VirtualController::stopCrd(Core& core, Crd& crd, bool abrupt)
{
    if (!crd.running || crd.stopping)
        return;
    Fifo& f = crd.fifos[std::size_t(crd.activeFifo)];
    const bool moving = crd.activeStarted && !f.commands.empty()
                        && f.commands.front().kind == Command::Kind::Motion;
    if (!moving) {
        crd.running = false;
        crd.activeStarted = false;
        crd.velocity = 0;
        return;
    }
    const Command& command = f.commands.front();
    const double elapsed = crd.now - crd.activeStart;
    const double done = crd.activeProfile.distanceAt(elapsed);
    const double speed = crd.activeProfile.velocityAt(elapsed);
    crd.activeOffset += done;
    placeAt(core, crd, command, crd.activeOffset);
    const double remaining = command.geometry.length - crd.activeOffset;
    if (abrupt || !(speed > 0) || !(remaining > 0)) {
        crd.running = false;
        crd.activeStarted = false;
        crd.velocity = 0;
        return;
    }
    // Decelerate along the path; a segment too short for that brakes harder to stop at its end.
    double acc = command.acc;
    double distance = speed * speed / (2 * acc);
    if (distance > remaining) {
        distance = remaining;
        acc = speed * speed / (2 * remaining);
    }
    crd.activeProfile = SpeedProfile::plan(distance, speed, speed, 0, acc);
    crd.activeStart = crd.now;
    crd.stopping = true;
}

short VirtualController::status(short core, short crd, short fifo, short* run, int32_t* segment)
{
    Crd* c = crdAt(core, crd);
    if (!fifoAt(core, crd, fifo) || !run || !segment)
        return badArgument;
    *run = c->running ? 1 : 0;
    *segment = c->completed;
    return ok;
}

short VirtualController::statusEx(short core, short crd, short fifo, CrdStatusEx* status)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || !status)
        return badArgument;
    const Crd& c = *crdAt(core, crd);
    status->runEmpty = c.ranEmpty ? 1 : 0;
    status->run = c.running ? 1 : 0;
    status->completed = c.completed;
    status->remainder = int32_t(f->commands.size());
    status->userSegNum = c.userSegNum;
    return ok;
}

short VirtualController::space(short core, short crd, short fifo, int32_t* space)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || !space)
        return badArgument;
    *space = int32_t(cfg.fifoCapacity) - int32_t(f->commands.size());
    return ok;
}

short VirtualController::remainder(short core, short crd, short fifo, int32_t* count)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || !count)
        return badArgument;
    *count = int32_t(f->commands.size());
    return ok;
}

short VirtualController::userSegNum(short core, short crd, short fifo, int32_t* segNum)
{
    if (!fifoAt(core, crd, fifo) || !segNum)
        return badArgument;
    *segNum = crdAt(core, crd)->userSegNum;
    return ok;
}

// --- Learning ----------------------------------------------------------------------------------

short VirtualController::initIlc(short core)
{
    Core* c = coreAt(core);
    if (!c)
        return badArgument;
    for (Crd& crd : c->crds) {
        crd.ilcLearned = 0;
        crd.ilcRecording = false;
    }
    return ok;
}

short VirtualController::startIlc(short core, short crd)
{
    Crd* c = crdAt(core, crd);
    if (!c)
        return badArgument;
    c->ilcRecording = true;
    c->ilcMax = c->ilcSum = c->ilcSumSquares = 0;
    c->ilcSamples = 0;
    c->ilcLastSample = clock;
    return ok;
}

short VirtualController::stopIlc(short core, short crd, IlcErrorRecord* error)
{
    Crd* c = crdAt(core, crd);
    if (!c || !error)
        return badArgument;
    if (!c->ilcRecording)
        return refused;
    const double n = double(c->ilcSamples);
    error->maxError = c->ilcMax;
    error->averageError = n > 0 ? c->ilcSum / n : 0;
    error->rmsError = n > 0 ? std::sqrt(c->ilcSumSquares / n) : 0;
    c->ilcRecording = false;
    ++c->ilcLearned;
    return ok;
}

short VirtualController::loadIlcFile(short core, short crd, const char* path)
{
    Crd* c = crdAt(core, crd);
    if (!c || !path)
        return badArgument;
    std::ifstream file(path, std::ios::binary);
    if (!file || file.peek() == std::ifstream::traits_type::eof())
        return refused;
    c->ilcLearned = learnedIterationsOfAFile;
    return ok;
}

void VirtualController::sampleIlc(Crd& crd, const Command& command, double until)
{
    if (!crd.ilcRecording)
        return;
    const double factor = servoLagMs * std::pow(0.5, crd.ilcLearned);
    double t = std::floor(std::max(crd.ilcLastSample, crd.activeStart)) + 1;
    for (; t <= until; t += 1) {
        const double speed =
            crd.activeProfile.velocityAt(t - crd.activeStart) * command.pulsesPerUnit[0];
        const double error = speed * factor;
        crd.ilcMax = std::max(crd.ilcMax, error);
        crd.ilcSum += error;
        crd.ilcSumSquares += error * error;
        ++crd.ilcSamples;
    }
    crd.ilcLastSample = until;
}

// --- Execution ---------------------------------------------------------------------------------

void VirtualController::advanceTo(double now)
{
    clock = std::max(clock, now);
    for (Core& core : cores) {
        for (std::size_t i = 0; i < core.crds.size(); ++i)
            advanceCrd(core, short(i + 1), core.crds[i], clock);
        advanceProfiles(core, clock);
    }
}

void VirtualController::advanceProfiles(Core& core, double until)
{
    for (Profile& p : core.profiles) {
        if (!p.moving)
            continue;
        const double t = until - p.moveStartTime;
        p.position = p.moveFrom + p.moveDirection * p.move.distanceAt(t);
        if (t >= p.move.duration())
            p.moving = false;
    }
}

void VirtualController::advanceCrd(Core& core, short crdNumber, Crd& crd, double until)
{
    while (crd.running) {
        Fifo& f = crd.fifos[std::size_t(crd.activeFifo)];
        if (f.commands.empty()) {
            if (f.lookAhead.empty()) {
                crd.running = false;
                break;
            }
            // Starved: more is announced but not yet passed on to the FIFO.
            crd.ranEmpty = true;
            crd.velocity = 0;
            break;
        }
        Command& front = f.commands.front();
        if (!crd.activeStarted)
            beginFront(core, crdNumber, crd, front);
        const double end = frontEndTime(core, crd, front);
        if (end > until) {
            if (front.kind == Command::Kind::Motion) {
                moveAlong(core, crd, front, until);
                sampleIlc(crd, front, until);
            }
            break;
        }
        crd.now = std::max(crd.now, end);
        finishFront(core, crdNumber, crd, f);
    }
    if (!crd.running) {
        crd.velocity = 0;
        crd.stopping = false;
    }
    crd.now = until;
}

void VirtualController::beginFront(Core& core, short crdNumber, Crd& crd, Command& command)
{
    crd.activeStarted = true;
    crd.activeStart = crd.now;
    switch (command.kind) {
    case Command::Kind::Motion: {
        crd.userSegNum = command.segNum;
        const double v0 = crd.velocity * crd.unitScale / command.pulsesPerUnit[0];
        const double remaining = command.geometry.length - crd.activeOffset;
        const double vEnd =
            command.lookAhead
                ? plannedEndVelocity(crd.fifos[std::size_t(crd.activeFifo)])
                : command.velEnd;
        crd.activeProfile = SpeedProfile::plan(remaining, v0, command.vMax, vEnd, command.acc);
        recordPath(crdNumber, crd, core, crd.now);
        break;
    }
    case Command::Kind::Move: {
        Profile& p = core.profiles[std::size_t(command.value[0] - 1)];
        const double distance = command.real[0] - p.position;
        p.moving = true;
        p.moveFrom = p.position;
        p.moveDirection = distance < 0 ? -1 : 1;
        p.moveStartTime = crd.now;
        p.move = SpeedProfile::plan(std::abs(distance), 0, command.real[1], 0, command.real[2]);
        break;
    }
    case Command::Kind::Delay:
        break;
    default:
        applyOther(core, crd, command);
        break;
    }
}

double VirtualController::frontEndTime(const Core& core, const Crd& crd,
                                       const Command& command) const
{
    switch (command.kind) {
    case Command::Kind::Motion:
        return crd.activeStart + crd.activeProfile.duration();
    case Command::Kind::Delay:
        return crd.activeStart + std::max<short>(0, command.value[0]);
    case Command::Kind::Move: {
        if (command.value[1] == 0)
            return crd.activeStart;
        const Profile& p = core.profiles[std::size_t(command.value[0] - 1)];
        return p.moving ? p.moveStartTime + p.move.duration() : crd.activeStart;
    }
    default:
        return crd.activeStart;
    }
}

void VirtualController::finishFront(Core& core, short crdNumber, Crd& crd, Fifo& fifo)
{
    Command& front = fifo.commands.front();
    if (front.kind == Command::Kind::Motion) {
        sampleIlc(crd, front, crd.now);
        const double reached = crd.activeOffset + crd.activeProfile.length;
        recordArcSamples(crdNumber, crd, front, crd.activeOffset, reached);
        crd.velocity = crd.activeProfile.v1;
        crd.unitScale = front.pulsesPerUnit[0];
        if (crd.stopping && reached < front.geometry.length * (1 - 1e-12)) {
            crd.activeOffset = reached;
            placeAt(core, crd, front, reached);
            recordPath(crdNumber, crd, core, crd.now);
            crd.activeStarted = false;
            crd.running = false;
            return;
        }
        AxisVector end;
        for (int i = 0; i < crdAxisCount; ++i)
            end[i] = front.geometry.end[i] * front.pulsesPerUnit[i];
        setAxes(core, crd, end);
        recordPath(crdNumber, crd, core, crd.now);
    } else if (front.kind == Command::Kind::Delay) {
        crd.velocity = 0;
    }
    fifo.commands.pop_front();
    ++crd.completed;
    crd.activeStarted = false;
    crd.activeOffset = 0;
    if (crd.stopping)
        crd.running = false;
}

void VirtualController::moveAlong(Core& core, Crd& crd, const Command& command, double time)
{
    placeAt(core, crd, command,
            crd.activeOffset + crd.activeProfile.distanceAt(time - crd.activeStart));
}

void VirtualController::placeAt(Core& core, Crd& crd, const Command& command, double distance)
{
    AxisVector p = command.geometry.pointAt(distance);
    for (int i = 0; i < crdAxisCount; ++i)
        p[i] *= command.pulsesPerUnit[i];
    setAxes(core, crd, p);
}

void VirtualController::applyOther(Core& core, Crd& /*crd*/, const Command& command)
{
    RvsimOutputs& out = core.outputs;
    const short* v = command.value;
    const int profile = v[0] - 1;
    const bool tracked = profile >= 0 && profile < 16;
    switch (command.kind) {
    case Command::Kind::DigitalOutput: {
        unsigned short& word = out.digital[v[0] - 10];
        word = static_cast<unsigned short>((word & ~v[1]) | (v[2] & v[1]));
        break;
    }
    case Command::Kind::AnalogOutput:
        out.analog[v[0] - 1] = v[1];
        break;
    case Command::Kind::Gear:
        if (tracked)
            out.gearDistance[profile] = command.real[0];
        break;
    case Command::Kind::LimitsOn:
        if (tracked)
            out.limitsOff[profile] = short(out.limitsOff[profile] & ~(1 << v[1]));
        break;
    case Command::Kind::LimitsOff:
        if (tracked)
            out.limitsOff[profile] = short(out.limitsOff[profile] | (1 << v[1]));
        break;
    case Command::Kind::StopInput:
        if (tracked)
            out.stopInput[profile] = short(v[2] * 256 + v[3] + 1);
        break;
    case Command::Kind::LaserOn:
        out.laserOn = 1;
        break;
    case Command::Kind::LaserOff:
        out.laserOn = 0;
        break;
    case Command::Kind::LaserFollowMode:
        out.laserFollowOn = 1;
        out.laserFollowSource = v[0];
        break;
    case Command::Kind::LaserFollowRatio:
        out.laserFollowRatio = command.real[0];
        out.laserPowerMin = command.real[1];
        out.laserPowerMax = command.real[2];
        break;
    case Command::Kind::LaserFollowOff:
        out.laserFollowOn = 0;
        break;
    case Command::Kind::PosCompareStart:
        out.posCompareOn = 1;
        break;
    case Command::Kind::PosCompareStop:
        out.posCompareOn = 0;
        break;
    default:
        break;
    }
}

double VirtualController::plannedEndVelocity(const Fifo& fifo) const
{
    struct Step
    {
        double corner, vMax, acc, length;
    };
    const Command& current = fifo.commands.front();
    std::vector<Step> steps;
    const Command* previous = &current;
    double horizon = 0;
    bool open = false; // the following path is long enough not to limit this segment's end
    bool more = true;
    auto visit = [&](const Command& next) {
        if (next.kind != Command::Kind::Motion) {
            more = !blocksMotion(next);
            return;
        }
        if (!next.lookAhead || next.pulsesPerUnit != current.pulsesPerUnit) {
            more = false;
            return;
        }
        steps.push_back({cornerSpeed(*previous, next), next.vMax, next.acc,
                         next.geometry.length});
        previous = &next;
        horizon += next.geometry.length;
        if (std::sqrt(2 * next.acc * horizon) >= current.vMax || steps.size() >= 4096) {
            open = true;
            more = false;
        }
    };
    for (std::size_t i = 1; i < fifo.commands.size() && more; ++i)
        visit(fifo.commands[i]);
    for (std::size_t i = 0; i < fifo.lookAhead.size() && more; ++i)
        visit(fifo.lookAhead[i]);

    double v = open ? std::numeric_limits<double>::infinity() : 0;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        v = std::min({step->corner, step->vMax, std::sqrt(v * v + 2 * step->acc * step->length)});
    return steps.empty() ? 0 : v;
}

// --- Observation -------------------------------------------------------------------------------

bool VirtualController::outputs(short core, RvsimOutputs* out) const
{
    if (core < 1 || core > cfg.cores || !out)
        return false;
    *out = cores[std::size_t(core - 1)].outputs;
    return true;
}

void VirtualController::recordPath(short crdNumber, const Crd& crd, const Core& core, double time)
{
    if (!pathOn)
        return;
    if (pathPoints.size() == pathCapacity)
        pathPoints.pop_front();
    pathPoints.push_back({crdNumber, time, axes(core, crd)});
}

void VirtualController::recordArcSamples(short crdNumber, const Crd& crd, const Command& command,
                                         double from, double to)
{
    const Geometry& g = command.geometry;
    if (!pathOn || !g.isArc || !(g.radius > 0))
        return;
    const double step = g.radius * 10 * degree;
    for (double s = (std::floor(from / step) + 1) * step; s < to; s += step) {
        AxisVector p = g.pointAt(s);
        for (int i = 0; i < crdAxisCount; ++i)
            p[i] *= command.pulsesPerUnit[i];
        const double time = crd.activeStart + crd.activeProfile.timeAt(s - from);
        if (pathPoints.size() == pathCapacity)
            pathPoints.pop_front();
        pathPoints.push_back({crdNumber, time, p});
    }
}

} // namespace rvsim
