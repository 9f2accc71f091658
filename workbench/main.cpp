// kurvo-workbench: loads the Kurvo module as its host does and opens the operator window on
// the virtual controller.
#include "DryRunCommand.h"
#include "Workbench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

enum ExitCode { Success = 0, BadArguments = 1, ModuleNotLoaded = 2, ScreenshotFailed = 3 };

void complain(const QString& message)
{
    std::fprintf(stderr, "kurvo-workbench: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    if (AsksForDryRun(argc, argv)) {
        QCoreApplication app(argc, argv);
        return RunDryRunCommand(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kurvo-workbench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads the Kurvo module and opens its operator window."));
    parser.addHelpOption();
    const QCommandLineOption configOption(
        QStringLiteral("config"), QStringLiteral("Host configuration (INI, see the README)."),
        QStringLiteral("file"));
    const QCommandLineOption moduleOption(
        QStringLiteral("module"),
        QStringLiteral("The module to load (default: Kurvo in the modules folder beside "
                       "the workbench)."),
        QStringLiteral("path"),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("modules/Kurvo")));
    const QCommandLineOption languageOption(QStringLiteral("lang"),
                                            QStringLiteral("Window language: zh or en."),
                                            QStringLiteral("zh|en"), QStringLiteral("zh"));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the main window to the file, then quit."),
        QStringLiteral("png"));
    const QCommandLineOption delayOption(
        QStringLiteral("screenshot-after"),
        QStringLiteral("Milliseconds to wait before the screenshot (default 500)."),
        QStringLiteral("ms"), QStringLiteral("500"));
    const QCommandLineOption programOption(
        QStringLiteral("program"), QStringLiteral("Load the program into the operator window."),
        QStringLiteral("file"));
    const QCommandLineOption runOption(
        QStringLiteral("run"),
        QStringLiteral("Set the coordinate system up and start what the window holds."));
    const QCommandLineOption dryRunOption(
        QStringLiteral("dry-run"),
        QStringLiteral("Plan the program on the virtual controller, print its cycle time, path "
                       "length, segments and largest feed, and quit (with --config: its "
                       "[dryRun] machine)."),
        QStringLiteral("program"));
    parser.addOptions({configOption, moduleOption, languageOption, screenshotOption, delayOption,
                       programOption, runOption, dryRunOption});
    parser.process(app);

    const QString language = parser.value(languageOption);
    if (language != QLatin1String("zh") && language != QLatin1String("en")) {
        complain(QStringLiteral("--lang takes zh or en, not %1").arg(language));
        return BadArguments;
    }
    HostConfig config = HostConfig::defaults();
    QString error;
    if (parser.isSet(configOption)
        && !HostConfig::load(parser.value(configOption), config, error)) {
        complain(error);
        return BadArguments;
    }

    Workbench workbench(std::move(config), parser.value(configOption));
    workbench.resize(1280, 860);
    if (!workbench.loadModule(parser.value(moduleOption), error)) {
        complain(error);
        return ModuleNotLoaded;
    }
    workbench.setOpeningLanguage(language == QLatin1String("en") ? LanguageEnglish
                                                                 : LanguageChinese);
    workbench.show();
    workbench.openOperatorWindow();
    if (parser.isSet(programOption))
        workbench.openProgram(parser.value(programOption));
    if (parser.isSet(runOption))
        workbench.initialiseAndStart();

    if (parser.isSet(screenshotOption)) {
        const QString file = parser.value(screenshotOption);
        int result = Success;
        QTimer::singleShot(parser.value(delayOption).toInt(), &workbench, [&] {
            if (!workbench.grab().save(file)) {
                complain(QStringLiteral("cannot write the screenshot %1").arg(file));
                result = ScreenshotFailed;
            }
            QApplication::quit();
        });
        QApplication::exec();
        return result;
    }
    return QApplication::exec();
}
