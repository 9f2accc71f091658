#include "VirtualController.h"

#include "Hot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rvsim {

void VirtualController::advanceTo(double now)
{
    clock = std::max(clock, now);
    for (Core& core : cores) {
        for (std::size_t i = 0; i < core.crds.size(); ++i)
            advanceCrd(core, short(i + 1), core.crds[i], clock);
        advanceProfiles(core, clock);
    }
}

RVSIM_HOT bool VirtualController::moving() const
{
    for (const Core& core : cores) {
        if (core.profileMoving)
            return true;
        for (const Crd& crd : core.crds) {
            if (crd.running)
                return true;
        }
    }
    return false;
}

void VirtualController::advanceProfiles(Core& core, double until)
{
    if (!core.profileMoving)
        return;
    core.profileMoving = false;
    for (Profile& p : core.profiles) {
        if (!p.moving)
            continue;
        const double t = until - p.moveStartTime;
        p.position = p.moveFrom + p.moveDirection * p.move.distanceAt(t);
        if (t >= p.move.duration())
            p.moving = false;
        core.profileMoving = core.profileMoving || p.moving;
    }
}

void VirtualController::advanceCrd(Core& core, short crdNumber, Crd& crd, double until)
{
    while (crd.running) {
        Fifo& f = crd.fifos[std::size_t(crd.activeFifo)];
        if (f.queue.held() == 0) {
            if (f.queue.empty()) {
                crd.running = false;
                break;
            }
            // Starved: more is announced but not yet passed on to the FIFO.
            crd.ranEmpty = true;
            crd.velocity = 0;
            break;
        }
        Command& front = f.queue.front();
        if (!crd.activeStarted) {
            if (until == crd.heldAt || (crd.holdCutShort && viewCutShort(f))) {
                crd.heldAt = until;
                break;
            }
            beginFront(core, crdNumber, crd, front);
        }
        const double end = frontEndTime(core, crd, front);
        if (end > until) {
            // A motion that begins now stands where the one before it ended.
            if (front.kind == Command::Kind::Motion && until > crd.activeStart) {
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

bool VirtualController::viewCutShort(Fifo& fifo)
{
    const Command& front = fifo.queue.front();
    if (front.kind != Command::Kind::Motion || !front.lookAhead)
        return false;
    fifo.plan.endSpeed(fifo.queue);
    return fifo.plan.cutShort();
}

void VirtualController::beginFront(Core& core, short crdNumber, Crd& crd, Command& command)
{
    crd.heldAt = std::numeric_limits<double>::quiet_NaN();
    crd.activeStarted = true;
    crd.activeStart = crd.now;
    crd.placedAt = -1;
    switch (command.kind) {
    case Command::Kind::Motion: {
        crd.userSegNum = command.segNum;
        const double v0 = crd.velocity * crd.unitScale / command.pulsesPerUnit[0];
        const double remaining = command.geometry.length - crd.activeOffset;
        Fifo& fifo = crd.fifos[std::size_t(crd.activeFifo)];
        const double vEnd = command.lookAhead ? fifo.plan.endSpeed(fifo.queue) : command.velEnd;
        crd.activeProfile.plan(remaining, v0, command.vMax, vEnd, command.acc);
        recordPath(crdNumber, crd, core, crd.now, command.rapid);
        break;
    }
    case Command::Kind::Move: {
        Profile& p = core.profiles[std::size_t(command.value[0] - 1)];
        const double distance = command.real[0] - p.position;
        p.moving = true;
        core.profileMoving = true;
        p.moveFrom = p.position;
        p.moveDirection = distance < 0 ? -1 : 1;
        p.moveStartTime = crd.now;
        p.move.plan(std::abs(distance), 0, command.real[1], 0, command.real[2]);
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
    Command& front = fifo.queue.front();
    if (front.kind == Command::Kind::Motion) {
        sampleIlc(crd, front, crd.now);
        const double reached = crd.activeOffset + crd.activeProfile.length;
        recordArcSamples(crdNumber, crd, front, crd.activeOffset, reached);
        crd.velocity = crd.activeProfile.v1;
        crd.unitScale = front.pulsesPerUnit[0];
        if (crd.stopping && reached < front.geometry.length * (1 - 1e-12)) {
            crd.activeOffset = reached;
            placeAt(core, crd, front, reached);
            recordPath(crdNumber, crd, core, crd.now, front.rapid);
            crd.activeStarted = false;
            crd.running = false;
            return;
        }
        AxisVector end;
        for (int i = 0; i < crdAxisCount; ++i)
            end[i] = front.geometry.end[i] * front.pulsesPerUnit[i];
        setAxes(core, crd, end);
        recordPath(crdNumber, crd, core, crd.now, front.rapid);
    } else if (front.kind == Command::Kind::Delay) {
        crd.velocity = 0;
    }
    fifo.queue.popFront();
    ++crd.completed;
    crd.activeStarted = false;
    crd.activeOffset = 0;
    if (crd.stopping)
        crd.running = false;
}

void VirtualController::moveAlong(Core& core, Crd& crd, const Command& command, double time)
{
    if (crd.placedAt == time)
        return;
    placeAt(core, crd, command,
            crd.activeOffset + crd.activeProfile.distanceAt(time - crd.activeStart));
    crd.placedAt = time;
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

} // namespace rvsim
