#ifndef RVSIM_LIBRARY_H
#define RVSIM_LIBRARY_H

#include "Journal.h"
#include "VirtualController.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

namespace rvsim {

// Simulated time in ms: the wall clock times a scale, or a manual clock.
class SimClock
{
public:
    double now() const;
    bool isManual() const { return manual; }
    void useManual(bool on);
    void advance(double ms);
    // To exactly `ms` on the manual clock, however it was reached.
    void advanceTo(double ms);
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

// Holds one chosen call on its way in, so that a test can act exactly between two calls of
// another thread.
class CallHold
{
public:
    // Holds the call of `operation` that comes after `passing` more of it went through.
    void arm(const char* operation, int passing);
    // Called by every call before it takes effect; waits while this call is the one held.
    void pass(const char* operation)
    {
        if (armed.load(std::memory_order_acquire))
            holdIfChosen(operation);
    }
    bool waitUntilHolding(int timeoutMs);
    // Lets the held call go on and disarms.
    void release();

private:
    void holdIfChosen(const char* operation);

    std::atomic<bool> armed{false};
    std::mutex mutex;
    std::condition_variable changed;
    std::string operation;
    int passing = 0;
    bool holding = false;
    bool released = false;
};

// The one controller of the process, with what the test interface adds around it.
struct Library
{
    std::mutex mutex;
    std::unique_ptr<VirtualController> controller = std::make_unique<VirtualController>();
    Journal journal;
    std::unordered_map<std::string, Injection> injections;
    SimClock clock;
    CallHold hold;
    // The time the controller was last brought to with nothing changed since: a call then finds
    // it there already. Not a number when something may have changed.
    double settledAt = std::numeric_limits<double>::quiet_NaN();

    // Whether a test injected any code; outside a test no call asks for one.
    bool injecting() const { return !injections.empty(); }
    // The code injected for the operation's next call, if any.
    std::optional<short> takeInjection(const char* operation);
};

Library& library();

// When an operation needs the controller brought to the current time: always, or only while
// something moves. A query of an idle controller gets the same answer at any time, so it leaves
// the clock unread.
enum class Timing { Always, WhileMoving };

// Runs one MQN_ operation: hold, journal, time, injection, then the operation itself.
template <typename Operation>
short call(const char* name, JournalArgs args, Operation&& operation,
           Timing timing = Timing::Always)
{
    Library& lib = library();
    lib.hold.pass(name);
    std::lock_guard<std::mutex> lock(lib.mutex);
    if (lib.journal.enabled())
        lib.journal.record(name, args);
    const double now = lib.clock.now();
    const bool query = timing == Timing::WhileMoving;
    if (now != lib.settledAt && (!query || lib.controller->moving())) {
        lib.controller->advanceTo(now);
        lib.settledAt = now;
    }
    // Anything but a query may change what the time, played out again, does; a command queued
    // behind one that executes does not.
    if (lib.injecting()) {
        if (const std::optional<short> injected = lib.takeInjection(name)) {
            if (!query)
                lib.settledAt = std::numeric_limits<double>::quiet_NaN();
            return *injected;
        }
    }
    const short code = operation(*lib.controller);
    if (!query && !lib.controller->takeQueuedBehind())
        lib.settledAt = std::numeric_limits<double>::quiet_NaN();
    return code;
}

// A status query: brings the controller to the current time only while something moves.
template <typename Operation> short query(const char* name, JournalArgs args, Operation&& operation)
{
    return call(name, args, std::forward<Operation>(operation), Timing::WhileMoving);
}

} // namespace rvsim

#endif
