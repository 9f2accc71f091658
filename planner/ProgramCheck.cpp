#include "planner/ProgramCheck.h"

#include "gcode/ProgramWalk.h"
#include "planner/CommonGCode.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <optional>

// The feed word in force: the line it was written on and the word as written.
struct FeedWord
{
    qsizetype line = 0;
    QString word;
};

// What a program shows of common G-code, looked for as the check walks it.
struct CommonSigns
{
    bool seen = false;
    bool spindle = false;              // M3 or M4
    bool power = false;                // S
    QString firstFeed;                 // the first F word, as written
    std::vector<ProgramFinding> feeds; // every F word
};

namespace {

using G = GCodeInterpreter;

// The controller takes an arc's end within two pulses of its circle; at a thousand pulses a
// millimetre, that is this.
constexpr double arcTolerance = 0.002;
constexpr int quotedCharacters = 24;

// Lines at the top where a CAM post-processor names itself in a comment.
constexpr qsizetype headerLines = 10;

bool NamesCam(QStringView comment)
{
    static const char* const names[]
        = {"generated", "post",    "cam",     "fusion",    "vcarve",  "aspire",
           "inkscape",  "flatcam", "estlcam", "lightburn", "sheetcam"};
    for (const char* name : names)
        if (comment.contains(QLatin1String(name), Qt::CaseInsensitive))
            return true;
    return false;
}

QString English(double value)
{
    return QLocale(QLocale::English).toString(value, 'f', 0);
}

QString Verdict(const CommonSigns& signs)
{
    QString verdict = QStringLiteral("Written for common G-code: there F is mm/min, here mm/s");
    if (!signs.firstFeed.isEmpty()) {
        const double read = std::trunc(signs.firstFeed.mid(1).toDouble());
        verdict += QStringLiteral(" \u2014 %1 would run at %2 mm/s (%3 mm/min)")
                       .arg(signs.firstFeed, English(read), English(read * 60));
    }
    return verdict + QLatin1Char('.');
}

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

// One line's words, walked as the interpreter walks them. The line's text is taken from the walk
// only where a word's characters are needed, mostly for a finding.
class LineCheck
{
public:
    LineCheck(const ProgramWalk& walk, qsizetype line, double feedLimit, FeedWord& feed,
              CommonSigns& signs, std::vector<ProgramFinding>& findings)
        : walk(walk)
        , line(line)
        , feedLimit(feedLimit)
        , feed(feed)
        , signs(signs)
        , findings(findings)
    {}

    void CheckWords(const LineWords& read);
    void CheckMotion(const GCodeInterpreter& state);

private:
    void Add(FindingKind kind, QString what) { findings.push_back({line, kind, std::move(what)}); }
    void CheckComment(qsizetype at);
    void CheckGCode(const ReadWord& word);
    void LookForSpindle(double code);
    void CheckFeed(QStringView number);
    void CheckSpeeds(const GCodeInterpreter& state);
    QStringView Text() const { return walk.Text(); }
    QStringView NumberOf(const ReadWord& word) const { return word.Number(Text()); }
    // The number of a G or M word, as G::NumberOf converts it (0 when it does not).
    double CodeOf(const ReadWord& word, bool* converted = nullptr) const;

