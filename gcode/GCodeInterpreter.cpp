#include "gcode/GCodeInterpreter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

namespace {

// A line's characters, UTF-16 or one byte each (Latin-1), as the code points they stand for.
inline char16_t unit(char16_t c)
{
    return c;
}
inline char16_t unit(char c)
{
    return static_cast<unsigned char>(c);
}

inline bool isAsciiDigit(char16_t c)
{
    return char16_t(c - u'0') < 10;
}

// A digit is any the toolkit calls one, other scripts' digits too.
inline bool isNumberCharacter(char16_t c)
{
    if (c >= 0x80)
        return QChar(c).isDigit();
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+';
}

// A plain decimal of a program at `at`, "-12.345": its digits as a whole number and its power of
// ten, each exactly a double, make one division the correctly rounded value, as std::from_chars
// rounds it; `end` is where its run of number characters ends. Anything else (more digits, a
// sign elsewhere, a second point, no digit) is left to the full conversion: false. The value
// comes back apart from the verdict, in registers, as this runs for every word.
template <typename Char>
bool shortDecimal(const Char* const first, const Char* const last, const Char*& end, double& value)
{
    // Up to 19 digits fit the whole number; up to 15 are always below 2^53.
    constexpr int safeDigits = 15;
    constexpr int wholeDigits = 19;
    static constexpr double powersOfTen[wholeDigits + 1]
        = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
           1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
    constexpr uint64_t exactLimit = uint64_t(1) << 53;
    const Char* at = first;
    const bool negative = at != last && unit(*at) == u'-';
    at += negative ? 1 : 0;
    uint64_t digits = 0;
    const auto readDigits = [&digits, &at, last] {
        const Char* const from = at;
        for (; at != last && isAsciiDigit(unit(*at)); ++at)
            digits = digits * 10 + (unit(*at) - u'0');
        return int(at - from);
    };
    const int wholeCount = readDigits();
    if (wholeCount > wholeDigits)
        return false;
    int fractionDigits = 0;
    if (at != last && unit(*at) == u'.') {
        ++at;
        fractionDigits = readDigits();
    }
    const int digitCount = wholeCount + fractionDigits;
    // The run goes on past what reads plainly: "1-2", "1.2.3".
    if (digitCount == 0 || digitCount > wholeDigits || (at != last && isNumberCharacter(unit(*at)))
        || (digitCount > safeDigits && digits >= exactLimit))
        return false;
    const double magnitude
        = fractionDigits > 0 ? double(digits) / powersOfTen[fractionDigits] : double(digits);
    value = negative ? -magnitude : magnitude;
    end = at;
    return true;
}

double toolkitNumber(const char16_t* run, qsizetype length, bool* converted)
{
    return QStringView(run, length).toDouble(converted);
}
double toolkitNumber(const char* run, qsizetype length, bool* converted)
{
    return QString(QLatin1String(run, length)).toDouble(converted);
}

// The toolkit's text-to-double conversion of a run of number characters, without allocating
// in the common case: a short plain decimal is converted at once, a longer ASCII one through
// std::from_chars, both rounding exactly as the toolkit does; anything else (a stray sign, a
// second point, more digits than a double holds, digits of other scripts) is left to the
// toolkit itself.
template <typename Char> double toNumber(const Char* run, qsizetype length, bool* converted)
{
    const Char* end = nullptr;
    double plain = 0;
    if (shortDecimal(run, run + length, end, plain) && end == run + length) {
        if (converted)
            *converted = true;
        return plain;
    }
    char buffer[64];
    bool ascii = length > 0 && length < qsizetype(sizeof buffer);
    for (qsizetype i = 0; ascii && i < length; ++i) {
        const char16_t c = unit(run[i]);
        ascii = c < 0x80;
        buffer[i] = char(c);
    }
    if (ascii) {
        const char* begin = buffer;
        const char* const last = buffer + length;
        if (*begin == '+' && length > 1 && begin[1] != '+' && begin[1] != '-')
            ++begin;
        double value = 0;
        const auto [stop, error] = std::from_chars(begin, last, value);
        if (error == std::errc() && stop == last) {
            if (converted)
                *converted = true;
            return value;
        }
    }
    return toolkitNumber(run, length, converted);
}

// A line as the interpreter reads it, a word at a time from `at`.
template <typename Char> struct LineReader
{
    const Char* text;
    qsizetype size;
    qsizetype at = 0;

    char16_t operator[](qsizetype index) const { return unit(text[index]); }
    bool NextIs(char16_t letter) const
    {
        return at < size && GCodeInterpreter::LetterOf(unit(text[at])) == letter;
    }

    void SkipNumber()
    {
        while (at < size && isNumberCharacter(unit(text[at])))
            ++at;
    }

    // A plain decimal is read as its run is found, in one pass.
    double Number(bool* converted = nullptr)
    {
        const Char* end = nullptr;
        double value = 0;
        if (shortDecimal(text + at, text + size, end, value)) {
            at = end - text;
            if (converted)
                *converted = true;
            return value;
        }
        const qsizetype start = at;
        SkipNumber();
        return toNumber(text + start, at - start, converted);
    }

    enum class Whole { Unknown, Digits, Converted };

    // A G, H, N or T number decides a mode or a switch: one that does not convert, or whose
    // whole part does not fit, is unknown rather than 0, so that a typo never becomes G0 or H0.
    // `number` is left as it was then.
    Whole WholeNumber(int& number)
    {
        // The common "01", "17", "12345" as they are, a word of them in each line: nine digits
        // always fit.
        constexpr qsizetype plainDigits = 9;
        qsizetype end = at;
        int plain = 0;
        for (; end < size && end - at < plainDigits && isAsciiDigit(unit(text[end])); ++end)
            plain = plain * 10 + (unit(text[end]) - u'0');
        if (end > at && (end == size || !isNumberCharacter(unit(text[end])))) {
            at = end;
            number = plain;
            return Whole::Digits;
        }
        bool converted = false;
        const double value = std::trunc(Number(&converted));
        if (!converted || !(value >= double(std::numeric_limits<int>::min()))
            || !(value <= double(std::numeric_limits<int>::max())))
            return Whole::Unknown;
        number = int(value);
        return Whole::Converted;
    }
};

} // namespace

