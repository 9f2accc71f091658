#include "planner/ResumeCommand.h"

#include "gcode/ProgramText.h"
#include "planner/CommandLine.h"
#include "planner/ProgramResume.h"

#include <QCommandLineParser>

#include <cstdio>

int RunResumeCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption lineOption(
        QStringLiteral("resume-from"),
        QStringLiteral("Print the program Run from line would load to go on at the line."),
        QStringLiteral("line"));
    parser.addOption(lineOption);
    parser.addPositionalArgument(QStringLiteral("program"), QStringLiteral("The program."));
    if (!parser.parse(arguments))
        return Complain(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return Complain(QStringLiteral("--resume-from takes a line and one program"));
    const QString path = parser.positionalArguments().constFirst();
    FileProblem problem = FileProblem::None;
    const std::optional<ProgramText> program = ProgramText::Read(path, &problem);
    if (!program) {
        return Complain(QStringLiteral("cannot read the program %1: %2")
                            .arg(path, DescribeFileProblem(problem, ProgramText::largestFile)));
    }
    bool whole = false;
    const qlonglong line = parser.value(lineOption).toLongLong(&whole);
    if (!whole || line < 1 || line > program->LineCount()) {
        return Complain(QStringLiteral("--resume-from takes a line of %1 from 1 to %2, not %3")
                            .arg(path)
                            .arg(program->LineCount())
                            .arg(parser.value(lineOption)));
    }
    const QByteArray resumed = ResumedProgram(*program, qsizetype(line)).toUtf8();
    std::fwrite(resumed.constData(), 1, std::size_t(resumed.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}
