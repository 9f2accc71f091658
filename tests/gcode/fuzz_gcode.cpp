// A mutation fuzzer for the G-code interpreter. It feeds mutated programs line by line and checks
// two invariants on every line: the motion mode and the laser switch change only through a
// well-formed G0-G3 or H0-H1 word of that line; and a line held at one byte a character (where
// its characters allow) reads exactly as the same line held at two, to the words told. Under the
// sanitizers it also finds reads outside the line and undefined arithmetic.
//
//   fuzz_gcode [--seconds S] [--runs N] [--seed K]
//
// Stops at the first violation (exit 1, the line printed) or when the budget is spent (exit 0);
// prints the executions made.
#include "gcode/GCodeInterpreter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>

namespace {

const char* const seeds[] = {
    "G1 X10 Y5 F250.7",
    "G00 X1 Y2 Z3 EF500 ED2000",
    "G02 X10 Y0 I5 J0",
    "G03 X1 Y1 R2",
    "H1 G0 X5",
    "H0",
    "DELAY500",
    "N100 G01 X-3.5 D800",
    "G04 X2.5",
    "G17 G90 G21 G40 G49 T1",
    "(comment) G1",
    "X1 ; G0",
    "g1 x10 h1",
    "G1.9 X1",
    "EF20 ED800",
    "%",
    "",
    "G99 G55 N7",
};

// Characters a garbled program is made of: the dialect's letters in both cases, number
// characters, the comment starters, blanks, and a few bytes that are none of these.
const char alphabet[] = "GHNTXYZACUVWIJKRFDELYghntxyzacuvwijkrfdely0123456789.+-()%;/ \t";

struct Allowed
{
    std::set<int> modes;
    std::set<int> lasers;
};

// What a reader of the dialect finds in the line: the walk ends at the first of "(%;/"; every
// upper-case G, and every H, starts a word whose number is the run of digits, '.', '+' and '-'
// after it.
Allowed wellFormedWords(const QString& line)
{
    Allowed allowed;
    for (int at = 0; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == QLatin1Char('(') || c == QLatin1Char('%') || c == QLatin1Char(';')
            || c == QLatin1Char('/'))
            break;
        const bool g = c == QLatin1Char('G');
        const bool h = c == QLatin1Char('H') || c == QLatin1Char('h');
        if (!g && !h)
            continue;
        int end = at + 1;
        while (end < line.size()
               && (line[end].isDigit() || QStringLiteral(".+-").contains(line[end])))
            ++end;
        bool converted = false;
        const double value = std::trunc(line.mid(at + 1, end - at - 1).toDouble(&converted));
        if (!converted)
            continue;
        if (g && value >= 0 && value <= 3)
            allowed.modes.insert(int(value));
        if (h && (value == 0 || value == 1))
            allowed.lasers.insert(int(value));
    }
    return allowed;
}

QString mutate(QString line, std::mt19937_64& random)
{
    auto below = [&random](int n) {
        return n <= 0 ? 0 : int(random() % unsigned(n));
    };
    const int mutations = 1 + below(6);
    for (int m = 0; m < mutations; ++m) {
        const int at = below(int(line.size()) + 1);
        switch (below(7)) {
        case 0:
            line.insert(at, QLatin1Char(alphabet[below(int(sizeof alphabet) - 1)]));
            break;
        case 1:
            line.remove(at, 1 + below(3));
            break;
        case 2: // a long run of digits: numbers beyond every integer and beyond double
            line.insert(at, QString(1 + below(400), QLatin1Char('0' + below(10))));
            break;
        case 3:
            if (!line.isEmpty())
                line[std::min(at, int(line.size()) - 1)] = QChar(ushort(1 + below(0x3000)));
            break;
        case 4:
            line.insert(at, line.mid(below(int(line.size())), 1 + below(8)));
            break;
        case 5:
            line.insert(at, QLatin1String(seeds[below(int(std::size(seeds)))]));
            break;
        default:
            line.insert(at, QStringList{"nan", "inf", "-", "+", ".", "e309", "4294967297",
                                        "2147483648", "-2147483649", "1e3"}[below(10)]);
            break;
        }
    }
    return line;
}

QByteArray escaped(const QString& line)
{
    QByteArray out;
    for (QChar c : line) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            out += char(c.unicode());
        else
            out += QByteArray("\\u") + QByteArray::number(c.unicode(), 16);
    }
    return out;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <std::size_t N> bool sameBits(const double (&a)[N], const double (&b)[N])
{
    return std::memcmp(a, b, sizeof a) == 0;
}

