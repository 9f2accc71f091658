#include "gcode/ProgramRows.h"

#include "gcode/GCodeInterpreter.h"
#include "gcode/ProgramCommands.h"

std::vector<ProgramRow> ProgramAsRows(const ProgramText& program, bool lookAheadOpen)
{
    using G = GCodeInterpreter;
    GCodeInterpreter line;
    BufRowValues values;
    std::vector<ProgramRow> rows;
    auto append = [&rows, &values](const QString& type) {
        rows.push_back({type, values});
    };
    auto takeMotion = [&line, &values] {
        values.x = line.position[G::X];
        values.y = line.position[G::Y];
        values.z = line.position[G::Z];
        values.a = line.position[G::A];
        values.synVel = line.Velocity();
        values.synAcc = line.Acceleration();
    };
    auto takeArc = [&line, &values, &takeMotion] {
        takeMotion();
        values.xCenter = line.arcCentre[0];
        values.yCenter = line.arcCentre[1];
        values.radius = line.arcRadius;
        values.circleDir = line.ArcDirection();
    };
    const auto typed = [lookAheadOpen](const char* plain) {
        return QLatin1String(plain) + (lookAheadOpen ? QLatin1String("Ex") : QLatin1String());
    };

    for (qsizetype index = 0; index < program.LineCount(); ++index) {
        line.InterpretLine(program.Line(index));
        ForEachCommand(line, [&](ProgramCommand command) {
            switch (command) {
            case ProgramCommand::LaserOn:
                append(QStringLiteral("BufLaserOnEx"));
                break;
            case ProgramCommand::LaserOff:
                append(QStringLiteral("BufLaserOffEx"));
                break;
            case ProgramCommand::Dwell: // the table has no dwell row
                break;
            case ProgramCommand::RapidLine:
                takeMotion();
                append(QStringLiteral("LnXYZG0Ex"));
                break;
            case ProgramCommand::FeedLine:
                takeMotion();
                append(typed("LnXYZ"));
                break;
            case ProgramCommand::CentreArc:
                takeArc();
                append(typed("ArcXYC"));
                break;
            case ProgramCommand::RadiusArc:
                takeArc();
                append(typed("ArcXYR"));
                break;
            }
        });
        line.FinishLine(true);
    }
    return rows;
}
