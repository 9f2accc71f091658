// kurvo-workbench: loads the Kurvo module as its host does and opens the operator window on
// the virtual controller.
#include "gcode/ProgramText.h"
#include "module/FileAccess.h"
#include "planner/CommandLine.h"
#include "planner/ConvertCommand.h"
#include "planner/DryRunCommand.h"
#include "planner/FrameProgram.h"
#include "planner/MachineTravel.h"
#include "planner/ResumeCommand.h"
#include "shopfloor/ShopFloor.h"
#include "workbench/BackplotView.h"
#include "workbench/FrameJob.h"
#include "workbench/HistoryDock.h"
#include "workbench/JobNotifier.h"
#include "workbench/JobRecorder.h"
#include "workbench/MachineWatch.h"
#include "workbench/TerminationSignals.h"
#include "workbench/Workbench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>
#include <QLocale>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

enum ExitCode { Success = 0, BadArguments = 1, ModuleNotLoaded = 2, ScreenshotFailed = 3 };
// With --exit-when-done, how the job ended.
enum JobExitCode { JobFinished = 0, JobFailed = 1, JobStopped = 2 };

// A job asked for on the command line that has not begun by then never will.
constexpr int jobStartLimitMs = 15000;

// The options of the window; --dry-run has its own parser.
struct WindowOptions
{
    QCommandLineOption config{QStringLiteral("config"),
                              QStringLiteral("Host configuration (INI, see the README)."),
                              QStringLiteral("file")};
    QCommandLineOption module{
        QStringLiteral("module"),
        QStringLiteral("The module to load (default: Kurvo in the modules folder beside the "
                       "workbench)."),
        QStringLiteral("path")};
    QCommandLineOption language{
        QStringLiteral("lang"),
        QStringLiteral("Language of the operator window and of the workbench's own texts: zh or en "
                       "(default: zh on a Chinese system, else en)."),
        QStringLiteral("zh|en")};
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the main window to the file, then quit."),
        QStringLiteral("png")};
    QCommandLineOption delay{
        QStringLiteral("screenshot-after"),
        QStringLiteral("Milliseconds to wait before the screenshot (default 500)."),
        QStringLiteral("ms"), QStringLiteral("500")};
    QCommandLineOption program{QStringLiteral("program"),
                               QStringLiteral("Load the program into the operator window."),
                               QStringLiteral("file")};
    QCommandLineOption run{
        QStringLiteral("run"),
        QStringLiteral("Set the coordinate system up and start what the window holds.")};
    QCommandLineOption exitWhenDone{
        QStringLiteral("exit-when-done"),
        QStringLiteral("With --run: quit when the job ends, with exit code 0 when it finished, 2 "
                       "when it was stopped, 1 when it did not start.")};
    QCommandLineOption history{
        QStringLiteral("history"),
        QStringLiteral("Print the job history (with --json: as JSON), and quit.")};
    QCommandLineOption dryRun{
        QStringLiteral("dry-run"),
        QStringLiteral("Plan the program on the virtual controller, print its cycle time, path "
                       "length, extents, line and segment counts and largest feed, and the "
                       "lines the dialect reads otherwise than common G-code, and quit (with "
                       "--config: its [dryRun] machine)."),
        QStringLiteral("program")};
    // Read by the dry run's and the history's own parsers; listed here for the help.
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("With --dry-run or --history: print it all as JSON.")};
    QCommandLineOption resumeFrom{
        QStringLiteral("resume-from"),
        QStringLiteral("Print the program that Run from line loads to go on with the program "
                       "given after it at the line, and quit."),
        QStringLiteral("line")};
    QCommandLineOption convert{
        QStringLiteral("convert"),
        QStringLiteral("Write the common G-code program given (feeds in mm/min, inches, relative "
                       "moves, arcs in any plane, G5 splines, M3 S for the laser) as a program "
                       "of the module's dialect given after it, and quit."),
        QStringLiteral("in")};
    // Read by the conversion's own parser; listed here for the help.
    QCommandLineOption tolerance{
        QStringLiteral("tolerance"),
        QStringLiteral("With --convert: how far, in mm, lines may stray from the curves they "
                       "stand for (0.01)."),
        QStringLiteral("mm")};
    QCommandLineOption skipUnsupported{
        QStringLiteral("skip-unsupported"),
        QStringLiteral("With --convert: write tool changes, coolant, offsets and stops as notes "
                       "instead of stopping there.")};

    void AddTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(
            QStringLiteral("Loads the Kurvo module and opens its operator window."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({config, module, language, screenshot, delay, program, run, exitWhenDone,
                           history, dryRun, json, resumeFrom, convert, tolerance, skipUnsupported});
    }
};

