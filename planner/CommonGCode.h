#ifndef KURVO_PLANNER_COMMONGCODE_H
#define KURVO_PLANNER_COMMONGCODE_H

#include "gcode/ProgramText.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Programs written for common G-code (F in mm/min, G20 inches, G91, arcs in every plane, G5
// splines, M3 S... for the laser), rewritten in the module's dialect so that they make the same
// path at the same speeds.
struct ConversionOptions
{
    double tolerance = 0.01; // mm a curve cut into lines may stray from it
    // Lines with what has no equivalent here (tool changes, coolant, offsets, stops) are written
    // as notes and reported, rather than ending the conversion.
    bool skipUnsupported = false;
};

struct Conversion
{
    QString program;                    // in the module's dialect, a line feed after each line
    std::vector<qsizetype> sourceLines; // the source line (from 1) of each written line; 0: none
    QStringList skipped;                // "line 12: T1 M6 (a tool change)"
    QStringList notes;                  // what the dialect can only come near to
    QString error;                      // what ended the conversion, naming the line; else empty
    bool unsupported = false;           // it ended at what has no equivalent
};

Conversion ConvertCommonGCode(const ProgramText& source, const ConversionOptions& options);

// The first line of a converted program, which says how many lines its source had.
QString ConvertedHeader(qsizetype sourceLines);
// The source's line count, when `program` is a converted one; its moves' N words are then the
// source's lines.
std::optional<qsizetype> ConvertedSourceLines(const ProgramText& program);

#endif
