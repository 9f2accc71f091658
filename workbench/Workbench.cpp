#include "Workbench.h"

#include "BackplotView.h"
#include "DryRun.h"
#include "DryRunProcess.h"
#include "MachineWatch.h"
#include "ProgramResume.h"
#include "RecentPrograms.h"
#include "SimulatorInterface.h"
#include "form/WidgetNames.h"
#include "gcode/ProgramText.h"
#include "module/HostSignal.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMutex>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTime>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The module calls back through plain functions, from any thread; they reach the one workbench
// through this, under its lock, so that no line is handed to a workbench being destroyed.
struct CurrentWorkbench
{
    QMutex lock;
    Workbench* workbench = nullptr;
};

CurrentWorkbench& currentWorkbench()
{
    static CurrentWorkbench current;
    return current;
}

void setCurrentWorkbench(Workbench* workbench)
{
    CurrentWorkbench& current = currentWorkbench();
    const QMutexLocker locked(&current.lock);
    current.workbench = workbench;
}

CrdResourceRecord& currentResource()
{
    static CrdResourceRecord resource{};
    return resource;
}

// Any thread: the line is queued to the GUI thread, so lines keep their order.
void hostMessage(QString line)
{
    CurrentWorkbench& current = currentWorkbench();
    const QMutexLocker locked(&current.lock);
    if (current.workbench)
        QMetaObject::invokeMethod(current.workbench, "appendOutput", Qt::QueuedConnection,
                                  Q_ARG(QString, line));
}

QList<CrdResourceRecord> hostResources()
{
    return {currentResource()};
}

} // namespace

Workbench::Workbench(HostConfig hostConfig, QString hostConfigPath, QWidget* parent)
    : QMainWindow(parent)
    , config(std::move(hostConfig))
    , configPath(std::move(hostConfigPath))
{
    setWindowTitle(QStringLiteral("Kurvo workbench"));
    area = new QMdiArea;
    setCentralWidget(area);
    output = new QPlainTextEdit;
    output->setObjectName(QStringLiteral("hostOutput"));
    output->setReadOnly(true);
    auto* dock = new QDockWidget(QStringLiteral("Output"), this);
    dock->setObjectName(QStringLiteral("outputDock"));
    dock->setWidget(output);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    createBackplotDock();
    progress = new QLabel(QStringLiteral("Idle"));
    progress->setObjectName(QStringLiteral("runProgress"));
    statusBar()->addPermanentWidget(progress);
    auto* progressBar = new QProgressBar;
    progressBar->setObjectName(QStringLiteral("runProgressBar"));
    progressBar->setRange(0, 100);
    progressBar->setMaximumWidth(160);
    statusBar()->addPermanentWidget(progressBar);
    watch = new MachineWatch(probe, config.axisTable.get(), plot, progress, progressBar,
                             SimulatorInterface::Find(), this);
    connect(watch, &MachineWatch::PlanWanted, this, &Workbench::planInBackground);
    createMenus();
    setCurrentWorkbench(this);
    currentResource() = config.resource;
    qApp->installEventFilter(this);
}

// The job ends with the workbench, and the operator window closes while the module is still
// loaded: destroyed here, it ends its streaming worker while everything the worker's messages
// reach is whole.
Workbench::~Workbench()
{
    setCurrentWorkbench(nullptr);
    QWidget* form = probe.Form();
    if (form && watch->JobActive())
        QMetaObject::invokeMethod(form, "OnStopBtnClicked");
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    area->closeAllSubWindows();
    qDeleteAll(windows);
}