// Some letters outside ASCII map onto an ASCII one.
char16_t GCodeInterpreter::LetterOfOther(char16_t c)
{
    const char16_t upper = QChar(c).toUpper().unicode();
    return upper < 0x80 ? upper : char16_t(0);
}

bool GCodeInterpreter::IsUpperOther(char16_t c)
{
    return QChar(c).isUpper();
}

double GCodeInterpreter::NumberOf(QStringView run, bool* converted)
{
    return toNumber(run.utf16(), run.size(), converted);
}

void GCodeInterpreter::InterpretLine(const QString& line)
{
    InterpretLine(QStringView(line));
}

void GCodeInterpreter::InterpretLine(QStringView line, LineWords* words)
{
    Interpret(line.utf16(), line.size(), words);
}

void GCodeInterpreter::InterpretLine(QLatin1String line, LineWords* words)
{
    Interpret(line.data(), line.size(), words);
}

template <typename Char>
void GCodeInterpreter::Interpret(const Char* const chars, const qsizetype size, LineWords* words)
{
    if (words) {
        words->words.clear();
        words->endsAt = -1;
    }
    line = carried;
    nonModalCode = -1;
    tool = -1;
    laserSwitch = -1;
    delayTime = -1.0;

    using Whole = typename LineReader<Char>::Whole;
    LineReader<Char> text{chars, size};
    qsizetype& at = text.at;
    while (at < size) {
        const char16_t c = text[at];
        if (c == u' ' || c == u'\t') {
            ++at;
            continue;
        }
        if (c == u'(' || c == u'%' || c == u';' || c == u'/') {
            if (words)
                words->endsAt = at;
            return;
        }
        const qsizetype wordAt = at++;
        const bool upper = IsUpperCase(c);
        bool dwell = false;
        qsizetype numberAt = at;
        bool plainDigits = false;
        int digits = 0;
        // False when the number is unknown.
        const auto readWhole = [&text, &plainDigits, &digits](int& number) {
            const Whole read = text.WholeNumber(number);
            plainDigits = read == Whole::Digits;
            digits = number;
            return read != Whole::Unknown;
        };
        // A word the dialect does not take still ends with its number.
        switch (LetterOf(c)) {
        case u'G':
            if (!upper)
                text.SkipNumber();
            else if (int code = 0; readWhole(code))
                ApplyGCode(code);
            break;
        case u'X':
            dwell = nonModalCode == 4;
            if (dwell) {
                dwellTime = text.Number();
                nonModalCode = -1;
            } else {
                position[X] = text.Number();
            }
            break;
        case u'Y':
            position[Y] = text.Number();
            break;
        case u'Z':
            position[Z] = text.Number();
            break;
        case u'A':
            position[A] = text.Number();
            break;
        case u'C':
            position[C] = text.Number();
            break;
        case u'U':
            position[U] = text.Number();
            break;
        case u'V':
            position[V] = text.Number();
            break;
        case u'W':
            position[W] = text.Number();
            break;
        case u'T':
            if (!upper)
                text.SkipNumber();
            else
                readWhole(tool);
            break;
        case u'F':
            if (upper)
                line.feed = std::trunc(text.Number());
            else
                text.SkipNumber();
            break;
        case u'D': {
            if (!text.NextIs(u'E')) {
                line.acceleration = text.Number();
                break;
            }
            // "DELAY": the letters after D must follow in turn, or they are dropped.
            int spelled = 0;
            while (spelled < 4 && text.NextIs(u"ELAY"[spelled])) {
                ++at;
                ++spelled;
            }
            numberAt = at;
            if (spelled == 4)
                delayTime = text.Number();
            else
                text.SkipNumber();
            break;
        }
        case u'N':
            if (!upper)
                text.SkipNumber();
            else
                readWhole(lineNumber);
            break;
        case u'E':
            if (text.NextIs(u'F')) {
                numberAt = ++at;
                line.rapidFeed = text.Number();
            } else if (text.NextIs(u'D')) {
                numberAt = ++at;
                line.rapidAcceleration = text.Number();
            } else {
                text.SkipNumber();
            }
            break;
        case u'H':
            readWhole(laserSwitch);
            break;
        case u'R':
            arcRadius = text.Number();
            break;
        case u'I':
            arcCentre[0] = text.Number();
            break;
        case u'J':
            arcCentre[1] = text.Number();
            break;
        case u'K':
            arcCentre[2] = text.Number();
            break;
        default:
            text.SkipNumber();
            break;
        }
        if (words) {
            // Field by field where it is kept: a word built beside it and copied whole would be
            // read back before its parts were written out.
            ReadWord& word = words->words.emplace_back();
            word.at = wordAt;
            word.numberAt = numberAt;
            word.end = at;
            word.first = c;
            word.dwellTime = dwell;
            word.plainDigits = plainDigits;
            word.digits = digits;
        }
    }
}

