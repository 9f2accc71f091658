#include "VirtualController.h"

#include "Codes.h"

namespace rvsim {

namespace {

// Every point of the path, in pulses, stays within the travel a position can take.
bool withinTravel(const Geometry& g, const AxisVector& pulsesPerUnit)
{
    if (!std::isfinite(g.length))
        return false;
    for (int i = 0; i < crdAxisCount; ++i) {
        double reach = std::max(std::abs(g.start[i]), std::abs(g.end[i]));
        if (g.isArc && i == g.a)
            reach = std::abs(g.centreA) + g.radius;
        if (g.isArc && i == g.b)
            reach = std::abs(g.centreB) + g.radius;
        if (!(reach * pulsesPerUnit[i] <= maxTravelPulses))
            return false;
    }
    return true;
}

} // namespace

AxisVector VirtualController::queueStart(const Core& core, const Crd& crd, const Fifo& fifo) const
{
    if (fifo.queue.empty())
        return axes(core, crd);
    return fifo.queuedEnd;
}

Command& VirtualController::stage(const Crd& crd, Fifo& fifo) const
{
    fifo.queue.reserve(std::size_t(cfg.fifoCapacity)
                       + std::size_t(std::max(0, crd.lookAheadPrm.N)));
    return fifo.queue.stage();
}

short VirtualController::enqueue(Crd& crd, Fifo& fifo, bool lookAhead)
{
    const std::size_t capacity = std::size_t(cfg.fifoCapacity);
    const std::size_t held = std::size_t(std::max(0, crd.lookAheadPrm.N));
    CommandQueue& queue = fifo.queue;
    Command& command = queue.stage();
    // Once anything waits in the look-ahead queue, everything queues behind it to keep order.
    const bool throughLookAhead
        = (lookAhead && crd.lookAheadReady && held > 0) || queue.waiting() > 0;
    if (!throughLookAhead) {
        if (queue.held() >= capacity)
            return refused;
    } else if (queue.waiting() >= held) {
        if (queue.held() >= capacity)
            return refused;
        queue.admitNext();
    }
    if (command.kind == Command::Kind::Motion) {
        for (int i = 0; i < crdAxisCount; ++i)
            fifo.queuedEnd[i] = command.geometry.end[i] * command.pulsesPerUnit[i];
    }
    command.serial = fifo.nextSerial++;
    queue.push();
    if (!throughLookAhead)
        queue.admitNext();
    queuedBehind
        = !crd.running || &fifo != &crd.fifos[std::size_t(crd.activeFifo)] || crd.activeStarted;
    return ok;
}

bool VirtualController::prepareMotion(const Crd& crd, Command& command, bool lookAhead,
                                      double synVel, double synAcc, double velEnd) const
{
    if (!finite(synVel, synAcc, velEnd) || !(synVel > 0) || !(synAcc > 0) || velEnd < 0)
        return false;
    command.kind = Command::Kind::Motion;
    command.lookAhead = lookAhead;
    double velMax = crd.prm.synVelMax;
    double accMax = crd.prm.synAccMax;
    if (lookAhead) {
        const Crd::LookAheadLimits& limits = crd.lookAheadLimits;
        command.pulsesPerUnit = limits.scale;
        command.axisDVMax = limits.dvMax;
        synVel /= 1000;
        synAcc /= 1e6;
        velMax /= command.pulsesPerUnit[0];
        accMax /= command.pulsesPerUnit[0];
    }
    if (!withinTravel(command.geometry, command.pulsesPerUnit))
        return false;
    command.vMax = velMax > 0 ? std::min(synVel, velMax) : synVel;
    command.acc = accMax > 0 ? std::min(synAcc, accMax) : synAcc;
    command.velEnd = velEnd;
    if (lookAhead) {
        // Keep every axis within its own limits along the whole segment.
        const Crd::LookAheadLimits& limits = crd.lookAheadLimits;
        const Geometry& g = command.geometry;
        for (int i = 0; i < crdAxisCount; ++i) {
            double share = std::abs(g.entry[i]);
            if (g.isArc && (i == g.a || i == g.b))
                share = 1;
            if (share > 1e-12 && limits.vMax[i] > 0) {
                command.vMax = std::min(command.vMax, limits.vMax[i] / share);
                command.acc = std::min(command.acc, limits.aMax[i] / share);
            }
        }
    }
    return command.vMax >= slowestSpeed && command.acc >= slowestAcceleration;
}

short VirtualController::bufferLine(short core, short crd, short fifo,
                                    std::initializer_list<int> axisList,
                                    std::initializer_list<double> target, double synVel,
                                    double synAcc, double velEnd, int32_t segNum, bool lookAhead,
                                    bool rapid)
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
    const AxisVector queued = queueStart(c, cs, *f);
    Command& command = stage(cs, *f);
    command.startMotion();
    command.segNum = segNum;
    command.rapid = rapid;
    Geometry& line = command.geometry;
    static constexpr AxisVector pulses{1, 1, 1, 1, 1};
    const AxisVector& scale = lookAhead ? cs.lookAheadLimits.scale : pulses;
    for (int i = 0; i < crdAxisCount; ++i)
        line.start[i] = line.end[i] = queued[i] / scale[i];
    auto value = target.begin();
    for (int axis : axisList)
        line.end[std::size_t(axis)] = *value++;
    line.makeLine();
    if (!prepareMotion(cs, command, lookAhead, synVel, synAcc, velEnd))
        return badArgument;
    return enqueue(cs, *f, lookAhead);
}

