#include "gcode/GCodeInterpreter.h"

#include <cmath>
#include <limits>

namespace {

bool isNumberCharacter(QChar c)
{
    return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+');
}

bool is(QChar c, char letter)
{
    return c.toUpper() == QLatin1Char(letter);
}


} // namespace

QStringView GCodeInterpreter::CollectNumber(const QString& text, int& at)
{
    const int start = at;
    while (at < text.size() && isNumberCharacter(text[at]))
        ++at;
    return QStringView(text).mid(start, at - start);
}

double GCodeInterpreter::ReadNumber(const QString& text, int& at)
{
    return CollectNumber(text, at).toDouble();
}

// A G, H, N or T number decides a mode or a switch: one that does not convert, or whose whole
// part does not fit, is unknown rather than 0, so that a typo never becomes G0 or H0.
std::optional<int> GCodeInterpreter::ReadWholeNumber(const QString& text, int& at)
{
    bool converted = false;
    const double value = std::trunc(CollectNumber(text, at).toDouble(&converted));
    if (!converted || !(value >= double(std::numeric_limits<int>::min()))
        || !(value <= double(std::numeric_limits<int>::max())))
        return std::nullopt;
    return int(value);
}

void GCodeInterpreter::InterpretLine(const QString& text)
{
    line = carried;
    nonModalCode = -1;
    tool = -1;
    laserSwitch = -1;
    delayTime = -1.0;

    int at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            ++at;
            continue;
        }
        if (c == QLatin1Char('(') || c == QLatin1Char('%') || c == QLatin1Char(';')
            || c == QLatin1Char('/'))
            return;
        ++at;
        const char letter = c.toUpper().toLatin1();
        const bool upper = c.isUpper();
        switch (letter) {
        case 'G':
            if (!upper)
                break;
            if (const std::optional<int> code = ReadWholeNumber(text, at))
                ApplyGCode(*code);
            break;
        case 'X':
            if (nonModalCode == 4) {
                dwellTime = ReadNumber(text, at);
                nonModalCode = -1;
            } else {
                position[X] = ReadNumber(text, at);
            }
            break;
        case 'Y':
            position[Y] = ReadNumber(text, at);
            break;
        case 'Z':
            position[Z] = ReadNumber(text, at);
            break;
        case 'A':
            position[A] = ReadNumber(text, at);
            break;
        case 'C':
            position[C] = ReadNumber(text, at);
            break;
        case 'U':
            position[U] = ReadNumber(text, at);
            break;
        case 'V':
            position[V] = ReadNumber(text, at);
            break;
        case 'W':
            position[W] = ReadNumber(text, at);
            break;
        case 'T':
            if (!upper)
                break;
            if (const std::optional<int> number = ReadWholeNumber(text, at))
                tool = *number;
            break;
        case 'F':
            if (upper)
                line.feed = std::trunc(ReadNumber(text, at));
            break;
        case 'D': {
            if (at >= text.size() || !is(text[at], 'E')) {
                line.acceleration = ReadNumber(text, at);
                break;
            }
            // "DELAY": the letters after D must follow in turn, or they are dropped.
            int spelled = 0;
            while (spelled < 4 && at < text.size() && is(text[at], "ELAY"[spelled])) {
                ++at;
                ++spelled;
            }
            if (spelled == 4)
                delayTime = ReadNumber(text, at);
            break;
        }
        case 'N':
            if (!upper)
                break;
            if (const std::optional<int> number = ReadWholeNumber(text, at))
                lineNumber = *number;
            break;
        case 'E':
            if (at < text.size() && is(text[at], 'F')) {
                ++at;
                line.rapidFeed = ReadNumber(text, at);
            } else if (at < text.size() && is(text[at], 'D')) {
                ++at;
                line.rapidAcceleration = ReadNumber(text, at);
            }
            break;
        case 'H':
            if (const std::optional<int> number = ReadWholeNumber(text, at))
                laserSwitch = *number;
            break;
        case 'R':
            arcRadius = ReadNumber(text, at);
            break;
        case 'I':
            arcCentre[0] = ReadNumber(text, at);
            break;
        case 'J':
            arcCentre[1] = ReadNumber(text, at);
            break;
        case 'K':
            arcCentre[2] = ReadNumber(text, at);
            break;
        default:
            break;
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
