#ifndef KURVO_WORKBENCH_PROGRAMRESUME_H
#define KURVO_WORKBENCH_PROGRAMRESUME_H

#include "gcode/ProgramText.h"

#include <QString>

// What the machine must get to go on at line `line` (from 1) as if the program had run up to it:
// a lead-in, then that line and the rest of the program, which give exactly the commands the
// whole program gives from that line on, streamed or read as table rows. The lead-in carries
// what the lines before left in force (plane, position, feeds, accelerations, line number) and,
// once a motion mode is in force, turns the laser off, moves to where the line starts at the
// rapid feed then in force and turns the laser on again where it was on; the line gets the
// motion mode before its own words, which win. Before any motion mode nothing moves: the
// position is taken without a move, the laser set as it stands.
QString ResumedProgram(const ProgramText& program, qsizetype line);

// Writes what goes on with the program at `path` at `line` (of its source, for a converted
// program) into "NAME from line LINE.nc" in
// `folder`, made when missing, and names it in `written`; false when the program cannot be read
// or the file written.
bool WriteResumedProgram(const QString& path, qsizetype line, const QString& folder,
                         QString& written);

#endif