bool asksFor(int argc, char** argv, std::initializer_list<const char*> options)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : options) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("kurvo-workbench"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KURVO_VERSION));
}

// Help and version need no display: they are answered before the window's application starts.
int answerHelpOrVersion(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    describeApplication();
    QCommandLineParser parser;
    WindowOptions().AddTo(parser);
    const bool help = asksFor(argc, argv, {"--help", "-h", "-?", "--help-all"});
    const QString text
        = help ? parser.helpText()
               : QStringLiteral("kurvo-workbench %1\n").arg(QStringLiteral(KURVO_VERSION));
    std::fputs(qPrintable(text), stdout);
    return Success;
}

int printHistory(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    describeApplication();
    JobHistory history;
    QString error;
    if (!history.Open(JobHistory::DefaultPath(), error))
        return Complain(error, BadArguments);
    const QList<JobEntry> entries = history.Entries();
    const QString text = asksFor(argc, argv, {"--json"})
                             ? QString::fromUtf8(QJsonDocument(HistoryJson(entries)).toJson())
                             : HistoryText(entries) + QLatin1Char('\n');
    std::fputs(text.toUtf8().constData(), stdout);
    return Success;
}

// Records the jobs in the history and shows it in a dock; offers to go on with a job a workbench
// that died left behind, unless the command line runs a job of its own.
JobRecorder* recordJobs(Workbench& workbench, const QString& machine, bool offerToGoOn)
{
    auto history = std::make_unique<JobHistory>();
    QString error;
    if (!history->Open(JobHistory::DefaultPath(), error))
        workbench.appendOutput(error);
    const QList<JobEntry> interrupted = history->MarkInterrupted(QDateTime::currentDateTime());
    auto* recorder = new JobRecorder(std::move(history), machine, &workbench);
    auto* dock = new HistoryDock(recorder->History(), &workbench);
    workbench.addDockWidget(Qt::BottomDockWidgetArea, dock);
    QObject::connect(workbench.machineWatch(), &MachineWatch::Observed, recorder,
                     &JobRecorder::Observe);
    QObject::connect(recorder, &JobRecorder::HistoryChanged, dock, &HistoryDock::Refresh);
    QObject::connect(recorder, &JobRecorder::JobEnded, new JobNotifier(&workbench),
                     &JobNotifier::JobEnded);
    QObject::connect(dock, &HistoryDock::RunFromLineWanted, &workbench, &Workbench::runFrom);
    // Asked once the window is up, and with the shop floor watching already.
    if (offerToGoOn)
        QTimer::singleShot(0, dock, [dock, interrupted] { dock->OfferToGoOn(interrupted); });
    return recorder;
}

// Quits with the job's outcome once it ends, or as failed when none begins.
void exitWhenDone(JobRecorder& recorder)
{
    QObject::connect(&recorder, &JobRecorder::JobEnded, [](const JobEntry& entry) {
        QApplication::exit(entry.outcome == JobEntry::Outcome::Finished ? JobFinished : JobStopped);
    });
    auto* startLimit = new QTimer(&recorder);
    startLimit->setSingleShot(true);
    QObject::connect(startLimit, &QTimer::timeout, [] {
        QApplication::exit(Complain(QStringLiteral("the job did not start"), JobFailed));
    });
    QObject::connect(&recorder, &JobRecorder::JobBegan, startLimit, &QTimer::stop);
    startLimit->start(jobStartLimitMs);
}

} // namespace

