#include "planner/ProgramCheck.h"

#include "gcode/ProgramWalk.h"

#include <QJsonObject>
#include <QLocale>

#include <array>
#include <cmath>
#include <optional>
#include <set>

namespace {

using G = GCodeInterpreter;

// The controller takes an arc's end within two pulses of its circle; at a thousand pulses a
// millimetre, that is this.
constexpr double arcTolerance = 0.002;
constexpr int quotedCharacters = 24;

struct KindText
{
    FindingKind kind;
    const char* key;
    const char* title;
};

constexpr std::array<KindText, 9> kinds{{
    {FindingKind::SkippedWord, "skippedWord", "words the dialect skips"},
    {FindingKind::DroppedText, "droppedText", "words after a comment or '/', dropped"},
    {FindingKind::FeedTruncated, "feedTruncated", "feeds cut to a whole number"},
    {FindingKind::FeedBeyondLimit, "feedBeyondLimit",
     "feeds beyond the machine's limit (written in mm/min?)"},
    {FindingKind::ArcNotMade, "arcNotMade", "arcs the dialect cannot make"},
    {FindingKind::OtherDialect, "otherDialect", "words of other dialects"},
    {FindingKind::NoMotion, "noMotion", "coordinates that yield no motion"},
    {FindingKind::ZeroMove, "zeroMove", "lines without coordinates that send a move of length 0"},
    {FindingKind::MoveRefused, "moveRefused", "moves the controller refuses, lines skipped"},
}};

// The feed word in force: the line it was written on and the word as written.
struct FeedWord
{
    qsizetype line = 0;
    QString word;
};

// G codes this dialect acts on as common G-code does; the others it skips or only notes. Taken
// as a number: a G word's number may be beyond any integer.
bool ReadAlike(double code)
{
    return (code >= 0 && code <= 3) || code == 17 || code == 21 || code == 40 || code == 49
           || code == 90;
}

// A run of ASCII digits as a number, the common case read without the toolkit's conversion;
// nothing for any other run.
std::optional<int> WholeNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const QChar digit : digits) {
        if (digit < u'0' || digit > u'9')
            return std::nullopt;
        value = value * 10 + (digit.unicode() - u'0');
    }
    return value;
}

// "F0.5 is read as F0"; a feed word read as written stands alone.
QString ReadAs(const QString& feedWord)
{
    const double written = feedWord.mid(1).toDouble();
    const double read = std::trunc(written);
    return read == written ? feedWord : QStringLiteral("%1 is read as F%2").arg(feedWord).arg(read);
}

QString Quoted(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    return trimmed.size() <= quotedCharacters
               ? trimmed.toString()
               : trimmed.left(quotedCharacters).toString() + QStringLiteral("…");
}

// One line's words, walked as the interpreter walks them.
class LineCheck
{
public:
    LineCheck(QStringView text, qsizetype line, double feedLimit, FeedWord& feed,
              std::vector<ProgramFinding>& findings)
        : text(text)
        , line(line)
        , feedLimit(feedLimit)
        , feed(feed)
        , findings(findings)
    {}

    void CheckWords(const LineWords& read);
    void CheckMotion(const GCodeInterpreter& state);

private:
    void Add(FindingKind kind, QString what) { findings.push_back({line, kind, std::move(what)}); }
    void CheckComment(qsizetype at);
    void CheckGCode(QStringView number);
    void CheckFeed(QStringView number);
    void CheckSpeeds(const GCodeInterpreter& state);

    QStringView text;
    qsizetype line;
    double feedLimit;
    FeedWord& feed;
    std::vector<ProgramFinding>& findings;
    bool coordinates = false;
    bool words = false;
};

void LineCheck::CheckWords(const LineWords& read)
{
    for (const ReadWord& word : read.words) {
        words = true;
        // DELAY, EF and ED, and their misspellings, are the dialect's own.
        if (word.letters.size() > 1)
            continue;
        const QChar character = word.letters.front();
        const char16_t c = character.unicode();
        const bool upper = G::IsUpperCase(c);
        const auto written = [character, &word] {
            return QString(character) + word.number.toString();
        };
        switch (G::LetterOf(c)) {
        case u'G':
            if (!upper)
                Add(FindingKind::SkippedWord, written());
            else
                CheckGCode(word.number);
            break;
        case u'F':
            if (upper)
                CheckFeed(word.number);
            else
                Add(FindingKind::SkippedWord, written());
            break;
        case u'N':
        case u'T':
            if (!upper || G::LetterOf(c) == u'T')
                Add(FindingKind::SkippedWord, written());
            break;
        case u'X':
            coordinates = coordinates || !word.dwellTime;
            break;
        case u'Y':
        case u'Z':
        case u'A':
        case u'C':
        case u'U':
        case u'V':
        case u'W':
            coordinates = true;
            break;
        case u'D':
        case u'H':
        case u'I':
        case u'J':
        case u'K':
        case u'R':
            break;
        case u'P':
        case u'L':
        case u'S':
        case u'Q':
            Add(FindingKind::OtherDialect, written());
            break;
        default:
            if (character.isLetter())
                Add(FindingKind::SkippedWord, written());
            break;
        }
    }
    if (read.endsAt >= 0)
        CheckComment(read.endsAt);
}