short VirtualController::bufferArc(short core, short crd, short fifo, int a, int b, double endA,
                                   double endB, bool byCentre, double radiusOrCentreA,
                                   double centreB, short circleDir, double synVel, double synAcc,
                                   double velEnd, int32_t segNum, bool lookAhead)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || (circleDir != 0 && circleDir != 1) || !finite(endA, endB, radiusOrCentreA, centreB))
        return badArgument;
    Core& c = cores[std::size_t(core - 1)];
    Crd& cs = c.crds[std::size_t(crd - 1)];
    if (cs.prm.dimension == 0 || (lookAhead && !cs.lookAheadReady))
        return refused;
    if (a >= cs.prm.dimension || b >= cs.prm.dimension)
        return badArgument;
    AxisVector start = queueStart(c, cs, *f);
    double pulsesPerUnit = 1;
    if (lookAhead) {
        for (int i = 0; i < crdAxisCount; ++i)
            start[i] /= cs.lookAheadLimits.scale[i];
        pulsesPerUnit = std::min(cs.lookAheadPrm.Scale[a], cs.lookAheadPrm.Scale[b]);
    }
    AxisVector end = start;
    end[std::size_t(a)] = endA;
    end[std::size_t(b)] = endB;
    // Plain end points are whole pulses, so they may miss the circle by a little.
    const double tolerance = 2.0 / pulsesPerUnit;
    const bool ccw = circleDir == 1;
    const std::optional<Geometry> geometry
        = byCentre
              ? Geometry::arcByCentre(start, end, a, b, radiusOrCentreA, centreB, ccw, tolerance)
              : Geometry::arcByRadius(start, end, a, b, radiusOrCentreA, ccw);
    if (!geometry)
        return badArgument;
    Command& command = stage(cs, *f);
    command.startMotion();
    command.segNum = segNum;
    command.geometry = *geometry;
    if (!prepareMotion(cs, command, lookAhead, synVel, synAcc, velEnd))
        return badArgument;
    return enqueue(cs, *f, lookAhead);
}

short VirtualController::bufferOther(short core, short crd, short fifo, Command command,
                                     bool lookAhead)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f)
        return badArgument;
    const bool profileCommand
        = command.kind == Command::Kind::Move || command.kind == Command::Kind::Gear
          || command.kind == Command::Kind::LimitsOn || command.kind == Command::Kind::LimitsOff
          || command.kind == Command::Kind::StopInput;
    if (profileCommand && !validProfile(core, command.value[0]))
        return badArgument;
    Crd& cs = *crdAt(core, crd);
    stage(cs, *f) = std::move(command);
    return enqueue(cs, *f, lookAhead);
}

short VirtualController::pushLookAhead(short core, short crd)
{
    Crd* c = crdAt(core, crd);
    if (!c)
        return badArgument;
    bool emptied = true;
    for (Fifo& f : c->fifos) {
        while (f.queue.waiting() > 0 && f.queue.held() < std::size_t(cfg.fifoCapacity))
            f.queue.admitNext();
        emptied = emptied && f.queue.waiting() == 0;
    }
    return emptied ? ok : refused;
}

} // namespace rvsim
