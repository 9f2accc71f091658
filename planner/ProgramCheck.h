#ifndef KURVO_WORKBENCH_PROGRAMCHECK_H
#define KURVO_WORKBENCH_PROGRAMCHECK_H

#include "gcode/ProgramText.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

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
};

struct ProgramFinding
{
    qsizetype line; // from 1
    FindingKind kind;
    QString what; // the word or a short reason: "G91", "F0.5", "R2 shorter than half the chord"
};

// The findings of the whole program, in line order; `feedLimit` in mm/s.
std::vector<ProgramFinding> CheckProgram(const ProgramText& program, double feedLimit);

// How many lines have at least one finding.
qsizetype LinesReadDifferently(const std::vector<ProgramFinding>& findings);

// "program check: 1,234 lines read differently".
QString ProgramCheckHeadline(qsizetype linesReadDifferently);

// The findings grouped by kind, with counts, as lines for the output pane: at most
// `placesPerKind` places of a kind, the rest counted.
QStringList ProgramCheckText(const std::vector<ProgramFinding>& findings, int placesPerKind);

// The findings grouped by kind, for scripts: [{"kind", "title", "lines", "places": [{"line",
// "what"}]}].
QJsonArray ProgramCheckJson(const std::vector<ProgramFinding>& findings);

#endif
