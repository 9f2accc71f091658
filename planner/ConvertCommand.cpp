#include "planner/ConvertCommand.h"

#include "gcode/ProgramText.h"
#include "planner/CommandLine.h"

#include <QCommandLineParser>
#include <QSaveFile>

#include <cstdio>

WrittenConversion WriteConvertedProgram(const QString& path, const QString& written,
                                        const ConversionOptions& options)
{
    WrittenConversion outcome;
    FileProblem problem = FileProblem::None;
    const std::optional<ProgramText> source = ProgramText::Read(path, &problem);
    if (!source) {
        outcome.error = QStringLiteral("cannot read the program %1: %2")
                            .arg(path, DescribeFileProblem(problem, ProgramText::largestFile));
        return outcome;
    }
    const Conversion conversion = ConvertCommonGCode(*source, options);
    if (!conversion.error.isEmpty()) {
        outcome.unsupported = conversion.unsupported;
        outcome.error = QStringLiteral("cannot convert %1: %2").arg(path, conversion.error);
        return outcome;
    }
    QSaveFile file(written);
    if (!file.open(QIODevice::WriteOnly) || file.write(conversion.program.toUtf8()) < 0
        || !file.commit()) {
        outcome.error = QStringLiteral("cannot write %1: %2").arg(written, file.errorString());
        return outcome;
    }
    outcome.written = true;
    outcome.report = conversion.skipped + conversion.notes;
    return outcome;
}

int RunConvertCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption convert(QStringLiteral("convert"),
                                     QStringLiteral("Write a common G-code program in the "
                                                    "module's dialect."));
    const QCommandLineOption tolerance(
        QStringLiteral("tolerance"),
        QStringLiteral("How far, in mm, lines may stray from the curves they stand for."),
        QStringLiteral("mm"), QStringLiteral("0.01"));
    const QCommandLineOption skip(QStringLiteral("skip-unsupported"),
                                  QStringLiteral("Write what has no equivalent as notes."));
    parser.addOptions({convert, tolerance, skip});
    parser.addPositionalArgument(QStringLiteral("in"), QStringLiteral("The common G-code."));
    parser.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The program to write."));
    if (!parser.parse(arguments))
        return Complain(parser.errorText());
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return Complain(QStringLiteral("--convert takes a program to read and one to write"));
    bool number = false;
    const double mm = parser.value(tolerance).toDouble(&number);
    if (!number || !(mm >= 1e-4 && mm <= 10))
        return Complain(QStringLiteral("--tolerance takes mm from 0.0001 to 10, not %1")
                            .arg(parser.value(tolerance)));
    const WrittenConversion outcome
        = WriteConvertedProgram(files[0], files[1], {mm, parser.isSet(skip)});
    if (!outcome.written)
        return Complain(outcome.unsupported
                            ? outcome.error
                                  + QStringLiteral("; --skip-unsupported writes it as a note")
                            : outcome.error);
    for (const QString& line : outcome.report)
        std::fprintf(stdout, "%s\n", qPrintable(line));
    return 0;
}
