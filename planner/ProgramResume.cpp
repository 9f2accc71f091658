#include "planner/ProgramResume.h"

#include "gcode/ProgramWalk.h"
#include "planner/CommonGCode.h"
#include "planner/ProgramLineMap.h"
#include "planner/ProgramNumber.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

using G = GCodeInterpreter;

// What the lines before left in force that a later line reads: the plane, where the axes are,
// the feeds and accelerations, the line number. The acceleration is the one the table reading
// carries; a streamed line takes its own or the default, so a word on a rapid line of its own
// leaves the stream as it was.
QString ModalWords(const G& state, double tableAcceleration)
{
    QStringList words{QStringLiteral("G%1").arg(state.plane)};
    const char16_t axes[] = {u'X', u'Y', u'Z', u'A', u'C', u'U', u'V', u'W'};
    for (int axis = G::X; axis <= G::W; ++axis) {
        const double at = state.position[axis];
        if (axis <= G::Z || at != 0 || std::signbit(at))
            words << QChar(axes[axis]) + ProgramNumber(at);
    }
    words << QStringLiteral("F") + ProgramNumber(state.carried.feed)
          << QStringLiteral("D") + ProgramNumber(tableAcceleration)
          << QStringLiteral("EF") + ProgramNumber(state.carried.rapidFeed)
          << QStringLiteral("ED") + ProgramNumber(state.carried.rapidAcceleration);
    if (state.lineNumber != 0)
        words << QStringLiteral("N%1").arg(state.lineNumber);
    return words.join(QLatin1Char(' '));
}

} // namespace

QString ResumedProgram(const ProgramText& program, qsizetype line)
{
    // The streamed reading carries no acceleration from line to line, the table reading does.
    const qsizetype first = std::clamp<qsizetype>(line, 1, program.LineCount() + 1) - 1;
    ProgramWalk streamedWalk(program, ProgramWalk::Acceleration::NotCarried, first);
    ProgramWalk tabledWalk(program, ProgramWalk::Acceleration::Carried, first);
    const G& streamed = streamedWalk.State();
    const G& tabled = tabledWalk.State();
    bool laserOn = false; // as the last H0 or H1 left it
    for (;;) {
        // Both step, so that both finish the last line.
        const bool more = streamedWalk.Next();
        tabledWalk.Next();
        if (!more)
            break;
        if (streamed.laserSwitch == 0 || streamed.laserSwitch == 1)
            laserOn = streamed.laserSwitch == 1;
    }
    const QString modal = ModalWords(streamed, tabled.carried.acceleration);
    QStringList lines;
    QString lineMode;
    if (streamed.motionMode < 0) {
        // No motion mode yet: nothing has moved, and nothing may until the program chooses one,
        // so the position is taken without a move, and the laser set as it stands.
        lines << modal << (laserOn ? QStringLiteral("H1") : QStringLiteral("H0"));
    } else {
        // The lead-in: the laser off, a rapid to where the line starts, the laser on again where
        // it was on. In an arc mode a line without arc words moves nothing, so the laser's line
        // sends the switch alone.
        lines << QStringLiteral("H0") << QStringLiteral("G00 ") + modal;
        if (laserOn)
            lines << QStringLiteral("G02 H1");
        lineMode = QStringLiteral("G%1 ").arg(streamed.motionMode, 2, 10, QLatin1Char('0'));
    }
    QString widened;
    if (first < program.LineCount())
        lines << lineMode + program.Line(first, widened).toString();
    if (first + 1 < program.LineCount())
        lines << program.JoinedLines(first + 1, program.LineCount());
    return lines.join(QLatin1Char('\n'));
}

bool WriteResumedProgram(const QString& path, qsizetype line, const QString& folder,
                         QString& written)
{
    const std::optional<ProgramText> program = ProgramText::Read(path);
    written
        = folder
          + QStringLiteral("/%1 from line %2.nc").arg(QFileInfo(path).completeBaseName()).arg(line);
    if (!program)
        return false;
    // A converted program goes on at its source's line, and stays one.
    QString resumed = ResumedProgram(*program, ProgramLineOfSource(*program, line));
    if (const std::optional<qsizetype> source = ConvertedSourceLines(*program))
        resumed.prepend(ConvertedHeader(*source) + QLatin1Char('\n'));
    QSaveFile file(written);
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly)
           && file.write(resumed.toUtf8()) >= 0 && file.commit();
}
