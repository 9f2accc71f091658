#ifndef KURVO_PROGRAMROWS_H
#define KURVO_PROGRAMROWS_H

#include "buffer/BufRowValues.h"
#include "gcode/ProgramText.h"

#include <vector>

// A program of this many lines or fewer loads into the command table; a longer one is streamed.
constexpr qsizetype longestTableProgram = 10;

// A row of the command table that a short program becomes: its type, chosen by the look-ahead
// mode, the values its editors start with, and the label its editors are reported under.
struct ProgramRow
{
    QString type;
    BufRowValues values;
    const char* label;
};

// The program as table rows, a command a row, as loading a short program makes them: laser
// switches, then the line's move. The values of one line carry into the next, as one record
// filled line by line; a dwell has no row.
std::vector<ProgramRow> ProgramAsRows(const ProgramText& program, bool lookAheadOpen);

#endif