// The dialect ends the line at a comment's start, where common G-code goes on after ")" and
// reads a "/" line unless told to skip it.
void LineCheck::CheckComment(qsizetype at)
{
    qsizetype rest = at + 1;
    if (text[at] == u'(') {
        const qsizetype closing = text.indexOf(u')', at);
        if (closing < 0)
            return;
        rest = closing + 1;
    } else if (text[at] == u';') {
        return;
    }
    const QStringView dropped = text.mid(rest).trimmed();
    if (!dropped.isEmpty())
        Add(FindingKind::DroppedText, Quoted(dropped));
}

void LineCheck::CheckGCode(QStringView number)
{
    bool converted = true;
    const std::optional<int> whole = WholeNumber(number);
    const double value = whole ? *whole : number.toDouble(&converted);
    if (!converted)
        return;
    const auto word = [number] {
        return QStringLiteral("G") + number.toString();
    };
    if (value != std::trunc(value) || value == 5)
        Add(FindingKind::OtherDialect, word());
    else if (value == 4)
        Add(FindingKind::SkippedWord, word() + QStringLiteral(" (dwells only with DELAY)"));
    else if (!ReadAlike(value))
        Add(FindingKind::SkippedWord, word());
}

void LineCheck::CheckFeed(QStringView number)
{
    const double value = number.toDouble();
    const double read = std::trunc(value);
    const QString word = QStringLiteral("F") + number.toString();
    feed = {line, word};
    // A feed cut to 0 stops the move itself, which the check of the motion tells.
    if (read != value && read != 0)
        Add(FindingKind::FeedTruncated, word + QStringLiteral(" read as F%1").arg(read));
    if (read > feedLimit)
        Add(FindingKind::FeedBeyondLimit, word + QStringLiteral(" > %1 mm/s").arg(feedLimit));
}

// The controller takes no move without a speed and an acceleration: it refuses the command and
// the line moves nothing.
void LineCheck::CheckSpeeds(const GCodeInterpreter& state)
{
    const QString consequence
        = QStringLiteral("the controller refuses the move and the line is skipped");
    const bool rapid = state.motionMode == 0;
    if (!(state.Velocity() > 0)) {
        if (rapid)
            Add(FindingKind::MoveRefused, QStringLiteral("the rapid feed is 0; ") + consequence);
        else if (feed.line == line)
            Add(FindingKind::MoveRefused, ReadAs(feed.word) + QStringLiteral("; ") + consequence);
        else if (feed.line > 0)
            Add(FindingKind::MoveRefused,
                QStringLiteral("the feed is 0 (%1 on line %2); ").arg(feed.word).arg(feed.line)
                    + consequence);
        else
            Add(FindingKind::MoveRefused, QStringLiteral("the feed is 0; ") + consequence);
    } else if (!(state.Acceleration() > 0)) {
        Add(FindingKind::MoveRefused, QStringLiteral("the %1acceleration is 0; ")
                                              .arg(rapid ? QStringLiteral("rapid ") : QString())
                                          + consequence);
    }
}

void LineCheck::CheckMotion(const GCodeInterpreter& state)
{
    const double* from = state.previousPosition;
    const double* to = state.position;
    if (state.MotionRequest() != G::NoMotion)
        CheckSpeeds(state);
    switch (state.MotionRequest()) {
    case G::NoMotion:
        if (!coordinates)
            break;
        if (state.motionMode == 2 || state.motionMode == 3) {
            Add(FindingKind::ArcNotMade,
                state.plane != 17        ? QStringLiteral("arc in plane G%1").arg(state.plane)
                : to[G::Z] != from[G::Z] ? QStringLiteral("centre arc with Z moving")
                                         : QStringLiteral("arc without I, J or R"));
        } else {
            Add(FindingKind::NoMotion, QStringLiteral("before any G0 to G3"));
        }
        break;
    case G::CentreArc: {
        const double centreX = from[G::X] + state.arcCentre[0];
        const double centreY = from[G::Y] + state.arcCentre[1];
        const double off = std::abs(std::hypot(state.arcCentre[0], state.arcCentre[1])
                                    - std::hypot(to[G::X] - centreX, to[G::Y] - centreY));
        if (off > arcTolerance)
            Add(FindingKind::ArcNotMade,
                QStringLiteral("end %1 mm off the circle").arg(off, 0, 'f', 3));
        break;
    }
    case G::RadiusArc:
        if (std::hypot(to[G::X] - from[G::X], to[G::Y] - from[G::Y])
            > 2 * std::abs(state.arcRadius) + 1e-9)
            Add(FindingKind::ArcNotMade,
                QStringLiteral("R%1 shorter than half the chord").arg(std::abs(state.arcRadius)));
        break;
    case G::Line:
        if (!coordinates)
            Add(FindingKind::ZeroMove, words                      ? Quoted(text)
                                       : text.trimmed().isEmpty() ? QStringLiteral("blank")
                                                                  : Quoted(text));
        break;
    }
}

