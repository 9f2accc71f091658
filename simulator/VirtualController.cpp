#include "VirtualController.h"

#include "Codes.h"
#include "Hot.h"

#include <cstring>

namespace rvsim {

namespace {
constexpr std::size_t pathCapacity = 1000000;
constexpr double degree = 3.14159265358979323846 / 180;
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

RVSIM_HOT Core* VirtualController::coreAt(short core)
{
    return (core >= 1 && core <= cfg.cores) ? &cores[std::size_t(core - 1)] : nullptr;
}

RVSIM_HOT Crd* VirtualController::crdAt(short core, short crd)
{
    Core* c = coreAt(core);
    return (c && crd >= 1 && crd <= cfg.crdsPerCore) ? &c->crds[std::size_t(crd - 1)] : nullptr;
}

RVSIM_HOT Fifo* VirtualController::fifoAt(short core, short crd, short fifo)
{
    Crd* c = crdAt(core, crd);
    return (c && fifo >= 0 && fifo < cfg.fifosPerCrd) ? &c->fifos[std::size_t(fifo)] : nullptr;
}

RVSIM_HOT bool VirtualController::validProfile(short core, short profile) const
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
    if (!c || !prm || prm->dimension < 1 || prm->dimension > crdAxisCount || prm->evenTime < 0
        || !finite(prm->synVelMax, prm->synAccMax))
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
            || !(prm->DVMax[i] > 0)
            || !finite(prm->Scale[i], prm->VMax[i], prm->AMax[i], prm->DVMax[i]))
            return badArgument;
    }
    if (!c->lookAheadSetUp || c->running)
        return refused;
    std::memcpy(&c->lookAheadPrm, prm, sizeof *prm);
    for (std::size_t i = 0; i < std::size_t(crdAxisCount); ++i) {
        c->lookAheadLimits.scale[i] = prm->Scale[i] > 0 ? prm->Scale[i] : 1;
        c->lookAheadLimits.vMax[i] = prm->VMax[i] / 1000;
        c->lookAheadLimits.aMax[i] = prm->AMax[i] / 1e6;
        c->lookAheadLimits.dvMax[i] = prm->DVMax[i] / 1000;
    }
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
    if (!c || !finite(para, minAngle, maxAngle))
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
    crd.placedAt = -1;
    crd.freeAxes = pulses;
    for (int i = 0; i < crdAxisCount; ++i) {
        if (crd.axisProfile[i] < 0)
            continue;
        const double origin = crd.prm.setOriginFlag ? crd.prm.originPos[i] : 0;
        core.profiles[std::size_t(crd.axisProfile[i])].position = pulses[i] + origin;
    }
}

RVSIM_HOT short VirtualController::profilePosition(short core, short profile, short count,
                                                   double* pos, uint32_t* clockOut)
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
// --- Observation -------------------------------------------------------------------------------

bool VirtualController::outputs(short core, RvsimOutputs* out) const
{
    if (core < 1 || core > cfg.cores || !out)
        return false;
    *out = cores[std::size_t(core - 1)].outputs;
    return true;
}

double VirtualController::timeLeft(short core, short crd) const
{
    if (core < 1 || core > cfg.cores || crd < 1 || crd > cfg.crdsPerCore)
        return 0;
    VirtualController scratch(cfg);
    scratch.cores = cores;
    scratch.clock = clock;
    Core& played = scratch.cores[std::size_t(core - 1)];
    Crd& c = played.crds[std::size_t(crd - 1)];
    Fifo& fifo = c.fifos[std::size_t(c.activeFifo)];
    double end = clock;
    while (c.running && fifo.queue.held() > 0) {
        if (!c.activeStarted)
            scratch.beginFront(played, crd, c, fifo.queue.front());
        end = std::max(c.now, scratch.frontEndTime(played, c, fifo.queue.front()));
        c.now = end;
        scratch.finishFront(played, crd, c, fifo);
    }
    return end - clock;
}