void Workbench::createMenus()
{
    QMenu* moduleMenu = menuBar()->addMenu(QStringLiteral("&Module"));
    moduleMenu->addAction(QStringLiteral("&Open operator window"), this,
                          &Workbench::openOperatorWindow);
    QMenu* languageMenu = moduleMenu->addMenu(QStringLiteral("&Language"));
    languageMenu->addAction(QStringLiteral("Chinese"), this,
                            [this] { setLanguage(LanguageChinese); });
    languageMenu->addAction(QStringLiteral("English"), this,
                            [this] { setLanguage(LanguageEnglish); });
    moduleMenu->addAction(QStringLiteral("&Describe module"), this, &Workbench::showDescription)
        ->setObjectName(QStringLiteral("describeAction"));
    moduleMenu->addSeparator();
    moduleMenu->addAction(QStringLiteral("&Quit"), this, &QWidget::close);

    QMenu* programMenu = menuBar()->addMenu(QStringLiteral("&Program"));
    programMenu->addAction(QStringLiteral("&Open..."), this, &Workbench::chooseProgram)
        ->setObjectName(QStringLiteral("openProgramAction"));
    recentMenu = programMenu->addMenu(QStringLiteral("&Recent programs"));
    recentMenu->setObjectName(QStringLiteral("recentMenu"));
    fillRecentMenu();
    QAction* dryRunAction
        = programMenu->addAction(QStringLiteral("&Dry run..."), this, &Workbench::chooseDryRun);
    dryRunAction->setObjectName(QStringLiteral("dryRunAction"));
    programMenu
        ->addAction(QStringLiteral("Run from &line..."), this, &Workbench::chooseLineToRunFrom)
        ->setObjectName(QStringLiteral("runFromLineAction"));

    // The operator window has no Stop of its own: the host offers one, always in reach.
    QToolBar* machine = addToolBar(QStringLiteral("Machine"));
    machine->setObjectName(QStringLiteral("machineToolBar"));
    QAction* stop = machine->addAction(QStringLiteral("Stop"), this, &Workbench::stopMotion);
    stop->setObjectName(QStringLiteral("stopAction"));
    stop->setToolTip(QStringLiteral("Stop the coordinate system at once (Esc)"));
}

void Workbench::createBackplotDock()
{
    plot = new BackplotView;
    plot->setObjectName(QStringLiteral("backplot"));
    auto* plane = new QComboBox;
    plane->setObjectName(QStringLiteral("backplotPlane"));
    plane->addItems({QStringLiteral("XY"), QStringLiteral("XZ"), QStringLiteral("YZ")});
    connect(plane, &QComboBox::currentIndexChanged, plot,
            [this](int index) { plot->SetPlane(PlotPlane(index)); });
    auto* fit = new QPushButton(QStringLiteral("Zoom to fit"));
    connect(fit, &QPushButton::clicked, plot, &BackplotView::FitToPath);
    auto* clear = new QPushButton(QStringLiteral("Clear"));
    connect(clear, &QPushButton::clicked, plot, &BackplotView::Clear);

    auto* controls = new QHBoxLayout;
    controls->addWidget(plane);
    controls->addWidget(fit);
    controls->addWidget(clear);
    controls->addStretch();
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(controls);
    layout->addWidget(plot, 1);
    auto* dock = new QDockWidget(QStringLiteral("Backplot"), this);
    dock->setObjectName(QStringLiteral("backplotDock"));
    dock->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    resizeDocks({dock}, {420}, Qt::Horizontal);
}

QString Workbench::askForProgram(const QString& title)
{
    const std::optional<FormReading> form = probe.Read();
    return QFileDialog::getOpenFileName(this, title, form ? form->programPath : QString(),
                                        QStringLiteral("NC (*.nc);;All (*)"));
}

void Workbench::chooseProgram()
{
    const QString path = askForProgram(QStringLiteral("Open program"));
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
    delete previewRun;
    const QString file = previewFolder.filePath(QStringLiteral("path"));
    DryRunProcess* process = startDryRun(path, file);
    previewRun = process;
    connect(process, &DryRunProcess::Finished, this, [this, process, path, file](bool ok) {
        if (!ok)
            return;
        reportProgramCheck(path, process->Output().ReportLines());
        const std::optional<PathPoint3> standing = plot->CurrentPosition();
        previewReader.Start(
            [file, standing]() -> std::optional<PreviewPath> {
                std::optional<std::vector<PreviewPoint>> points = ReadPreviewPath(file);
                if (!points)
                    return std::nullopt;
                if (standing)
                    StartFrom(*points, *standing);
                return Summarised(std::move(*points));
            },
            [this, path](std::optional<PreviewPath> preview) {
                const std::optional<FormReading> form = probe.Read();
                if (!preview || !form || form->programPath != path)
                    return;
                plot->SetPreview(std::move(*preview));
                emit previewShown();
            });
    });
}