// The findings of each kind, in the order of the kinds.
std::array<std::vector<const ProgramFinding*>, kinds.size()>
ByKind(const std::vector<ProgramFinding>& findings)
{
    std::array<std::vector<const ProgramFinding*>, kinds.size()> grouped;
    for (const ProgramFinding& finding : findings)
        grouped[std::size_t(finding.kind)].push_back(&finding);
    return grouped;
}

qsizetype DistinctLines(const std::vector<const ProgramFinding*>& findings)
{
    std::set<qsizetype> lines;
    for (const ProgramFinding* finding : findings)
        lines.insert(finding->line);
    return qsizetype(lines.size());
}

} // namespace

std::vector<ProgramFinding> CheckProgram(const ProgramText& program, double feedLimit)
{
    std::vector<ProgramFinding> findings;
    FeedWord feed;
    LineWords words;
    for (ProgramWalk walk(program, ProgramWalk::Acceleration::NotCarried, -1, &words);
         walk.Next();) {
        LineCheck check(walk.Text(), walk.Index() + 1, feedLimit, feed, findings);
        check.CheckWords(words);
        check.CheckMotion(walk.State());
    }
    return findings;
}

qsizetype LinesReadDifferently(const std::vector<ProgramFinding>& findings)
{
    qsizetype lines = 0;
    qsizetype last = 0;
    for (const ProgramFinding& finding : findings) {
        lines += finding.line != last ? 1 : 0;
        last = finding.line;
    }
    return lines;
}

QString ProgramCheckHeadline(qsizetype lines)
{
    return QStringLiteral("program check: %1 line%2 read differently")
        .arg(QLocale(QLocale::English).toString(qlonglong(lines)),
             lines == 1 ? QString() : QStringLiteral("s"));
}

QStringList ProgramCheckText(const std::vector<ProgramFinding>& findings, int placesPerKind)
{
    const auto grouped = ByKind(findings);
    QStringList text;
    for (const KindText& kind : kinds) {
        const std::vector<const ProgramFinding*>& found = grouped[std::size_t(kind.kind)];
        if (found.empty())
            continue;
        const qsizetype lines = DistinctLines(found);
        text << QStringLiteral("  %1: %2 line%3")
                    .arg(QLatin1String(kind.title))
                    .arg(lines)
                    .arg(lines == 1 ? QString() : QStringLiteral("s"));
        const qsizetype shown = std::min<qsizetype>(placesPerKind, qsizetype(found.size()));
        for (qsizetype i = 0; i < shown; ++i)
            text << QStringLiteral("    line %1: %2")
                        .arg(found[std::size_t(i)]->line)
                        .arg(found[std::size_t(i)]->what);
        if (qsizetype(found.size()) > shown)
            text << QStringLiteral("    … and %1 more").arg(qsizetype(found.size()) - shown);
    }
    return text;
}

QJsonArray ProgramCheckJson(const std::vector<ProgramFinding>& findings)
{
    const auto grouped = ByKind(findings);
    QJsonArray json;
    for (const KindText& kind : kinds) {
        const std::vector<const ProgramFinding*>& found = grouped[std::size_t(kind.kind)];
        if (found.empty())
            continue;
        QJsonArray places;
        for (const ProgramFinding* finding : found)
            places.append(QJsonObject{{QStringLiteral("line"), double(finding->line)},
                                      {QStringLiteral("what"), finding->what}});
        json.append(QJsonObject{{QStringLiteral("kind"), QLatin1String(kind.key)},
                                {QStringLiteral("title"), QLatin1String(kind.title)},
                                {QStringLiteral("lines"), double(DistinctLines(found))},
                                {QStringLiteral("places"), places}});
    }
    return json;
}
