#ifndef RVSIM_LIBRARY_H
#define RVSIM_LIBRARY_H

#include "Journal.h"
#include "VirtualController.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace rvsim {

// Simulated time in ms: the wall clock times a scale, or a manual clock.
class SimClock
{
public:
    double now() const;
    void useManual(bool on);
    void advance(double ms);
    void setScale(double factor);

private:
    void rebase(double simulatedNow);

    using Wall = std::chrono::steady_clock;
    bool manual = false;
    double scale = 1;
    double baseMs = 0;
    Wall::time_point baseWall = Wall::now();
};

struct Injection
{
    short code;
    int times; // -1: every call
};

// The one controller of the process, with what the test interface adds around it.
struct Library
{
    std::mutex mutex;
    std::unique_ptr<VirtualController> controller = std::make_unique<VirtualController>();
    Journal journal;
    std::unordered_map<std::string, Injection> injections;
    SimClock clock;

    std::optional<short> takeInjection(const char* operation);
};

Library& library();

// Runs one MQN_ operation: journal, time, injection, then the operation itself.
template <typename Operation> short call(const char* name, JournalArgs args, Operation&& operation)
{
    Library& lib = library();
    std::lock_guard<std::mutex> lock(lib.mutex);
    if (lib.journal.enabled())
        lib.journal.record(name, args);
    lib.controller->advanceTo(lib.clock.now());
    if (const std::optional<short> injected = lib.takeInjection(name))
        return *injected;
    return operation(*lib.controller);
}

} // namespace rvsim

#endif
