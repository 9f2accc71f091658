#include "workbench/Workbench.h"

#include "planner/ConvertCommand.h"
#include "planner/ProgramCheck.h"
#include "planner/ProgramResume.h"
#include "planner/RunProgress.h"
#include "planner/SimulatorInterface.h"
#include "workbench/BackplotView.h"
#include "workbench/DryRunProcess.h"
#include "workbench/EscapeStop.h"
#include "workbench/MachineWatch.h"
#include "workbench/ModuleHost.h"
#include "workbench/PlanningClient.h"
#include "workbench/ProgramDialogs.h"
#include "workbench/RecentPrograms.h"
#include "workbench/RunStatus.h"
#include "workbench/TranslatedTexts.h"

#include <QApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTime>

Workbench::Workbench(HostConfig hostConfig, QString configPath, QWidget* parent)
    : QMainWindow(parent)
    , config(std::move(hostConfig))
    , texts(new TranslatedTexts(this))
{
    module = new ModuleHost(config, this);
    connect(module, &ModuleHost::Message, this, &Workbench::appendOutput);
    // On a small screen the operator window scrolls inside the area rather than pushing the
    // status bar off the screen.
    area = new QMdiArea;
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area);
    output = new QPlainTextEdit;
    output->setObjectName(QStringLiteral("hostOutput"));
    output->setReadOnly(true);
    auto* dock = new QDockWidget(this);
    dock->setObjectName(QStringLiteral("outputDock"));
    dock->setWidget(output);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    texts->Follow([this, dock] {
        setWindowTitle(tr("Kurvo workbench"));
        dock->setWindowTitle(tr("Output"));
    });
    createBackplotDock();
    runStatus = new RunStatus;
    statusBar()->addPermanentWidget(runStatus);
    planning = new PlanningClient(probe, std::move(configPath), this);
    connect(planning, &PlanningClient::PreviewProgressed, runStatus, &RunStatus::ShowLoading);
    connect(planning, &PlanningClient::PreviewEnded, runStatus, &RunStatus::EndLoading);
    connect(planning, &PlanningClient::Checked, this, &Workbench::reportProgramCheck);
    connect(planning, &PlanningClient::TravelLeft, this,
            [this](const QString& program, const QString& where) {
                WarnOfTravel(this, program, where);
            });
    connect(planning, &PlanningClient::PreviewReady, this, [this] {
        plot->SetPreview(planning->TakePreview());
        emit previewShown();
    });
    connectWatch();
    createMenus();
    qApp->installEventFilter(new EscapeStop(
        this, [this] { return watch->JobActive(); }, [this] { stopMotion(); }));
}

void Workbench::connectWatch()
{
    watch = new MachineWatch(probe, config.axisTable.get(), SimulatorInterface::Find(), this);
    if (!watch->TellsPath())
        texts->Follow([this] {
            plot->SetNotice(tr("The controller library has no path record (it is not the "
                               "virtual controller): no backplot."));
        });
    connect(watch, &MachineWatch::PathExecuted, plot,
            [this](const std::vector<PathPoint3>& points, bool restarted) {
                if (restarted)
                    plot->Clear();
                plot->AddPoints(points);
            });
    connect(watch, &MachineWatch::PositionChanged, plot, &BackplotView::SetCurrentPosition);
    connect(watch, &MachineWatch::FiguresChanged, runStatus, &RunStatus::Show);
    connect(watch, &MachineWatch::PlanWanted, planning, &PlanningClient::PlanInBackground);
    connect(planning, &PlanningClient::Planned, watch, &MachineWatch::SetPlan);
}

void Workbench::setDryRunExecutable(const QString& path)
{
    planning->SetExecutable(path);
}

// The job ends with the workbench, and the operator window closes while the module is still
// loaded: destroyed here, it ends its streaming worker while everything the worker's messages
// reach is whole.
Workbench::~Workbench()
{
    module->disconnect(this);
    QWidget* form = probe.Form();
    if (form && watch->JobActive())
        QMetaObject::invokeMethod(form, OperatorWindow::stopSlot);
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    area->closeAllSubWindows();
    qDeleteAll(windows);
}