bool sameSpeeds(const GCodeInterpreter::Speeds& a, const GCodeInterpreter::Speeds& b)
{
    return sameBits(a.feed, b.feed) && sameBits(a.acceleration, b.acceleration)
           && sameBits(a.rapidFeed, b.rapidFeed)
           && sameBits(a.rapidAcceleration, b.rapidAcceleration);
}

// Everything a line leaves in the interpreter, and the words it told.
bool sameReading(const GCodeInterpreter& a, const LineWords& aWords, const GCodeInterpreter& b,
                 const LineWords& bWords)
{
    const bool sameWords
        = aWords.endsAt == bWords.endsAt && aWords.words.size() == bWords.words.size()
          && std::equal(aWords.words.begin(), aWords.words.end(), bWords.words.begin(),
                        [](const ReadWord& x, const ReadWord& y) {
                            return x.at == y.at && x.numberAt == y.numberAt && x.end == y.end
                                   && x.first == y.first && x.dwellTime == y.dwellTime
                                   && x.Digits() == y.Digits();
                        });
    return sameWords && a.motionMode == b.motionMode && a.plane == b.plane
           && a.distanceMode == b.distanceMode && a.units == b.units
           && a.cutterCompensation == b.cutterCompensation
           && a.lengthCompensation == b.lengthCompensation && sameBits(a.position, b.position)
           && sameBits(a.arcRadius, b.arcRadius) && sameBits(a.arcCentre, b.arcCentre)
           && a.lineNumber == b.lineNumber && sameBits(a.dwellTime, b.dwellTime)
           && sameSpeeds(a.carried, b.carried) && sameSpeeds(a.line, b.line)
           && a.nonModalCode == b.nonModalCode && a.tool == b.tool && a.laserSwitch == b.laserSwitch
           && sameBits(a.delayTime, b.delayTime);
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = 0;
    long long runs = 0;
    unsigned long long seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--runs"))
            runs = std::atoll(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--seed"))
            seed = std::strtoull(argv[i + 1], nullptr, 10);
    }
    if (seconds <= 0 && runs <= 0)
        runs = 100000;

    std::mt19937_64 random(seed);
    QElapsedTimer clock;
    clock.start();
    long long executions = 0;
    while ((runs <= 0 || executions < runs) && (seconds <= 0 || clock.elapsed() < seconds * 1000)) {
        // A program of a few lines, so that the carried state meets garbled words too.
        GCodeInterpreter program;
        GCodeInterpreter narrowProgram;
        const int lines = 1 + int(random() % 8);
        for (int i = 0; i < lines; ++i, ++executions) {
            const QString line = mutate(QLatin1String(seeds[random() % std::size(seeds)]), random);
            const int modeBefore = program.motionMode;
            LineWords words;
            program.InterpretLine(line, &words);
            const QByteArray narrow = line.toLatin1();
            LineWords narrowWords;
            if (QString::fromLatin1(narrow) == line)
                narrowProgram.InterpretLine(QLatin1String(narrow), &narrowWords);
            else
                narrowProgram.InterpretLine(QStringView(line), &narrowWords);
            if (!sameReading(program, words, narrowProgram, narrowWords)) {
                std::printf("one byte a character reads differently after %lld executions: "
                            "line \"%s\"\n",
                            executions, escaped(line).constData());
                return 1;
            }
            const Allowed allowed = wellFormedWords(line);
            const bool modeOk
                = program.motionMode == modeBefore || allowed.modes.count(program.motionMode);
            const bool laserOk = program.laserSwitch != 0 && program.laserSwitch != 1
                                     ? true
                                     : allowed.lasers.count(program.laserSwitch) > 0;
            if (!modeOk || !laserOk) {
                std::printf(
                    "violation after %lld executions: mode %d -> %d, laser %d, line \"%s\"\n",
                    executions, modeBefore, program.motionMode, program.laserSwitch,
                    escaped(line).constData());
                return 1;
            }
            const bool carryAcceleration = random() % 2 == 0;
            program.FinishLine(carryAcceleration);
            narrowProgram.FinishLine(carryAcceleration);
        }
    }
    std::printf("%lld executions in %.1f s, seed %llu, no violation\n", executions,
                clock.elapsed() / 1000.0, seed);
    return 0;
}
