#include "gcode/ProgramRows.h"

#include "gcode/ProgramCommands.h"
#include "gcode/ProgramWalk.h"

namespace {

const char* labelOf(const QString& type)
{
    if (type == QLatin1String("BufLaserOnEx"))
        return "CreateNewColumn BufLaserOn";
    if (type == QLatin1String("BufLaserOffEx"))
        return "CreateNewColumn BufLaserOff";
    if (type.startsWith(QLatin1String("LnXYZ")))
        return "CreateNewColumn LnXYZ";
    if (type == QLatin1String("ArcXYCEx"))
        return "CreateNewColumn MQ_ArcXYCEx";
    if (type == QLatin1String("ArcXYC"))
        return "CreateNewColumn MQ_ArcXYC";
    if (type == QLatin1String("ArcXYREx"))
        return "CreateNewColumn MQ_ArcXYREx";
    return "CreateNewColumn MQ_ArcXYR";
}

} // namespace

std::vector<ProgramRow> ProgramAsRows(const ProgramText& program, bool lookAheadOpen)
{
    using G = GCodeInterpreter;
    ProgramWalk walk(program, ProgramWalk::Acceleration::Carried);
    const GCodeInterpreter& line = walk.State();
    BufRowValues values;
    std::vector<ProgramRow> rows;
    auto append = [&rows, &values](const QString& type) {
        rows.push_back({type, values, labelOf(type)});
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

    while (walk.Next()) {
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
    }
    return rows;
}