void Workbench::createBackplotDock()
{
    plot = new BackplotView;
    plot->setObjectName(QStringLiteral("backplot"));
    auto* dock = new QDockWidget(this);
    dock->setObjectName(QStringLiteral("backplotDock"));
    texts->Follow([this, dock] { dock->setWindowTitle(tr("Backplot")); });
    dock->setWidget(plot->WithControls());
    addDockWidget(Qt::RightDockWidgetArea, dock);
    resizeDocks({dock}, {420}, Qt::Horizontal);
}

QString Workbench::askForProgram(const QString& title)
{
    const std::optional<FormReading> form = probe.Read();
    return QFileDialog::getOpenFileName(this, title, form ? form->programPath : QString(),
                                        tr("G-code (*.nc *.ngc *.gcode *.tap *.txt);;All (*)"));
}

void Workbench::chooseProgram()
{
    const QString path = askForProgram(tr("Open program"));
    if (!path.isEmpty())
        openProgram(path);
}

void Workbench::openProgram(const QString& path)
{
    if (!probe.Form())
        openOperatorWindow();
    // Planned meanwhile: a long program is planned by the time the window has it.
    previewProgram(path);
    if (probe.LoadProgram(path))
        rememberProgram(path);
}

void Workbench::previewProgram(const QString& path)
{
    plot->Clear();
    planning->Preview(path, plot->CurrentPosition());
}

// The line the last Stop came at in the window's program, the first line otherwise.
void Workbench::chooseLineToRunFrom()
{
    const std::optional<FormReading> form = probe.Read();
    const QString path = form ? form->programPath : QString();
    const qsizetype stopped = watch->StoppedProgram() == path ? watch->StoppedAtLine() : 0;
    if (const std::optional<qsizetype> line = AskLineToRunFrom(this, path, stopped))
        runFrom(path, *line);
}

bool Workbench::runFrom(const QString& path, qsizetype line)
{
    QString resumed;
    if (!WriteResumedProgram(path, line, writtenProgramsFolder("resumed"), resumed)) {
        appendOutput(tr("Cannot go on with %1 at line %2: %3 cannot be written.")
                         .arg(path)
                         .arg(line)
                         .arg(resumed));
        return false;
    }
    appendOutput(tr("Going on with %1 at line %2: %3").arg(path).arg(line).arg(resumed));
    openProgram(resumed);
    return true;
}

QString Workbench::writtenProgramsFolder(const char* kind)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                           + QLatin1Char('/') + QLatin1String(kind);
    QDir().mkpath(folder);
    return folder;
}

void Workbench::chooseImport()
{
    const QString path = askForProgram(tr("Import common G-code"));
    if (!path.isEmpty())
        importCommonGCode(path);
}

bool Workbench::importCommonGCode(const QString& path)
{
    const QString written
        = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
          + QStringLiteral("/converted/%1.nc").arg(QFileInfo(path).completeBaseName());
    QDir().mkpath(QFileInfo(written).path());
    ConversionOptions options;
    WrittenConversion outcome = WriteConvertedProgram(path, written, options);
    if (!outcome.written && AskToImportWithNotes(this, outcome.error, outcome.unsupported)) {
        options.skipUnsupported = true;
        outcome = WriteConvertedProgram(path, written, options);
    }
    if (!outcome.written) {
        appendOutput(tr("Not imported: %1").arg(outcome.error));
        return false;
    }
    appendOutput(tr("Imported %1 as %2").arg(path, written));
    for (const QString& line : std::as_const(outcome.report))
        appendOutput(QStringLiteral("  ") + line);
    openProgram(written);
    return true;
}

// The check's lines to the output pane, and the lines of danger and warning counted in the
// status bar; nothing when the dialect reads the program as common G-code does.
void Workbench::reportProgramCheck(const QString& path, const CheckCounts& counts,
                                   const QStringList& checkLines)
{
    if (counts.Lines() == 0 && checkLines.isEmpty())
        return;
    appendOutput(tr("Program check of %1:").arg(path));
    appendOutput(QStringLiteral("  ") + ProgramCheckHeadline(counts));
    for (const QString& line : checkLines)
        appendOutput(QStringLiteral("  ") + line);
    const QString status = ProgramCheckStatus(counts);
    if (!status.isEmpty())
        statusBar()->showMessage(status);
}

// The program the window loaded on opening, from its settings.
void Workbench::previewWhatTheWindowHolds()
{
    const std::optional<FormReading> form = probe.Read();
    if (form && !form->programPath.isEmpty() && QFileInfo(form->programPath).isFile())
        previewProgram(form->programPath);
}