// The line the last Stop came at in the window's program, the first line otherwise.
void Workbench::chooseLineToRunFrom()
{
    const std::optional<FormReading> form = probe.Read();
    const QString path = form ? form->programPath : QString();
    const std::optional<ProgramText> program = ProgramText::Read(path);
    if (!program || program->LineCount() == 0) {
        QMessageBox::information(this, QStringLiteral("Run from line"),
                                 QStringLiteral("Load a program into the operator window first."));
        return;
    }
    const qsizetype stopped = watch->StoppedProgram() == path ? watch->StoppedAtLine() : 0;
    bool chosen = false;
    const int line = QInputDialog::getInt(
        this, QStringLiteral("Run from line"),
        QStringLiteral("Line of %1 to go on at:").arg(QFileInfo(path).fileName()),
        int(std::max<qsizetype>(1, stopped)), 1, int(program->LineCount()), 1, &chosen);
    if (chosen)
        runFrom(path, line);
}

bool Workbench::runFrom(const QString& path, qsizetype line)
{
    const std::optional<ProgramText> program = ProgramText::Read(path);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                           + QStringLiteral("/resumed");
    const QString resumed
        = folder
          + QStringLiteral("/%1 from line %2.nc").arg(QFileInfo(path).completeBaseName()).arg(line);
    QSaveFile file(resumed);
    if (!program || !QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly)
        || file.write(ResumedProgram(*program, line).toUtf8()) < 0 || !file.commit()) {
        appendOutput(QStringLiteral("Cannot go on with %1 at line %2: %3 cannot be written.")
                         .arg(path)
                         .arg(line)
                         .arg(resumed));
        return false;
    }
    appendOutput(
        QStringLiteral("Going on with %1 at line %2: %3").arg(path).arg(line).arg(resumed));
    openProgram(resumed);
    return true;
}

// The check's lines of the dry run's report to the output pane, and a word in the status bar;
// nothing when the dialect reads the program as common G-code does.
void Workbench::reportProgramCheck(const QString& path, const QStringList& reportLines)
{
    const qsizetype first = reportLines.indexOf(
        QRegularExpression(QStringLiteral("^program check: [0-9,]+ lines? read differently$")));
    if (first < 0 || reportLines[first].startsWith(QLatin1String("program check: 0 ")))
        return;
    appendOutput(QStringLiteral("Program check of %1:").arg(path));
    for (const QString& line : reportLines.mid(first))
        appendOutput(QStringLiteral("  ") + line);
    const QString count = reportLines[first].section(QLatin1Char(' '), 2, 2);
    statusBar()->showMessage(
        QStringLiteral("%1 line%2 read differently \u2014 see Output")
            .arg(count, count == QLatin1String("1") ? QString() : QStringLiteral("s")));
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
    const QString path = askForProgram(QStringLiteral("Dry run of a program"));
    if (!path.isEmpty())
        dryRun(path);
}

// Plans for the machine the operator window set up, as the controller holds it; for the
// configuration's own when the window has set up none.
DryRunProcess* Workbench::startDryRun(const QString& path, const QString& pathFile)
{
    QByteArray window;
    if (const std::optional<FormReading> form = probe.Read()) {
        if (const std::optional<WindowMachine> machine
            = WindowMachine::Read(form->core, form->crd, form->fifo, form->lookAheadOpen))
            window = machine->Encoded();
    }
    auto* process = new DryRunProcess(dryRunExecutable, path, configPath, window, this);
    connect(process, &DryRunProcess::Finished, this, [this, process](bool ok) {
        if (ok)
            watch->SetPlan(process->Program(), process->Output().Plan());
        process->deleteLater();
    });
    process->WritePathTo(pathFile);
    process->Start();
    return process;
}

