#include "Workbench.h"

#include "module/HostSignal.h"

#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolBar>

namespace {

// The module calls back through plain functions; they reach the one workbench through these.
QPointer<Workbench>& currentWorkbench()
{
    static QPointer<Workbench> workbench;
    return workbench;
}

CrdResourceRecord& currentResource()
{
    static CrdResourceRecord resource{};
    return resource;
}

// Any thread: the line is queued to the GUI thread, so lines keep their order.
void hostMessage(QString line)
{
    if (Workbench* workbench = currentWorkbench())
        QMetaObject::invokeMethod(workbench, "appendOutput", Qt::QueuedConnection,
                                  Q_ARG(QString, line));
}

QList<CrdResourceRecord> hostResources()
{
    return {currentResource()};
}

} // namespace

Workbench::Workbench(HostConfig hostConfig, QWidget* parent)
    : QMainWindow(parent)
    , config(std::move(hostConfig))
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
    createMenus();
    currentWorkbench() = this;
    currentResource() = config.resource;
}

Workbench::~Workbench()
{
    // Close the operator window while the module is still loaded.
    area->closeAllSubWindows();
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
    moduleMenu->addAction(QStringLiteral("&Describe module"), this, &Workbench::showDescription);
    moduleMenu->addSeparator();
    moduleMenu->addAction(QStringLiteral("&Quit"), this, &QWidget::close);

    // The operator window has no Stop of its own: the host offers one, always in reach.
    QToolBar* machine = addToolBar(QStringLiteral("Machine"));
    machine->setObjectName(QStringLiteral("machineToolBar"));
    QAction* stop = machine->addAction(QStringLiteral("Stop"), this, &Workbench::stopMotion);
    stop->setObjectName(QStringLiteral("stopAction"));
    stop->setShortcut(Qt::Key_Escape);
    stop->setShortcutContext(Qt::ApplicationShortcut);
    stop->setToolTip(QStringLiteral("Stop the coordinate system at once (Esc)"));
}

void Workbench::stopMotion()
{
    if (QWidget* form = area->findChild<QWidget*>(QStringLiteral("crdFrom")))
        QMetaObject::invokeMethod(form, "OnStopBtnClicked");
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