void GCodeInterpreter::ApplyGCode(int code)
{
    switch (code) {
    case 4:
    case 28:
    case 29:
    case 53:
    case 70:
    case 71:
    case 72:
    case 92:
        nonModalCode = code;
        break;
    case 0:
    case 1:
    case 2:
    case 3:
        motionMode = code;
        break;
    case 17:
    case 18:
    case 19:
        plane = code;
        break;
    case 90:
    case 91:
        distanceMode = code;
        break;
    case 20:
    case 21:
        units = code;
        break;
    case 40:
    case 41:
    case 42:
        cutterCompensation = code;
        break;
    case 43:
    case 44:
    case 49:
        lengthCompensation = code;
        break;
    default:
        break;
    }
}

GCodeInterpreter::Request GCodeInterpreter::MotionRequest() const
{
    if (motionMode == 0 || motionMode == 1)
        return Line;
    if ((motionMode != 2 && motionMode != 3) || plane != 17)
        return NoMotion;
    if (arcCentre[0] != 0 || arcCentre[1] != 0 || arcCentre[2] != 0)
        return position[Z] == previousPosition[Z] ? CentreArc : NoMotion;
    return arcRadius != 0 ? RadiusArc : NoMotion;
}

void GCodeInterpreter::FinishLine(bool carryAcceleration)
{
    std::copy(std::begin(position), std::end(position), std::begin(previousPosition));
    arcRadius = 0;
    std::fill(std::begin(arcCentre), std::end(arcCentre), 0.0);
    carried.feed = line.feed;
    carried.rapidFeed = line.rapidFeed;
    carried.rapidAcceleration = line.rapidAcceleration;
    if (carryAcceleration)
        carried.acceleration = line.acceleration;
}
