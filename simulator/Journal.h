#ifndef RVSIM_JOURNAL_H
#define RVSIM_JOURNAL_H

#include "rvAPI.h"

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <type_traits>

namespace rvsim {

// One argument of a journalled call, formatted only when the journal is on.
class JournalArg
{
public:
    template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    JournalArg(T value)
        : kind(Kind::Integer)
        , integer(static_cast<long long>(value))
    {}
    JournalArg(double value)
        : kind(Kind::Real)
        , real(value)
    {}
    JournalArg(const char* text)
        : kind(text ? Kind::Text : Kind::Null)
        , pointer(text)
    {}
    JournalArg(const CrdPrm* record)
        : kind(record ? Kind::CrdRecord : Kind::Null)
        , pointer(record)
    {}
    JournalArg(const LookAheadPrmEx* record)
        : kind(record ? Kind::LookAheadRecord : Kind::Null)
        , pointer(record)
    {}

    // A pointer the operation writes through, or an opaque one: "out", or "null".
    static JournalArg out(const void* pointer)
    {
        return JournalArg(pointer ? Kind::Out : Kind::Null, pointer);
    }

    void appendTo(std::string& line) const;

private:
    enum class Kind { Integer, Real, Text, Null, Out, CrdRecord, LookAheadRecord };
    JournalArg(Kind kind, const void* pointer)
        : kind(kind)
        , pointer(pointer)
    {}

    // Sixteen bytes: every call builds its arguments, and an idle poll makes eight calls.
    Kind kind;
    union {
        long long integer;
        double real;
        const void* pointer;
    };
};

using JournalArgs = std::initializer_list<JournalArg>;

// The latest calls as text, oldest first.
class Journal
{
public:
    static constexpr std::size_t capacity = 1000000;

    bool enabled() const { return on; }
    void enable(bool enable) { on = enable; }
    void record(const char* operation, JournalArgs args);
    std::size_t size() const { return entries.size(); }
    const std::string& at(std::size_t index) const { return entries[index]; }
    void clear() { entries.clear(); }

private:
    bool on = false;
    std::deque<std::string> entries;
};

// The shortest text that reads back to the same double: "50", "0.0005", "12.3456", "-1e-05",
// "1e+20".
std::string formatDouble(double value);

} // namespace rvsim

#endif