double VirtualController::executingEnd(const Core& core, const Crd& crd) const
{
    const Fifo& fifo = crd.fifos[std::size_t(crd.activeFifo)];
    if (!crd.running || !crd.activeStarted || fifo.queue.held() == 0)
        return -1;
    return frontEndTime(core, crd, fifo.queue.front());
}

void VirtualController::beginHostWait(const Core& core, Crd& crd, const RvsimHostWaits& waits)
{
    Crd::HostWait& wait = crd.hostWait;
    const double frontEndsAt = executingEnd(core, crd);
    double at = clock;
    double stepMs = waits.firstStepMs;
    wait.begun = true;
    wait.givesUp = false;
    // A host waiting this many steps for one command has given up on it, whatever its limit.
    constexpr int64_t mostSteps = int64_t(1) << 24;
    int64_t steps = 0;
    do {
        if (at - waits.startMs >= waits.longestCycleMs || steps++ == mostSteps) {
            wait.givesUp = true;
            break;
        }
        at += stepMs;
        stepMs = std::min(2 * stepMs, waits.longestStepMs);
    } while (frontEndsAt > at);
    wait.endsAt = at;
}

bool VirtualController::waitAsHost(short core, short crd, short fifo, const RvsimHostWaits& waits,
                                   RvsimHostWait& state)
{
    const Fifo* f = fifoAt(core, crd, fifo);
    if (!f || !finite(waits.firstStepMs, waits.longestStepMs, waits.startMs, waits.longestCycleMs)
        || !(waits.firstStepMs > 0) || !(waits.longestStepMs > 0))
        return false;
    Core& c = cores[std::size_t(core - 1)];
    Crd& system = c.crds[std::size_t(crd - 1)];
    Crd::HostWait& wait = system.hostWait;
    const int32_t refillPlaces = std::clamp(waits.refillPlaces, 1, cfg.fifoCapacity);
    // A front held here begins now: what it waited for is queued.
    if (system.heldAt == clock) {
        system.heldAt = std::numeric_limits<double>::quiet_NaN();
        advanceTo(clock);
    }
    if (!wait.begun) {
        wait.completedAtRefill = system.completed;
        beginHostWait(c, system, waits);
    }
    state.leaveFree = 0;
    state.gaveUp = 0;
    // From one event to the next: a command's end, played out, or the end of the host's wait,
    // where only the host's count changes. A command ending with the wait ends first.
    for (;;) {
        const double end = executingEnd(c, system);
        if (end > clock && end <= wait.endsAt) {
            system.holdCutShort = wait.refillSkipped;
            advanceCrd(c, crd, system, end);
            system.holdCutShort = false;
            clock = end;
            if (system.heldAt == clock) {
                state.leaveFree = system.completed - wait.completedAtRefill;
                wait.refillSkipped = false;
                break;
            }
            continue;
        }
        if (!system.running)
            break;
        clock = std::max(clock, wait.endsAt);
        // Nothing executes: a front not begun begins here, or the FIFO stays starved.
        if (end < 0)
            advanceCrd(c, crd, system, clock);
        if (wait.givesUp) {
            state.leaveFree = system.completed - wait.completedAtRefill;
            state.gaveUp = 1;
            break;
        }
        wait.completedAtRefill = system.completed;
        beginHostWait(c, system, waits);
        if (freePlaces(*f) >= refillPlaces) {
            wait.refillSkipped = false;
            break;
        }
        wait.refillSkipped = true;
    }
    advanceTo(clock);
    state.timeMs = clock;
    return true;
}

void VirtualController::recordPath(short crdNumber, const Crd& crd, const Core& core, double time,
                                   bool rapid)
{
    latestPathTime = time;
    if (!pathOn)
        return;
    if (pathPoints.size() == pathCapacity)
        pathPoints.pop_front();
    pathPoints.push_back({crdNumber, time, axes(core, crd), rapid});
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
        pathPoints.push_back({crdNumber, time, p, false});
    }
}

} // namespace rvsim
