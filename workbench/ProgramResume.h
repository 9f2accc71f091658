#ifndef KURVO_WORKBENCH_PROGRAMRESUME_H
#define KURVO_WORKBENCH_PROGRAMRESUME_H

#include "gcode/ProgramText.h"

#include <QString>

// What the machine must get to go on at line `line` (from 1) as if the program had run up to it:
// the laser off, a rapid to where that line starts, then the line with the motion mode, feeds
// and laser state the lines before left, and the rest of the program. Each line reads as the
// module's interpreter reads it; the modal words go before the line's own, which win.
QString ResumedProgram(const ProgramText& program, qsizetype line);

#endif
