#ifndef RVSIM_LIBRARY_H
#define RVSIM_LIBRARY_H

#include "Journal.h"
#include "VirtualController.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
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

    std::optional<short> takeInjection(const char* operation);
};

Library& library();

// An operation on the controller, seen through a plain function pointer: every entry point then
// shares one copy of the way in, which keeps a poll's path through the library short. Refers to
// a callable that outlives the call it is passed to.
class OperationRef
{
public:
    template <typename F,
              typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, OperationRef>>>
    OperationRef(F&& operation)
        : object(&operation)
        , invoke([](void* o, VirtualController& c) -> short {
            return (*static_cast<std::remove_reference_t<F>*>(o))(c);
        })
    {}

    short operator()(VirtualController& controller) const { return invoke(object, controller); }

private:
    void* object;
    short (*invoke)(void*, VirtualController&);
};

// When an operation needs the controller brought to the current time: always, or only while
// something moves. A query of an idle controller gets the same answer at any time, so it leaves
// the clock unread.
enum class Timing { Always, WhileMoving };

// Runs one MQN_ operation: hold, journal, time, injection, then the operation itself.
short call(const char* name, JournalArgs args, OperationRef operation,
           Timing timing = Timing::Always);

} // namespace rvsim

#endif
