#include "Journal.h"

#include <charconv>

namespace rvsim {

namespace {

void append(std::string& line, long long value)
{
    line += std::to_string(value);
}

void append(std::string& line, double value)
{
    line += formatDouble(value);
}

template <typename T, std::size_t N> void appendArray(std::string& line, const T (&values)[N])
{
    line += '[';
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0)
            line += ", ";
        if constexpr (std::is_floating_point_v<T>)
            append(line, double(values[i]));
        else
            append(line, static_cast<long long>(values[i]));
    }
    line += ']';
}

// Appends "name=value", with ", " before every field but the first.
class RecordWriter
{
public:
    explicit RecordWriter(std::string& line)
        : line(line)
    {
        line += '{';
    }
    ~RecordWriter() { line += '}'; }

    template <typename T> void field(const char* name, const T& value)
    {
        if (!first)
            line += ", ";
        first = false;
        line += name;
        line += '=';
        if constexpr (std::is_array_v<T>)
            appendArray(line, value);
        else if constexpr (std::is_floating_point_v<T>)
            append(line, double(value));
        else
            append(line, static_cast<long long>(value));
    }

private:
    std::string& line;
    bool first = true;
};

void appendRecord(std::string& line, const CrdPrm& prm)
{
    RecordWriter record(line);
    record.field("dimension", prm.dimension);
    record.field("profile", prm.profile);
    record.field("synVelMax", prm.synVelMax);
    record.field("synAccMax", prm.synAccMax);
    record.field("evenTime", prm.evenTime);
    record.field("setOriginFlag", prm.setOriginFlag);
    record.field("originPos", prm.originPos);
}

void appendRecord(std::string& line, const LookAheadPrmEx& prm)
{
    RecordWriter record(line);
    record.field("N", prm.N);
    record.field("T", prm.T);
    record.field("RadiusRatio", prm.RadiusRatio);
    record.field("VMax", prm.VMax);
    record.field("AMax", prm.AMax);
    record.field("DVMax", prm.DVMax);
    record.field("Scale", prm.Scale);
    record.field("axisMap", prm.axisMap);
}

} // namespace

std::string formatDouble(double value)
{
    // Shortest round-trip digits; plain notation for exponents -4 to 15, as people write them.
    char buffer[400];
    const auto scientific
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string text(buffer, scientific.ptr);
    const std::size_t e = text.find('e');
    if (e == std::string::npos)
        return text; // inf, nan
    const int exponent = std::stoi(text.substr(e + 1));
    if (exponent < -4 || exponent >= 16)
        return text;
    const auto fixed
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, fixed.ptr);
}

void JournalArg::appendTo(std::string& line) const
{
    switch (kind) {
    case Kind::Integer:
        append(line, integer);
        break;
    case Kind::Real:
        append(line, real);
        break;
    case Kind::Text:
        line += '"';
        line += static_cast<const char*>(pointer);
        line += '"';
        break;
    case Kind::Null:
        line += "null";
        break;
    case Kind::Out:
        line += "out";
        break;
    case Kind::CrdRecord:
        appendRecord(line, *static_cast<const CrdPrm*>(pointer));
        break;
    case Kind::LookAheadRecord:
        appendRecord(line, *static_cast<const LookAheadPrmEx*>(pointer));
        break;
    }
}

void Journal::record(const char* operation, JournalArgs args)
{
    std::string line = operation;
    line += '(';
    bool first = true;
    for (const JournalArg& arg : args) {
        if (!first)
            line += ", ";
        first = false;
        arg.appendTo(line);
    }
    line += ')';
    if (entries.size() == capacity)
        entries.pop_front();
    entries.push_back(std::move(line));
}

} // namespace rvsim
