#include "planner/DryRunCommand.h"

#include "gcode/ProgramText.h"
#include "planner/CommandLine.h"
#include "planner/DryRun.h"
#include "planner/ProgramCheck.h"
#include "planner/SimulatorInterface.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <cstdio>

namespace {

enum ExitCode { Success = 0, Unreadable = 1, NotPlanned = 2 };

// Places of a kind the text lists; the JSON lists them all.
constexpr int placesShown = 20;

// Empty when the text reads as a program; else why not, as the end of a sentence.
QString WhyNotAProgram(const ProgramText& program)
{
    // A zero character or one that did not decode: the file holds no text.
    if (program.Contains(QChar(0)) || program.Contains(QChar::ReplacementCharacter))
        return QStringLiteral("is no text (a binary file?)");
    return program.IsBlank() ? QStringLiteral("is empty") : QString();
}

// The window machine's text from the file, or from the standard input for "-": a few kilobytes,
// so anything much larger is no window machine.
std::optional<QByteArray> ReadWindowMachine(const QString& path)
{
    constexpr qint64 largest = 64 * 1024;
    QFile file(path);
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : file.open(QIODevice::ReadOnly);
    if (!opened)
        return std::nullopt;
    QByteArray text = file.read(largest + 1);
    if (text.size() > largest)
        return std::nullopt;
    return text;
}

} // namespace

int RunDryRunCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption dryRunOption(
        QStringLiteral("dry-run"),
        QStringLiteral("Plan the program on the virtual controller and print its cycle time."),
        QStringLiteral("program"));
    const QCommandLineOption configOption(
        QStringLiteral("config"), QStringLiteral("Host configuration (INI, see the README)."),
        QStringLiteral("file"));
    const QCommandLineOption progressOption(
        QStringLiteral("progress"), QStringLiteral("Print progress and the timetable (with --json, "
                                                   "one JSON document a line)."));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("Print the figures as one JSON object."));
    QCommandLineOption windowOption(QStringLiteral("window-machine"),
                                    QStringLiteral("The operator window's coordinate system, as "
                                                   "the workbench hands it on, in the file (-: "
                                                   "the standard input)."),
                                    QStringLiteral("file"));
    windowOption.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption previewOption(QStringLiteral("preview"),
                                     QStringLiteral("Write the planned path into the file, for "
                                                    "the workbench's preview."),
                                     QStringLiteral("file"));
    previewOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions(
        {dryRunOption, configOption, progressOption, jsonOption, windowOption, previewOption});
    if (!parser.parse(arguments))
        return Complain(parser.errorText(), Unreadable);

    DryRunMachine machine;
    QString error;
    if (!DryRunMachine::Read(parser.value(configOption), machine, error))
        return Complain(error, Unreadable);
    if (parser.isSet(windowOption)) {
        std::optional<QByteArray> encoded = ReadWindowMachine(parser.value(windowOption));
        if (!encoded)
            return Complain(QStringLiteral("cannot read the window machine from %1")
                                .arg(parser.value(windowOption)),
                            Unreadable);
        machine.window = WindowMachine::Decoded(*encoded, error);
        if (!machine.window)
            return Complain(error, Unreadable);
    }
    const QString path = parser.value(dryRunOption);
    FileProblem problem = FileProblem::None;
    const std::optional<ProgramText> program = ProgramText::Read(path, &problem);
    if (!program) {
        return Complain(QStringLiteral("cannot read the program %1: %2")
                            .arg(path, DescribeFileProblem(problem, ProgramText::largestFile)),
                        Unreadable);
    }
    if (const QString notAProgram = WhyNotAProgram(*program); !notAProgram.isEmpty())
        return Complain(QStringLiteral("%1 %2").arg(path, notAProgram), Unreadable);
    const SimulatorInterface* simulator = SimulatorInterface::Find();
    if (!simulator)
        return Complain(QStringLiteral("the controller library is not the virtual controller: "
                                       "a dry run needs it"),
                        NotPlanned);

    const bool showProgress = parser.isSet(progressOption);
    const bool json = parser.isSet(jsonOption);
    const auto printProgress = [json](int64_t done, int64_t total) {
        std::printf(json ? "{\"progress\":[%lld,%lld]}\n" : "progress %lld %lld\n",
                    static_cast<long long>(done), static_cast<long long>(total));
        std::fflush(stdout);
    };
    DryRunReport report;
    const QString previewFile = parser.value(previewOption);
    ProgramChecker checker(*program, machine.feedMax);
    if (!DryRun(*program, machine, *simulator,
                showProgress ? DryRunProgress(printProgress) : DryRunProgress(), report, error,
                previewFile.isEmpty() ? PathWanted::No : PathWanted::Yes, &checker))
        return Complain(error, NotPlanned);
    if (!previewFile.isEmpty() && !WritePreviewPath(previewFile, std::move(report.path)))
        return Complain(QStringLiteral("cannot write the planned path to %1").arg(previewFile),
                        NotPlanned);
    ProgramCheck check = checker.Finish();
    if (report.leftTravel) {
        AddFinding(check, {qsizetype(report.leftTravel->line), FindingKind::LeavesTravel,
                           TravelLeftText(*report.leftTravel, machine.travel)});
    }
    const CheckCounts counts = CountLines(CheckedLines(check.findings));
    const QStringList checkText = ProgramCheckText(check, placesShown);
    if (json) {
        QJsonObject object = DryRunReportJson(report);
        object.insert(QStringLiteral("program"), path);
        object.insert(QStringLiteral("linesReadDifferently"), double(counts.Lines()));
        object.insert(QStringLiteral("programCheck"), ProgramCheckJson(check));
        if (report.leftTravel) {
            object.insert(QStringLiteral("leavesTravel"),
                          QStringLiteral("line %1: %2")
                              .arg(report.leftTravel->line)
                              .arg(TravelLeftText(*report.leftTravel, machine.travel)));
        }
        // For a caller that shows the run as it goes, one document a line.
        if (showProgress) {
            object.insert(QStringLiteral("text"),
                          QJsonArray::fromStringList(DryRunReportText(report).split(u'\n')));
            object.insert(QStringLiteral("checkText"), QJsonArray::fromStringList(checkText));
            object.insert(QStringLiteral("timetable"), TimetableJson(report.plan));
        }
        std::printf("%s\n",
                    QJsonDocument(object)
                        .toJson(showProgress ? QJsonDocument::Compact : QJsonDocument::Indented)
                        .trimmed()
                        .constData());
        return Success;
    }
    if (showProgress) {
        for (const PlannedRun::Point& point : report.plan.Points())
            std::printf("plan %lld %.3f\n", static_cast<long long>(point.executed), point.ms);
    }
    std::printf("%s\n%s\n", qPrintable(DryRunReportText(report)),
                qPrintable(ProgramCheckHeadline(counts)));
    for (const QString& line : checkText)
        std::printf("%s\n", qPrintable(line));
    return Success;
}
