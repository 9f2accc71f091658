#ifndef KURVO_WORKBENCH_PROGRAMCHECK_H
#define KURVO_WORKBENCH_PROGRAMCHECK_H

#include "gcode/ProgramText.h"
#include "gcode/ProgramWalk.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// Where the module's dialect reads a program differently from common G-code, line by line, so
// that the operator sees it before the machine moves.
enum class FindingKind {
    SkippedWord,     // read as nothing: G91, G20, M and T codes, lowercase g, f, n, t ...
    DroppedText,     // words after a comment or a '/', which end the line here
    FeedTruncated,   // F0.5 is 0 mm/s
    FeedBeyondLimit, // above the machine's limit: often mm/min read as mm/s
    ArcNotMade,      // no arc, or one the controller refuses
    OtherDialect,    // G5.2 splines, P, L, S, Q words
    NoMotion,        // coordinates before any G0 or G1
    ZeroMove,        // a line without coordinates moves to where the machine stands
    MoveRefused,     // a feed or acceleration of 0 (F0.5): the controller refuses the move
    FeedPerMinute,   // an F of a program written for common G-code, where F is mm/min
    LeavesTravel,    // the first motion that goes past the machine's travel
};

struct ProgramFinding
{
    qsizetype line; // from 1
    FindingKind kind;
    QString what; // the word or a short reason: "G91", "F0.5", "R2 shorter than half the chord"
};

// The findings of the whole program, in line order, and the verdict on it: a sentence when it
// shows that it was written for common G-code. `feedLimit` in mm/s.
struct ProgramCheck
{
    std::vector<ProgramFinding> findings;
    std::optional<QString> verdict;
};
ProgramCheck CheckProgram(const ProgramText& program, double feedLimit);

struct CommonSigns;
struct FeedWord;

// The same check a line at a time, as a walk that tells each line's words reads the program:
// whoever walks it anyway (the dry run's stream) checks it on the way.
class ProgramChecker
{
public:
    ProgramChecker(const ProgramText& program, double feedLimit);
    ~ProgramChecker();

    void CheckLine(const ProgramWalk& walk, const LineWords& words);
    // The findings once the last line is checked.
    ProgramCheck Finish();

private:
    const double feedLimit;
    const bool converted;
    std::unique_ptr<FeedWord> feed;
    std::unique_ptr<CommonSigns> signs;
    ProgramCheck check;
};
// Adds a finding made elsewhere (the dry run's), in line order.
void AddFinding(ProgramCheck& check, ProgramFinding finding);

// Danger: the path or the speed differs from what the program means. Warning: the machine will
// not do something it asks for. Info: harmless.
enum class Severity { Danger, Warning, Info };

// One line's findings together: its most severe, the words, and what follows from them.
struct CheckedLine
{
    qsizetype line;
    Severity severity;
    QString words;
    QString consequence;
};
std::vector<CheckedLine> CheckedLines(const std::vector<ProgramFinding>& findings);

struct CheckCounts
{
    qsizetype danger = 0;
    qsizetype warning = 0;
    qsizetype info = 0;
    qsizetype Lines() const { return danger + warning + info; }
};
CheckCounts CountLines(const std::vector<CheckedLine>& lines);

// "program check: 1,234 lines read differently (2 danger, 0 warning, 1,232 info)".
QString ProgramCheckHeadline(const CheckCounts& counts);

// For the status bar: the lines of danger and warning; empty when there are none.
QString ProgramCheckStatus(const CheckCounts& counts);

// For the output pane: the verdict, then the lines of danger and of warning, at most
// `placesShown` of each, the rest counted; the harmless ones only counted.
QStringList ProgramCheckText(const ProgramCheck& check, int placesShown);

// For scripts: {"verdict", "counts": {"danger", "warning", "info"}, "lines": [{"line",
// "severity", "words", "consequence"}]}.
QJsonObject ProgramCheckJson(const ProgramCheck& check);

#endif
