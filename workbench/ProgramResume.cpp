#include "ProgramResume.h"

#include "gcode/GCodeInterpreter.h"

#include <QStringList>

#include <algorithm>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

QString ResumedProgram(const ProgramText& program, qsizetype line)
{
    using G = GCodeInterpreter;
    G state;
    int laser = 0; // the laser stays as the last H0 or H1 left it
    QString widened;
    const qsizetype first = std::clamp<qsizetype>(line, 1, program.LineCount() + 1) - 1;
    for (qsizetype index = 0; index < first; ++index) {
        state.InterpretLine(program.Line(index, widened));
        if (state.laserSwitch == 0 || state.laserSwitch == 1)
            laser = state.laserSwitch;
        state.FinishLine(false);
    }
    const double* at = state.position;
    const G::Speeds& speeds = state.carried;
    // A line of its own, the lead-in's rapid: with no motion mode yet, the laser word alone sends
    // no move.
    QStringList lines{QStringLiteral("H0"),
                      QStringLiteral("G00 X%1 Y%2 Z%3 EF%4 ED%5")
                          .arg(number(at[G::X]), number(at[G::Y]), number(at[G::Z]),
                               number(speeds.rapidFeed), number(speeds.rapidAcceleration))};
    QString modal = QStringLiteral("F%1 ").arg(number(speeds.feed));
    if (state.motionMode >= 0)
        modal = QStringLiteral("G%1 ").arg(state.motionMode, 2, 10, QLatin1Char('0')) + modal;
    if (laser == 1)
        modal = QStringLiteral("H1 ") + modal;
    if (first < program.LineCount())
        lines << modal + program.Line(first, widened).toString();
    if (first + 1 < program.LineCount())
        lines << program.JoinedLines(first + 1, program.LineCount());
    return lines.join(QLatin1Char('\n'));
}