void Workbench::dryRun(const QString& path)
{
    auto* box = new QProgressDialog(QStringLiteral("Dry run of %1").arg(path),
                                    QStringLiteral("Cancel"), 0, 100, this);
    box->setObjectName(QStringLiteral("dryRunProgress"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setMinimumDuration(0);
    DryRunProcess* process = startDryRun(path);
    connect(process, &DryRunProcess::Progressed, box, &QProgressDialog::setValue);
    // Its Cancel button, and Esc, which closes the box without a word of cancelling.
    connect(box, &QProgressDialog::canceled, process, &DryRunProcess::Cancel);
    connect(box, &QDialog::rejected, process, &DryRunProcess::Cancel);
    connect(process, &DryRunProcess::Finished, this,
            [this, process, box = QPointer<QProgressDialog>(box)](bool ok, const QString& error) {
                appendOutput(QStringLiteral("Dry run of %1:").arg(process->Program()));
                for (const QString& line :
                     ok ? process->Output().ReportLines() : QStringList{error})
                    appendOutput(QStringLiteral("  ") + line);
                if (box)
                    box->close();
                emit dryRunFinished(ok);
            });
    rememberProgram(path);
}

void Workbench::planInBackground(const QString& path)
{
    if (!backgroundPlan)
        backgroundPlan = startDryRun(path);
}

QString Workbench::progressText() const
{
    return progress->text();
}

void Workbench::stopMotion()
{
    QWidget* form = probe.Form();
    if (!form)
        return;
    const QString where = watch->Stop();
    QMetaObject::invokeMethod(form, "OnStopBtnClicked");
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    appendOutput(where.isEmpty() ? QStringLiteral("Stop at %1").arg(time)
                                 : QStringLiteral("Stop at %1: %2").arg(time, where));
}

bool Workbench::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && watched->isWidgetType()
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (!press) {
            escapeBeingHandled = nullptr;
        } else if (event != escapeBeingHandled) {
            escapeBeingHandled = event;
            const bool inMainWindow = static_cast<QWidget*>(watched)->window() == this;
            if (inMainWindow || watch->JobActive())
                stopMotion();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Workbench::initialiseAndStart()
{
    if (QWidget* form = probe.Form()) {
        QMetaObject::invokeMethod(form, "OnInitBtnClicked");
        QMetaObject::invokeMethod(form, "OnStartBtnClicked");
    }
}

bool Workbench::loadModule(const QString& path, QString& error)
{
    module.setFileName(path);
    if (!module.load()) {
        error = QStringLiteral("cannot load the module %1: %2").arg(path, module.errorString());
        return false;
    }
    kdvSignal = reinterpret_cast<KdvSignal>(module.resolve("KDV_SIGNAL"));
    if (!kdvSignal) {
        error = QStringLiteral("the module %1 has no KDV_SIGNAL").arg(path);
        module.unload();
        return false;
    }
    kdvSignal(SignalAttachHost, reinterpret_cast<void*>(messageCallback()),
              reinterpret_cast<void*>(&hostResources), nullptr);
    kdvSignal(SignalSetAxisTable, config.axisTable.get(), nullptr, nullptr);
    return true;
}

void Workbench::openOperatorWindow()
{
    if (!kdvSignal)
        return;
    kdvSignal(SignalOpenWindow, this, &language, nullptr);
    // The host's own choice: the operator window fills the MDI area.
    if (QMdiSubWindow* window = area->activeSubWindow())
        window->showMaximized();
    if (QWidget* form = probe.Form()) {
        if (auto* load
            = form->findChild<QPushButton*>(QLatin1String(WidgetNames::loadCrdFileButton)))
            connect(load, &QPushButton::clicked, this, [this] {
                if (const std::optional<FormReading> reading = probe.Read())
                    previewProgram(reading->programPath);
            });
    }
    previewWhatTheWindowHolds();
}

void Workbench::setLanguage(LanguageChoice choice)
{
    language = choice;
    if (kdvSignal)
        kdvSignal(SignalSetLanguage, &language, nullptr, nullptr);
}

ModuleDescriptor Workbench::describe()
{
    ModuleDescriptor descriptor{};
    if (kdvSignal)
        kdvSignal(SignalDescribe, nullptr, &descriptor, nullptr);
    return descriptor;
}

void Workbench::showDescription()
{
    const ModuleDescriptor d = describe();
    QMessageBox::information(this, QStringLiteral("Module"),
                             QStringLiteral("name: %1\ncaption: %2\nshort name: %3\n"
                                            "codes: %4, %5, flag %6")
                                 .arg(d.name, d.caption, d.shortName)
                                 .arg(d.hostCode1)
                                 .arg(d.hostCode2)
                                 .arg(int(d.hostFlag)));
}

QString Workbench::LanguageOf(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese ? QStringLiteral("zh") : QStringLiteral("en");
}

HostMessageCallback Workbench::messageCallback()
{
    return &hostMessage;
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