    const ProgramWalk& walk;
    qsizetype line;
    double feedLimit;
    FeedWord& feed;
    CommonSigns& signs;
    std::vector<ProgramFinding>& findings;
    bool coordinates = false;
    bool words = false;
};

// Each word is looked at once: for what the dialect makes of it, and for signs of common G-code.
void LineCheck::CheckWords(const LineWords& read)
{
    for (const ReadWord& word : read.words) {
        words = true;
        // DELAY, EF and ED, and their misspellings, are the dialect's own.
        if (!word.IsOneLetter())
            continue;
        const char16_t c = word.first;
        const bool upper = G::IsUpperCase(c);
        signs.seen = signs.seen || !upper;
        const auto written = [this, &word] {
            return QString(QChar(word.first)) + NumberOf(word).toString();
        };
        switch (G::LetterOf(c)) {
        case u'G':
            if (!upper)
                Add(FindingKind::SkippedWord, written());
            else
                CheckGCode(word);
            break;
        case u'F':
            if (upper)
                CheckFeed(NumberOf(word));
            else
                Add(FindingKind::SkippedWord, written());
            break;
        case u'M':
            if (upper)
                LookForSpindle(CodeOf(word));
            Add(FindingKind::SkippedWord, written());
            break;
        case u'N':
            if (!upper)
                Add(FindingKind::SkippedWord, written());
            break;
        case u'T':
            signs.seen = true;
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
        case u'S':
            signs.power = signs.power || upper;
            Add(FindingKind::OtherDialect, written());
            break;
        case u'P':
        case u'L':
        case u'Q':
            Add(FindingKind::OtherDialect, written());
            break;
        default:
            if (QChar(c).isLetter())
                Add(FindingKind::SkippedWord, written());
            break;
        }
    }
    if (read.endsAt >= 0)
        CheckComment(read.endsAt);
}

double LineCheck::CodeOf(const ReadWord& word, bool* converted) const
{
    if (converted)
        *converted = true;
    if (const std::optional<int> digits = word.Digits())
        return *digits;
    const QStringView number = NumberOf(word);
    if (const std::optional<int> whole = WholeNumber(number))
        return *whole;
    return G::NumberOf(number, converted);
}

void LineCheck::LookForSpindle(double code)
{
    signs.spindle = signs.spindle || code == 3 || code == 4;
    signs.seen = signs.seen || code == 6;
}

// The dialect ends the line at a comment's start, where common G-code goes on after ")" and
// reads a "/" line unless told to skip it.
void LineCheck::CheckComment(qsizetype at)
{
    const QStringView text = Text();
    qsizetype rest = at + 1;
    if (text[at] == u';' || (line <= headerLines && NamesCam(text.mid(at))))
        signs.seen = true;
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

void LineCheck::CheckGCode(const ReadWord& read)
{
    bool converted = false;
    // One that does not convert is G0 to the signs.
    const double value = CodeOf(read, &converted);
    signs.seen = signs.seen || value == 20 || value == 21 || value == 93 || value == 94
                 || value == 64 || (value >= 5 && value < 6) || (value >= 54 && value <= 59.3);
    if (!converted)
        return;
    const auto word = [this, &read] {
        return QStringLiteral("G") + NumberOf(read).toString();
    };
    if (value != std::trunc(value) || value == 5)
        Add(FindingKind::OtherDialect, word());
    else if (!ReadAlike(value))
        Add(FindingKind::SkippedWord, word());
}

void LineCheck::CheckFeed(QStringView number)
{
    const double value = G::NumberOf(number);
    const double read = std::trunc(value);
    const QString word = QStringLiteral("F") + number.toString();
    feed = {line, word};
    if (signs.firstFeed.isEmpty())
        signs.firstFeed = word;
    signs.feeds.push_back({line, FindingKind::FeedPerMinute, word});
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
    const bool rapid = state.motionMode == 0;
    if (!(state.Velocity() > 0)) {
        if (rapid)
            Add(FindingKind::MoveRefused, QStringLiteral("the rapid feed is 0"));
        else if (feed.line == line)
            Add(FindingKind::MoveRefused, ReadAs(feed.word));
        else if (feed.line > 0)
            Add(FindingKind::MoveRefused,
                QStringLiteral("the feed is 0 (%1 on line %2)").arg(feed.word).arg(feed.line));
        else
            Add(FindingKind::MoveRefused, QStringLiteral("the feed is 0"));
    } else if (!(state.Acceleration() > 0)) {
        Add(FindingKind::MoveRefused, QStringLiteral("the %1acceleration is 0")
                                          .arg(rapid ? QStringLiteral("rapid ") : QString()));
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
            Add(FindingKind::ZeroMove, words                        ? Quoted(Text())
                                       : Text().trimmed().isEmpty() ? QStringLiteral("blank")
                                                                    : Quoted(Text()));
        break;
    }
}

// How much a finding matters, and what follows from it.
std::pair<Severity, QString> Judged(const ProgramFinding& finding)
{
    using S = Severity;
    const QString& what = finding.what;
    const auto is = [&what](const char* word) {
        return what == QLatin1String(word);
    };
    switch (finding.kind) {
    case FindingKind::SkippedWord:
        if (is("G91"))
            return {S::Danger, QStringLiteral("relative moves read as absolute ones")};
        if (is("G20"))
            return {S::Danger, QStringLiteral("inches read as mm")};
        if (is("G93"))
            return {S::Danger, QStringLiteral("inverse-time feeds read as mm/s")};
        if (is("G18") || is("G19"))
            return {S::Danger, QStringLiteral("the plane is skipped: arcs stay in XY")};
        if (is("G4"))
            return {S::Warning, QStringLiteral("no dwell: only DELAY dwells here")};
        if (is("G61") || is("G64") || is("G94"))
            return {S::Info, QStringLiteral("the machine's own path and feed settings hold")};
        if (what.startsWith(u'g') || what.startsWith(u'f'))
            return {S::Danger, QStringLiteral("lowercase: the motion or feed stays as it was")};
        if (what.startsWith(u'n') || what.startsWith(u't'))
            return {S::Info, QStringLiteral("lowercase: read as nothing")};
        if (is("M3") || is("M4") || is("M5") || is("M03") || is("M04") || is("M05"))
            return {S::Warning,
                    QStringLiteral("the spindle or laser is not switched (H1 and H0 switch it)")};
        if (is("M2") || is("M30") || is("M02"))
            return {S::Info, QStringLiteral("the program ends where its lines do")};
        if (what.startsWith(u'T') || is("M6") || is("M06"))
            return {S::Warning, QStringLiteral("no tool change here")};
        if (what.startsWith(u'G') && what.mid(1).toDouble() >= 54 && what.mid(1).toDouble() < 60)
            return {S::Warning, QStringLiteral("no work offsets here")};
        return {S::Warning, QStringLiteral("the machine will not do this")};
    case FindingKind::DroppedText:
        return {S::Danger, QStringLiteral("dropped: a comment or '/' ends the line here")};
    case FindingKind::FeedTruncated:
        return {S::Danger, QStringLiteral("the feed is cut to whole mm/s")};
    case FindingKind::FeedBeyondLimit:
        return {S::Danger, QStringLiteral("mm/min read as mm/s, beyond the machine's feed")};
    case FindingKind::ArcNotMade:
        return {S::Danger, QStringLiteral("the arc is not made")};
    case FindingKind::OtherDialect:
        if (is("G5.2") || is("G5.3"))
            return {S::Danger,
                    QStringLiteral("a NURBS curve, cut as straight lines between its control "
                                   "points")};
        if (is("G5") || is("G5.1"))
            return {S::Danger, QStringLiteral("a spline, cut as a straight line to its end")};
        if (what.startsWith(u'S'))
            return {S::Warning, QStringLiteral("spindle speed or laser power: not set here")};
        if (what.startsWith(u'G'))
            return {S::Warning, QStringLiteral("a G code of another dialect, skipped")};
        return {S::Info, QStringLiteral("read as nothing")};
    case FindingKind::NoMotion:
        return {S::Danger, QStringLiteral("no motion")};
    case FindingKind::ZeroMove:
        return {S::Info, QStringLiteral("a move of length 0")};
    case FindingKind::MoveRefused:
        return {S::Danger,
                QStringLiteral("the controller refuses the move and the line is skipped")};
    case FindingKind::FeedPerMinute:
        return {S::Danger, QStringLiteral("mm/min there, mm/s here: 60 times as fast")};
    case FindingKind::LeavesTravel:
        return {S::Danger, QStringLiteral("the machine would run past its travel")};
    }
    return {S::Info, QString()};
}

struct SeverityText
{
    const char* key;
    const char* meaning;
};

constexpr SeverityText severities[] = {
    {"danger", "the path or the speed differs from what the program means"},
    {"warning", "the machine will not do it"},
    {"info", "harmless: moves of length 0, comments"},
};

QString Lines(qsizetype count)
{
    return QStringLiteral("%1 line%2")
        .arg(QLocale(QLocale::English).toString(qlonglong(count)),
             count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

ProgramChecker::ProgramChecker(const ProgramText& program, double feedLimit)
    : feedLimit(feedLimit)
    , converted(ConvertedSourceLines(program).has_value())
    , feed(std::make_unique<FeedWord>())
    , signs(std::make_unique<CommonSigns>())
{}

ProgramChecker::~ProgramChecker() = default;

// A converted program's findings name the lines of its source, its moves' N words.
void ProgramChecker::CheckLine(const ProgramWalk& walk, const LineWords& words)
{
    const int named = walk.State().lineNumber;
    LineCheck line(walk, converted && named > 0 ? named : walk.Index() + 1, feedLimit, *feed,
                   *signs, check.findings);
    line.CheckWords(words);
    line.CheckMotion(walk.State());
}

ProgramCheck ProgramChecker::Finish()
{
    signs->seen = signs->seen || (signs->spindle && signs->power);
    if (signs->seen) {
        check.verdict = Verdict(*signs);
        // Every feed of such a program is in mm/min, in line among the other findings, and says
        // more than a feed beyond the machine's.
        check.findings.erase(std::remove_if(check.findings.begin(), check.findings.end(),
                                            [](const ProgramFinding& finding) {
                                                return finding.kind == FindingKind::FeedBeyondLimit;
                                            }),
                             check.findings.end());
        std::vector<ProgramFinding> merged;
        merged.reserve(check.findings.size() + signs->feeds.size());
        std::merge(
            signs->feeds.begin(), signs->feeds.end(), check.findings.begin(), check.findings.end(),
            std::back_inserter(merged),
            [](const ProgramFinding& a, const ProgramFinding& b) { return a.line < b.line; });
        check.findings = std::move(merged);
    }
    return std::move(check);
}

ProgramCheck CheckProgram(const ProgramText& program, double feedLimit)
{
    ProgramChecker checker(program, feedLimit);
    LineWords words;
    for (ProgramWalk walk(program, ProgramWalk::Acceleration::NotCarried, -1, &words); walk.Next();)
        checker.CheckLine(walk, words);
    return checker.Finish();
}

std::vector<CheckedLine> CheckedLines(const std::vector<ProgramFinding>& findings)
{
    std::vector<CheckedLine> lines;
    QStringList consequences;
    for (const ProgramFinding& finding : findings) {
        const auto [severity, consequence] = Judged(finding);
        if (lines.empty() || lines.back().line != finding.line) {
            lines.push_back({finding.line, severity, finding.what, consequence});
            consequences = {consequence};
            continue;
        }
        CheckedLine& line = lines.back();
        // A word two findings name ("M5", then the move of length 0 its line sends) once.
        if (!(u' ' + line.words + u' ').contains(u' ' + finding.what + u' '))
            line.words += u' ' + finding.what;
        if (severity < line.severity) {
            line.severity = severity;
            consequences = {consequence};
        } else if (severity == line.severity && !consequences.contains(consequence)) {
            consequences << consequence;
        }
        line.consequence = consequences.join(QStringLiteral("; "));
    }
    return lines;
}

CheckCounts CountLines(const std::vector<CheckedLine>& lines)
{
    CheckCounts counts;
    for (const CheckedLine& line : lines) {
        qsizetype& count = line.severity == Severity::Danger    ? counts.danger
                           : line.severity == Severity::Warning ? counts.warning
                                                                : counts.info;
        ++count;
    }
    return counts;
}

QString ProgramCheckHeadline(const CheckCounts& counts)
{
    QString headline
        = QStringLiteral("program check: %1 read differently").arg(Lines(counts.Lines()));
    if (counts.Lines() > 0) {
        const QLocale english(QLocale::English);
        headline += QStringLiteral(" (%1 danger, %2 warning, %3 info)")
                        .arg(english.toString(qlonglong(counts.danger)),
                             english.toString(qlonglong(counts.warning)),
                             english.toString(qlonglong(counts.info)));
    }
    return headline;
}

QString ProgramCheckStatus(const CheckCounts& counts)
{
    if (counts.danger == 0 && counts.warning == 0)
        return QString();
    const QLocale english(QLocale::English);
    return QStringLiteral("Program check: %1 danger, %2 warning \u2014 see Output")
        .arg(english.toString(qlonglong(counts.danger)),
             english.toString(qlonglong(counts.warning)));
}

QStringList ProgramCheckText(const ProgramCheck& check, int placesShown)
{
    QStringList text;
    if (check.verdict)
        text << QStringLiteral("  ") + *check.verdict;
    const std::vector<CheckedLine> lines = CheckedLines(check.findings);
    for (const Severity severity : {Severity::Danger, Severity::Warning, Severity::Info}) {
        const SeverityText& named = severities[int(severity)];
        qsizetype count = 0;
        QStringList places;
        for (const CheckedLine& line : lines) {
            if (line.severity != severity)
                continue;
            if (++count <= placesShown && severity != Severity::Info)
                places << QStringLiteral("    line %1: %2 \u2014 %3")
                              .arg(line.line)
                              .arg(line.words, line.consequence);
        }
        if (count == 0)
            continue;
        text << QStringLiteral("  %1: %2 (%3)")
                    .arg(QLatin1String(named.key), Lines(count), QLatin1String(named.meaning))
             << places;
        if (severity != Severity::Info && count > placesShown)
            text << QStringLiteral("    \u2026 and %1 more").arg(count - placesShown);
    }
    return text;
}

QJsonObject ProgramCheckJson(const ProgramCheck& check)
{
    const std::vector<CheckedLine> lines = CheckedLines(check.findings);
    const CheckCounts counts = CountLines(lines);
    QJsonArray listed;
    for (const CheckedLine& line : lines)
        listed.append(QJsonObject{
            {QStringLiteral("line"), double(line.line)},
            {QStringLiteral("severity"), QLatin1String(severities[int(line.severity)].key)},
            {QStringLiteral("words"), line.words},
            {QStringLiteral("consequence"), line.consequence}});
    return QJsonObject{
        {QStringLiteral("verdict"), check.verdict ? QJsonValue(*check.verdict) : QJsonValue()},
        {QStringLiteral("counts"), QJsonObject{{QStringLiteral("danger"), double(counts.danger)},
                                               {QStringLiteral("warning"), double(counts.warning)},
                                               {QStringLiteral("info"), double(counts.info)}}},
        {QStringLiteral("lines"), listed},
    };
}

void AddFinding(ProgramCheck& check, ProgramFinding finding)
{
    const auto after = std::upper_bound(
        check.findings.begin(), check.findings.end(), finding.line,
        [](qsizetype line, const ProgramFinding& other) { return line < other.line; });
    check.findings.insert(after, std::move(finding));
}