void Workbench::rememberProgram(const QString& path)
{
    WriteRecentPrograms(WithRecent(ReadRecentPrograms(), path));
    fillRecentMenu();
}

void Workbench::fillRecentMenu()
{
    recentMenu->clear();
    const QStringList recent = ReadRecentPrograms();
    for (const QString& path : recent)
        recentMenu->addAction(path, this, [this, path] { openProgram(path); });
    recentMenu->setEnabled(!recent.isEmpty());
}

void Workbench::chooseDryRun()
{
    const QString path = askForProgram(tr("Dry run of a program"));
    if (!path.isEmpty())
        dryRun(path);
}

void Workbench::dryRun(const QString& path)
{
    DryRunProcess* process = planning->DryRun(path);
    ShowDryRunProgress(this, process);
    connect(
        process, &DryRunProcess::Finished, this, [this, process](bool ok, const QString& error) {
            appendOutput(tr("Dry run of %1:").arg(process->Program()));
            for (const QString& line : ok ? process->Output().ReportLines() : QStringList{error})
                appendOutput(QStringLiteral("  ") + line);
            emit dryRunFinished(ok);
        });
    rememberProgram(path);
}

QString Workbench::progressText() const
{
    return runStatus->Text();
}

void Workbench::stopMotion()
{
    QWidget* form = probe.Form();
    if (!form)
        return;
    const QString where = watch->Stop();
    QMetaObject::invokeMethod(form, OperatorWindow::stopSlot);
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    appendOutput(where.isEmpty() ? tr("Stop at %1").arg(time)
                                 : tr("Stop at %1: %2").arg(time, where));
}

void Workbench::initialiseAndStart()
{
    if (QWidget* form = probe.Form()) {
        QMetaObject::invokeMethod(form, OperatorWindow::initialiseSlot);
        QMetaObject::invokeMethod(form, OperatorWindow::startSlot);
    }
}

bool Workbench::loadModule(const QString& path, QString& error)
{
    return module->Load(path, error);
}

void Workbench::openOperatorWindow()
{
    if (!module->Loaded())
        return;
    module->OpenWindow(this, language);
    // The host's own choice: the operator window fills the MDI area.
    if (QMdiSubWindow* window = area->activeSubWindow())
        window->showMaximized();
    if (QWidget* form = probe.Form()) {
        if (auto* load
            = form->findChild<QPushButton*>(QLatin1String(OperatorWindow::loadCrdFileButton)))
            connect(load, &QPushButton::clicked, this, [this] {
                if (const std::optional<FormReading> reading = probe.Read())
                    previewProgram(reading->programPath);
            });
    }
    previewWhatTheWindowHolds();
}

// English is the texts' own language: it needs no catalogue.
void Workbench::setOpeningLanguage(LanguageChoice choice)
{
    language = choice;
    QCoreApplication::removeTranslator(&catalogue);
    if (choice == LanguageChinese && catalogue.load(QStringLiteral(":/i18n/kurvo_workbench_zh.qm")))
        QCoreApplication::installTranslator(&catalogue);
}

void Workbench::setLanguage(LanguageChoice choice)
{
    setOpeningLanguage(choice);
    module->SetLanguage(choice);
}

// Maximised on a screen too small, the window manager fits the frame round it as well.
void Workbench::fitScreen()
{
    const QSize liked(1280, 860);
    const QSize room = screen()->availableSize();
    resize(liked.boundedTo(room));
    if (liked.width() > room.width() || liked.height() > room.height())
        setWindowState(windowState() | Qt::WindowMaximized);
}

ModuleDescriptor Workbench::describe()
{
    return module->Describe();
}

void Workbench::showDescription()
{
    const ModuleDescriptor d = describe();
    QMessageBox::information(this, tr("Module"),
                             tr("name: %1\ncaption: %2\nshort name: %3\ncodes: %4, %5, flag %6")
                                 .arg(d.name, d.caption, d.shortName)
                                 .arg(d.hostCode1)
                                 .arg(d.hostCode2)
                                 .arg(int(d.hostFlag)));
}

QString Workbench::LanguageOf(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese ? QStringLiteral("zh") : QStringLiteral("en");
}

void Workbench::appendOutput(const QString& line)
{
    output->appendPlainText(line);
}

QStringList Workbench::outputLines() const
{
    const QString text = output->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}