int main(int argc, char** argv)
{
    if (AsksForCommand(argc, argv, "--dry-run")) {
        QCoreApplication app(argc, argv);
        return RunDryRunCommand(QCoreApplication::arguments());
    }
    if (AsksForCommand(argc, argv, "--resume-from")) {
        QCoreApplication app(argc, argv);
        return RunResumeCommand(QCoreApplication::arguments());
    }
    if (AsksForCommand(argc, argv, "--convert")) {
        QCoreApplication app(argc, argv);
        return RunConvertCommand(QCoreApplication::arguments());
    }
    if (asksFor(argc, argv, {"--help", "-h", "-?", "--help-all", "--version", "-v"}))
        return answerHelpOrVersion(argc, argv);
    if (AsksForCommand(argc, argv, "--history"))
        return printHistory(argc, argv);
    QApplication app(argc, argv);
    describeApplication();

    QCommandLineParser parser;
    const WindowOptions options;
    options.AddTo(parser);
    parser.process(app);

    const QString language = parser.isSet(options.language)
                                 ? parser.value(options.language)
                                 : Workbench::LanguageOf(QLocale::system());
    if (language != QLatin1String("zh") && language != QLatin1String("en")) {
        return Complain(QStringLiteral("--lang takes zh or en, not %1").arg(language),
                        BadArguments);
    }
    if (parser.isSet(options.exitWhenDone) && !parser.isSet(options.run))
        return Complain(QStringLiteral("--exit-when-done goes with --run"), BadArguments);
    HostConfig config = HostConfig::defaults();
    ShopFloorConfig shopFloorConfig = ShopFloorConfig::defaults();
    MachineTravel travel;
    FrameMotion frameMotion;
    QString error;
    if (parser.isSet(options.config)
        && (!HostConfig::load(parser.value(options.config), config, error)
            || !ShopFloorConfig::load(parser.value(options.config), shopFloorConfig, error)
            || !MachineTravel::Read(parser.value(options.config), travel, error)
            || !FrameMotion::Read(parser.value(options.config), frameMotion, error))) {
        return Complain(error, BadArguments);
    }
    const QString program = parser.value(options.program);
    if (parser.isSet(options.program)) {
        const FileProblem problem = CheckRegularFile(program, ProgramText::largestFile);
        if (problem != FileProblem::None) {
            return Complain(
                QStringLiteral("cannot read the program %1: %2")
                    .arg(program, DescribeFileProblem(problem, ProgramText::largestFile)),
                BadArguments);
        }
    }

    Workbench workbench(std::move(config), parser.value(options.config));
    workbench.fitScreen();
    workbench.backplot()->SetTravel(travel);
    (new FrameJob(workbench, frameMotion))->AddActions();
    const QString modulePath = parser.isSet(options.module)
                                   ? parser.value(options.module)
                                   : QDir(QCoreApplication::applicationDirPath())
                                         .filePath(QStringLiteral("modules/Kurvo"));
    if (!workbench.loadModule(modulePath, error)) {
        return Complain(error, ModuleNotLoaded);
    }
    workbench.setOpeningLanguage(language == QLatin1String("en") ? LanguageEnglish
                                                                 : LanguageChinese);
    // Asked to end by the system, the workbench ends as Quit ends it, also while a box is up
    // (whose own loop would keep it going) or before its event loop has begun.
    TerminationSignals terminations;
    bool terminated = false;
    QObject::connect(&terminations, &TerminationSignals::Received, &workbench, [&terminated] {
        terminated = true;
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    // The shop floor sees the machine as the workbench's watch does; without it the machine
    // still runs, so a port taken is said, not fatal.
    JobRecorder* recorder
        = recordJobs(workbench, shopFloorConfig.machineName, !parser.isSet(options.run));
    if (parser.isSet(options.exitWhenDone))
        exitWhenDone(*recorder);
    ShopFloor shopFloor(std::move(shopFloorConfig));
    QObject::connect(workbench.machineWatch(), &MachineWatch::Observed, &shopFloor,
                     &ShopFloor::Observe);
    QObject::connect(&shopFloor, &ShopFloor::Message, &workbench, &Workbench::appendOutput);
    for (const QString& problem : shopFloor.Start()) {
        std::fprintf(stderr, "kurvo-workbench: %s\n", qPrintable(problem));
        workbench.appendOutput(problem);
    }
    workbench.show();
    workbench.openOperatorWindow();
    if (parser.isSet(options.program))
        workbench.openProgram(program);
    if (parser.isSet(options.run))
        workbench.initialiseAndStart();

    if (terminated)
        return Success;
    if (parser.isSet(options.screenshot)) {
        const QString file = parser.value(options.screenshot);
        int result = Success;
        QTimer::singleShot(parser.value(options.delay).toInt(), &workbench, [&] {
            if (!workbench.grab().save(file)) {
                result = Complain(QStringLiteral("cannot write the screenshot %1").arg(file),
                                  ScreenshotFailed);
            }
            QApplication::quit();
        });
        QApplication::exec();
        return result;
    }
    return QApplication::exec();
}
