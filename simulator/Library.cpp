#include "Library.h"

#include "Hot.h"

#include <algorithm>
#include <cmath>

namespace rvsim {

double SimClock::now() const
{
    if (manual)
        return baseMs;
    const std::chrono::duration<double, std::milli> elapsed = Wall::now() - baseWall;
    return baseMs + elapsed.count() * scale;
}

void SimClock::rebase(double simulatedNow)
{
    baseMs = simulatedNow;
    baseWall = Wall::now();
}

void SimClock::useManual(bool on)
{
    rebase(now());
    manual = on;
}

void SimClock::advance(double ms)
{
    if (std::isfinite(ms) && ms > 0)
        baseMs += ms;
}

void SimClock::advanceTo(double ms)
{
    if (!manual)
        advance(ms - now());
    else if (std::isfinite(ms) && ms > baseMs)
        baseMs = ms;
}

void SimClock::setScale(double factor)
{
    if (!std::isfinite(factor))
        return;
    rebase(now());
    scale = std::clamp(factor, 1.0, 1e6);
}

std::optional<short> Library::takeInjection(const char* operation)
{
    const auto found = injections.find(operation);
    if (found == injections.end())
        return std::nullopt;
    const short code = found->second.code;
    if (found->second.times > 0 && --found->second.times == 0)
        injections.erase(found);
    return code;
}

void CallHold::arm(const char* name, int calls)
{
    std::lock_guard<std::mutex> lock(mutex);
    operation = name ? name : "";
    passing = std::max(calls, 0);
    released = false;
    armed = true;
}

void CallHold::holdIfChosen(const char* name)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!armed || operation != name)
        return;
    if (passing > 0) {
        --passing;
        return;
    }
    armed = false;
    holding = true;
    changed.notify_all();
    changed.wait(lock, [this] { return released; });
    holding = false;
}

bool CallHold::waitUntilHolding(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                            [this] { return holding; });
}

void CallHold::release()
{
    std::lock_guard<std::mutex> lock(mutex);
    armed = false;
    released = true;
    changed.notify_all();
}

namespace {

// Made as the library loads, before anyone can call it: a call then only returns it, rather
// than first asking whether it is made yet.
Library instance;

} // namespace

RVSIM_HOT Library& library()
{
    return instance;
}

} // namespace rvsim
