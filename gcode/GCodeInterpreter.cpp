#include "gcode/GCodeInterpreter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

namespace {

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

// A plain decimal of a program at the start of `text`, "-12.345": its digits as a whole number
// and its power of ten, each exactly a double, make one division the correctly rounded value,
// as std::from_chars rounds it; `end` is where its run of number characters ends. Anything else
// (more digits, a sign elsewhere, a second point, no digit) is left to the full conversion: false.
// The value comes back apart from the verdict, in registers, as this runs for every word.
bool shortDecimal(QStringView text, qsizetype& end, double& value)
{
    // Up to 19 digits fit the whole number; up to 15 are always below 2^53.
    constexpr int safeDigits = 15;
    constexpr int wholeDigits = 19;
    static constexpr double powersOfTen[wholeDigits + 1]
        = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
           1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
    constexpr uint64_t exactLimit = uint64_t(1) << 53;
    const char16_t* const first = text.utf16();
    const char16_t* const last = first + text.size();
    const char16_t* at = first;
    const bool negative = at != last && *at == u'-';
    at += negative ? 1 : 0;
    uint64_t digits = 0;
    const auto readDigits = [&digits, &at, last] {
        const char16_t* const from = at;
        for (; at != last && isAsciiDigit(*at); ++at)
            digits = digits * 10 + (*at - u'0');
        return int(at - from);
    };
    const int wholeCount = readDigits();
    if (wholeCount > wholeDigits)
        return false;
    int fractionDigits = 0;
    if (at != last && *at == u'.') {
        ++at;
        fractionDigits = readDigits();
    }
    const int digitCount = wholeCount + fractionDigits;
    // The run goes on past what reads plainly: "1-2", "1.2.3".
    if (digitCount == 0 || digitCount > wholeDigits || (at != last && isNumberCharacter(*at))
        || (digitCount > safeDigits && digits >= exactLimit))
        return false;
    const double magnitude
        = fractionDigits > 0 ? double(digits) / powersOfTen[fractionDigits] : double(digits);
    value = negative ? -magnitude : magnitude;
    end = at - first;
    return true;
}

// The toolkit's text-to-double conversion of a run of number characters, without allocating
// in the common case: a short plain decimal is converted at once, a longer ASCII one through
// std::from_chars, both rounding exactly as the toolkit does; anything else (a stray sign, a
// second point, more digits than a double holds, digits of other scripts) is left to the
// toolkit itself.
double toNumber(QStringView run, bool* converted)
{
    qsizetype end = 0;
    double plain = 0;
    if (shortDecimal(run, end, plain) && end == run.size()) {
        if (converted)
            *converted = true;
        return plain;
    }
    char buffer[64];
    const qsizetype length = run.size();
    bool ascii = length > 0 && length < qsizetype(sizeof buffer);
    for (qsizetype i = 0; ascii && i < length; ++i) {
        const char16_t c = run[i].unicode();
        ascii = c < 0x80;
        buffer[i] = char(c);
    }
    if (ascii) {
        const char* begin = buffer;
        const char* end = buffer + length;
        if (*begin == '+' && length > 1 && begin[1] != '+' && begin[1] != '-')
            ++begin;
        double value = 0;
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error == std::errc() && stop == end) {
            if (converted)
                *converted = true;
            return value;
        }
    }
    return run.toDouble(converted);
}

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

QStringView GCodeInterpreter::CollectNumber(QStringView text, qsizetype& at)
{
    const qsizetype start = at;
    while (at < text.size() && isNumberCharacter(text[at].unicode()))
        ++at;
    return text.mid(start, at - start);
}

double GCodeInterpreter::NumberOf(QStringView run, bool* converted)
{
    return toNumber(run, converted);
}

// A plain decimal is read as its run is found, in one pass.
double GCodeInterpreter::ReadNumber(QStringView text, qsizetype& at, bool* converted)
{
    qsizetype length = 0;
    double value = 0;
    if (shortDecimal(text.mid(at), length, value)) {
        at += length;
        if (converted)
            *converted = true;
        return value;
    }
    return toNumber(CollectNumber(text, at), converted);
}

