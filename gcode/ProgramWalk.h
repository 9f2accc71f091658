#ifndef KURVO_PROGRAMWALK_H
#define KURVO_PROGRAMWALK_H

#include "gcode/GCodeInterpreter.h"
#include "gcode/ProgramText.h"

// A program read a line at a time, as everything that takes its commands reads it: each step
// finishes the line read last and interprets the next, whose state its reader then walks
// (ForEachCommand). The table's reading carries a line's acceleration into the next, the
// stream's does not.
class ProgramWalk
{
public:
    enum class Acceleration { NotCarried, Carried };

    // Lines [0, end) of `program`, all of them when `end` is -1. With `words`, each line's words
    // are told there as the interpreter reads them.
    explicit ProgramWalk(const ProgramText& program, Acceleration acceleration = {},
                         qsizetype end = -1, LineWords* words = nullptr)
        : program(program)
        , carryAcceleration(acceleration == Acceleration::Carried)
        , end(end < 0 || end > program.LineCount() ? program.LineCount() : end)
        , words(words)
    {}

    // Finishes the line read last and reads the next; false, with the last line finished, past
    // the end.
    bool Next()
    {
        if (index >= 0)
            state.FinishLine(carryAcceleration);
        if (index + 1 >= end)
            return false;
        ++index;
        // A line held at one byte a character is read as it is, and widened only when asked for.
        if (program.IsNarrow()) {
            state.InterpretLine(program.NarrowLine(index), words);
        } else {
            text = program.WideLine(index);
            state.InterpretLine(text, words);
        }
        return true;
    }

    const GCodeInterpreter& State() const { return state; }
    // The line read last: its index from 0 and its text, valid until the next step.
    qsizetype Index() const { return index; }
    QStringView Text() const
    {
        if (program.IsNarrow() && widenedIndex != index) {
            text = program.Line(index, widened);
            widenedIndex = index;
        }
        return text;
    }

private:
    const ProgramText& program;
    bool carryAcceleration;
    qsizetype end;
    LineWords* words;
    GCodeInterpreter state;
    mutable QString widened;
    mutable QStringView text;
    mutable qsizetype widenedIndex = -1;
    qsizetype index = -1;
};

#endif
