#include "rvsim.h"

#include "Library.h"

#include <cmath>
#include <limits>

using rvsim::Library;
using rvsim::library;

namespace {

// Runs `body` on the library under its lock.
template <typename Body> auto locked(Body&& body)
{
    Library& lib = library();
    std::lock_guard<std::mutex> lock(lib.mutex);
    return body(lib);
}

void resetTo(Library& lib, const rvsim::Config& config)
{
    lib.controller = std::make_unique<rvsim::VirtualController>(config);
    lib.journal.clear();
    lib.journal.enable(false);
    lib.injections.clear();
    lib.clock = rvsim::SimClock();
    lib.settledAt = std::numeric_limits<double>::quiet_NaN();
}

} // namespace

extern "C" {

void rvsim_reset(void)
{
    library().hold.release();
    locked([](Library& lib) { resetTo(lib, rvsim::Config()); });
}

void rvsim_configure(int cores, int crdsPerCore, int fifosPerCrd, int profilesPerCore,
                     int fifoCapacity)
{
    rvsim::Config config;
    auto pick = [](int value, int& field, int highest) {
        if (value >= 1)
            field = std::min(value, highest);
    };
    pick(cores, config.cores, 16);
    pick(crdsPerCore, config.crdsPerCore, 15);
    pick(fifosPerCrd, config.fifosPerCrd, 2);
    pick(profilesPerCore, config.profilesPerCore, 32);
    pick(fifoCapacity, config.fifoCapacity, 1 << 24);
    locked([&](Library& lib) { resetTo(lib, config); });
}

void rvsim_hold(const char* operation, int passing)
{
    library().hold.arm(operation, passing);
}

int rvsim_wait_held(int timeoutMs)
{
    return library().hold.waitUntilHolding(timeoutMs) ? 1 : 0;
}

void rvsim_release(void)
{
    library().hold.release();
}

void rvsim_journal_enable(int on)
{
    locked([=](Library& lib) { lib.journal.enable(on != 0); });
}

int rvsim_journal_count(void)
{
    return locked([](Library& lib) { return int(lib.journal.size()); });
}

const char* rvsim_journal_entry(int index)
{
    thread_local std::string entry;
    const bool found = locked([&](Library& lib) {
        if (index < 0 || std::size_t(index) >= lib.journal.size())
            return false;
        entry = lib.journal.at(std::size_t(index));
        return true;
    });
    return found ? entry.c_str() : nullptr;
}

void rvsim_journal_clear(void)
{
    locked([](Library& lib) { lib.journal.clear(); });
}

void rvsim_inject(const char* operation, short code, int times)
{
    if (!operation)
        return;
    locked([&](Library& lib) {
        if (times == 0 || times < -1)
            lib.injections.erase(operation);
        else
            lib.injections[operation] = rvsim::Injection{code, times};
    });
}

void rvsim_use_manual_clock(int on)
{
    locked([=](Library& lib) { lib.clock.useManual(on != 0); });
}

void rvsim_advance_ms(double ms)
{
    locked([=](Library& lib) {
        lib.clock.advance(ms);
        lib.controller->advanceTo(lib.clock.now());
        lib.settledAt = lib.clock.now();
    });
}

void rvsim_advance_to_ms(double ms)
{
    locked([=](Library& lib) {
        lib.clock.advanceTo(ms);
        lib.controller->advanceTo(lib.clock.now());
        lib.settledAt = lib.clock.now();
    });
}

void rvsim_set_time_scale(double factor)
{
    locked([=](Library& lib) { lib.clock.setScale(factor); });
}

double rvsim_now_ms(void)
{
    return locked([](Library& lib) { return lib.clock.now(); });
}

void rvsim_path_enable(int on)
{
    locked([=](Library& lib) { lib.controller->enablePath(on != 0); });
}

int rvsim_path_count(void)
{
    return locked([](Library& lib) { return int(lib.controller->path().size()); });
}

short rvsim_path_point(int index, short* crd, double* timeMs, double* positions)
{
    return locked([&](Library& lib) -> short {
        const auto& path = lib.controller->path();
        if (index < 0 || std::size_t(index) >= path.size())
            return 7;
        const rvsim::PathPoint& point = path[std::size_t(index)];
        if (crd)
            *crd = point.crd;
        if (timeMs)
            *timeMs = point.time;
        if (positions)
            std::copy(point.position.begin(), point.position.end(), positions);
        return 0;
    });
}

int rvsim_path_point_rapid(int index)
{
    return locked([&](Library& lib) {
        const auto& path = lib.controller->path();
        if (index < 0 || std::size_t(index) >= path.size())
            return -1;
        return path[std::size_t(index)].rapid ? 1 : 0;
    });
}

void rvsim_path_clear(void)
{
    locked([](Library& lib) { lib.controller->clearPath(); });
}

double rvsim_path_end_ms(void)
{
    return locked([](Library& lib) { return lib.controller->pathEnd(); });
}

short rvsim_wait_as_host(short core, short crd, short fifo, const RvsimHostWaits* waits,
                         RvsimHostWait* state)
{
    return locked([=](Library& lib) -> short {
        if (!lib.clock.isManual() || !waits || !state)
            return 7;
        if (lib.settledAt != lib.clock.now())
            lib.controller->advanceTo(lib.clock.now());
        if (!lib.controller->waitAsHost(core, crd, fifo, *waits, *state))
            return 7;
        lib.clock.advanceTo(state->timeMs);
        lib.settledAt = lib.clock.now();
        return 0;
    });
}

double rvsim_time_left_ms(short core, short crd)
{
    return locked([&](Library& lib) {
        lib.controller->advanceTo(lib.clock.now());
        return lib.controller->timeLeft(core, crd);
    });
}

short rvsim_outputs(short core, RvsimOutputs* outputs)
{
    return locked([&](Library& lib) -> short {
        lib.controller->advanceTo(lib.clock.now());
        return lib.controller->outputs(core, outputs) ? 0 : 7;
    });
}

} // extern "C"