// A G, H, N or T number decides a mode or a switch: one that does not convert, or whose whole
// part does not fit, is unknown rather than 0, so that a typo never becomes G0 or H0.
bool GCodeInterpreter::ReadWholeNumber(QStringView text, qsizetype& at, int& number)
{
    // The common "01", "17", "12345" as they are, a word of them in each line: nine digits
    // always fit.
    constexpr qsizetype plainDigits = 9;
    qsizetype end = at;
    int plain = 0;
    for (; end < text.size() && end - at < plainDigits && isAsciiDigit(text[end].unicode()); ++end)
        plain = plain * 10 + (text[end].unicode() - u'0');
    if (end > at && (end == text.size() || !isNumberCharacter(text[end].unicode()))) {
        at = end;
        number = plain;
        return true;
    }
    bool converted = false;
    const double value = std::trunc(ReadNumber(text, at, &converted));
    if (!converted || !(value >= double(std::numeric_limits<int>::min()))
        || !(value <= double(std::numeric_limits<int>::max())))
        return false;
    number = int(value);
    return true;
}

void GCodeInterpreter::InterpretLine(const QString& line)
{
    InterpretLine(QStringView(line));
}

void GCodeInterpreter::InterpretLine(QStringView text, LineWords* words)
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

    auto nextIs = [&text](qsizetype at, char16_t letter) {
        return at < text.size() && LetterOf(text[at].unicode()) == letter;
    };
    qsizetype at = 0;
    while (at < text.size()) {
        const char16_t c = text[at].unicode();
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
        // A word the dialect does not take still ends with its number.
        switch (LetterOf(c)) {
        case u'G':
            if (!upper)
                CollectNumber(text, at);
            else if (int code = 0; ReadWholeNumber(text, at, code))
                ApplyGCode(code);
            break;
        case u'X':
            dwell = nonModalCode == 4;
            if (dwell) {
                dwellTime = ReadNumber(text, at);
                nonModalCode = -1;
            } else {
                position[X] = ReadNumber(text, at);
            }
            break;
        case u'Y':
            position[Y] = ReadNumber(text, at);
            break;
        case u'Z':
            position[Z] = ReadNumber(text, at);
            break;
        case u'A':
            position[A] = ReadNumber(text, at);
            break;
        case u'C':
            position[C] = ReadNumber(text, at);
            break;
        case u'U':
            position[U] = ReadNumber(text, at);
            break;
        case u'V':
            position[V] = ReadNumber(text, at);
            break;
        case u'W':
            position[W] = ReadNumber(text, at);
            break;
        case u'T':
            if (!upper)
                CollectNumber(text, at);
            else
                ReadWholeNumber(text, at, tool);
            break;
        case u'F':
            if (upper)
                line.feed = std::trunc(ReadNumber(text, at));
            else
                CollectNumber(text, at);
            break;
        case u'D': {
            if (!nextIs(at, u'E')) {
                line.acceleration = ReadNumber(text, at);
                break;
            }
            // "DELAY": the letters after D must follow in turn, or they are dropped.
            int spelled = 0;
            while (spelled < 4 && nextIs(at, u"ELAY"[spelled])) {
                ++at;
                ++spelled;
            }
            if (spelled == 4)
                delayTime = ReadNumber(text, at);
            else
                CollectNumber(text, at);
            break;
        }
        case u'N':
            if (!upper)
                CollectNumber(text, at);
            else
                ReadWholeNumber(text, at, lineNumber);
            break;
        case u'E':
            if (nextIs(at, u'F')) {
                ++at;
                line.rapidFeed = ReadNumber(text, at);
            } else if (nextIs(at, u'D')) {
                ++at;
                line.rapidAcceleration = ReadNumber(text, at);
            } else {
                CollectNumber(text, at);
            }
            break;
        case u'H':
            ReadWholeNumber(text, at, laserSwitch);
            break;
        case u'R':
            arcRadius = ReadNumber(text, at);
            break;
        case u'I':
            arcCentre[0] = ReadNumber(text, at);
            break;
        case u'J':
            arcCentre[1] = ReadNumber(text, at);
            break;
        case u'K':
            arcCentre[2] = ReadNumber(text, at);
            break;
        default:
            CollectNumber(text, at);
            break;
        }
        if (words)
            TellWord(text, wordAt, at, dwell, *words);
    }
}

// The word's number is the run of number characters at its end; no letter is one, so it starts
// after the few letters past the first.
void GCodeInterpreter::TellWord(QStringView text, qsizetype from, qsizetype to, bool dwellTime,
                                LineWords& words)
{
    qsizetype numberAt = from + 1;
    while (numberAt < to && !isNumberCharacter(text[numberAt].unicode()))
        ++numberAt;
    // Both lie within the line: views of it as they are, with no bounds to settle.
    const QChar* const line = text.data();
    words.words.push_back({QStringView(line + from, numberAt - from),
                           QStringView(line + numberAt, to - numberAt), dwellTime});
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
