#include "VirtualController.h"

#include "Codes.h"
#include "Hot.h"

#include <fstream>

namespace rvsim {

namespace {
// Following error of the servo loop: the profile lags its command by this much time, halved by
// every learning run.
constexpr double servoLagMs = 1.0;
constexpr int learnedIterationsOfAFile = 8;
constexpr double maxIlcSamplesPerStep = 10000;
} // namespace

std::optional<std::vector<VirtualController::Selected>>
VirtualController::selectCrds(short core, short mask, short option)
{
    Core* c = coreAt(core);
    if (!c || mask <= 0 || mask >= (1 << cfg.crdsPerCore))
        return std::nullopt;
    std::vector<Selected> selected;
    for (int i = 0; i < cfg.crdsPerCore; ++i) {
        if (!(mask & (1 << i)))
            continue;
        const int fifo = (option >> i) & 1;
        if (fifo >= cfg.fifosPerCrd)
            return std::nullopt;
        selected.push_back({&c->crds[std::size_t(i)], fifo});
    }
    return selected;
}

short VirtualController::start(short core, short mask, short option)
{
    const auto selected = selectCrds(core, mask, option);
    if (!selected)
        return badArgument;
    for (const auto& [crd, fifo] : *selected) {
        const Fifo& f = crd->fifos[std::size_t(fifo)];
        if (!crd->running && f.queue.empty())
            return refused;
    }
    for (const auto& [crd, fifo] : *selected) {
        if (crd->running)
            continue;
        if (crd->activeOffset == 0)
            crd->completed = 0;
        crd->running = true;
        crd->hostWait = Crd::HostWait();
        crd->activeFifo = fifo;
        crd->now = clock;
        crd->activeStarted = false;
        crd->stopping = false;
        crd->ranEmpty = false;
        crd->velocity = 0;
    }
    return ok;
}

short VirtualController::clear(short core, short mask, short option)
{
    const auto selected = selectCrds(core, mask, option);
    if (!selected)
        return badArgument;
    for (const auto& [crd, fifo] : *selected) {
        if (crd->running)
            return refused;
    }
    for (const auto& [crd, fifo] : *selected) {
        Fifo& f = crd->fifos[std::size_t(fifo)];
        f.queue.clear();
        crd->activeStarted = false;
        crd->heldAt = std::numeric_limits<double>::quiet_NaN();
        crd->activeOffset = 0;
        crd->completed = 0;
        crd->ranEmpty = false;
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
    const bool moving
        = crd.activeStarted && f.queue.held() > 0 && f.queue.front().kind == Command::Kind::Motion;
    if (!moving) {
        crd.running = false;
        crd.activeStarted = false;
        crd.velocity = 0;
        return;
    }
    const Command& command = f.queue.front();
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
    crd.activeProfile.plan(distance, speed, speed, 0, acc);
    crd.activeStart = crd.now;
    crd.stopping = true;
}

RVSIM_HOT short VirtualController::status(short core, short crd, short fifo, short* run,
                                          int32_t* segment)
{
    Crd* c = crdAt(core, crd);
    if (!fifoAt(core, crd, fifo) || !run || !segment)
        return badArgument;
    *run = c->running ? 1 : 0;
    *segment = c->completed;
    return ok;
}

template <typename T, typename Read>
short VirtualController::readFifo(short core, short crd, short fifo, T* out, Read read)
{
    Fifo* f = fifoAt(core, crd, fifo);
    if (!f || !out)
        return badArgument;
    *out = read(*crdAt(core, crd), *f);
    return ok;
}

RVSIM_HOT short VirtualController::statusEx(short core, short crd, short fifo, CrdStatusEx* status)
{
    return readFifo(core, crd, fifo, status, [](const Crd& c, const Fifo& f) {
        CrdStatusEx s{};
        s.runEmpty = c.ranEmpty ? 1 : 0;
        s.run = c.running ? 1 : 0;
        s.completed = c.completed;
        s.remainder = int32_t(f.queue.held());
        s.userSegNum = c.userSegNum;
        return s;
    });
}

RVSIM_HOT short VirtualController::space(short core, short crd, short fifo, int32_t* space)
{
    return readFifo(core, crd, fifo, space,
                    [this](const Crd&, const Fifo& f) { return freePlaces(f); });
}

RVSIM_HOT short VirtualController::remainder(short core, short crd, short fifo, int32_t* count)
{
    return readFifo(core, crd, fifo, count,
                    [](const Crd&, const Fifo& f) { return int32_t(f.queue.held()); });
}

RVSIM_HOT short VirtualController::userSegNum(short core, short crd, short fifo, int32_t* segNum)
{
    return readFifo(core, crd, fifo, segNum,
                    [](const Crd& c, const Fifo&) { return c.userSegNum; });
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
    const double n = c->ilcSamples;
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
    // The servo samples every millisecond; a very long motion is sampled more coarsely, each
    // sample standing for the milliseconds it skips, so the work stays bounded.
    const double first = std::floor(std::max(crd.ilcLastSample, crd.activeStart)) + 1;
    const double count = std::floor(until - first) + 1;
    const double step = std::max(1.0, std::ceil(count / maxIlcSamplesPerStep));
    const double factor = servoLagMs * std::pow(0.5, crd.ilcLearned);
    for (double t = first; t <= until; t += step) {
        const double speed
            = crd.activeProfile.velocityAt(t - crd.activeStart) * command.pulsesPerUnit[0];
        const double error = speed * factor;
        crd.ilcMax = std::max(crd.ilcMax, error);
        crd.ilcSum += error * step;
        crd.ilcSumSquares += error * error * step;
        crd.ilcSamples += step;
    }
    crd.ilcLastSample = until;
}

} // namespace rvsim
