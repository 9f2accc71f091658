#include "workbench/FrameJob.h"

#include "planner/HostConfig.h"
#include "planner/WindowMachine.h"
#include "workbench/BackplotView.h"
#include "workbench/MachineWatch.h"
#include "workbench/TranslatedTexts.h"
#include "workbench/Workbench.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QToolBar>

FrameJob::FrameJob(Workbench& host, FrameMotion frameMotion)
    : QObject(&host)
    , workbench(host)
    , motion(frameMotion)
    , probe(&host)
{
    connect(workbench.machineWatch(), &MachineWatch::Observed, this, &FrameJob::Observe);
}

void FrameJob::AddActions()
{
    // The program menu is the one that opens programs.
    auto* open = workbench.findChild<QAction*>(QStringLiteral("openProgramAction"));
    auto* menu = open ? qobject_cast<QMenu*>(open->associatedObjects().value(0)) : nullptr;
    auto* toolBar = workbench.findChild<QToolBar*>(QStringLiteral("machineToolBar"));
    if (!menu || !toolBar)
        return;
    QAction* box = menu->addAction(QString(), this, [this] { Frame(FrameShape::Box); });
    box->setObjectName(QStringLiteral("frameAction"));
    box->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    QAction* outline = menu->addAction(QString(), this, [this] { Frame(FrameShape::Outline); });
    outline->setObjectName(QStringLiteral("frameOutlineAction"));
    outline->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    (new TranslatedTexts(&workbench))->Follow([box, outline] {
        box->setText(tr("&Frame"));
        box->setToolTip(tr("Trace the program's box with the laser off"));
        outline->setText(tr("Frame &outline"));
    });
    toolBar->addAction(box);
}

bool FrameJob::Refuse(const QString& why)
{
    workbench.appendOutput(tr("No frame: %1.").arg(why));
    return false;
}

// The program's zero lies the window's origin away from the machine's, where it sets one.
std::array<double, 3> FrameJob::WindowOriginMm(const FormReading& form) const
{
    std::array<double, 3> origin{};
    const std::optional<WindowMachine> machine
        = WindowMachine::Read(form.core, form.crd, form.fifo, form.lookAheadOpen);
    if (!machine || machine->record.setOriginFlag != 1)
        return origin;
    const std::array<double, 3> perMm
        = PulsesPerMm(workbench.hostConfig().axisTable.get(), form.core, form.profiles);
    for (std::size_t axis = 0; axis < origin.size(); ++axis)
        origin[axis] = machine->record.originPos[axis] / perMm[axis];
    return origin;
}

bool FrameJob::Frame(FrameShape shape)
{
    const std::optional<FormReading> form = probe.Read();
    if (!form || form->programPath.isEmpty())
        return Refuse(tr("the operator window holds no program"));
    if (workbench.machineWatch()->JobActive())
        return Refuse(tr("a job is under way"));
    const std::vector<PreviewPoint>& planned = workbench.backplot()->Preview();
    if (planned.empty())
        return Refuse(tr("%1 is not planned yet").arg(form->programPath));
    const std::vector<QPointF> corners = FrameCorners(planned, WindowOriginMm(*form), shape);
    if (corners.size() < 2)
        return Refuse(tr("%1 cuts nothing to go round").arg(form->programPath));
    const QString file = Workbench::writtenProgramsFolder("frames") + QLatin1Char('/')
                         + QFileInfo(form->programPath).completeBaseName()
                         + (shape == FrameShape::Box ? QStringLiteral(" frame.nc")
                                                     : QStringLiteral(" outline.nc"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(FrameProgramText(corners, motion, form->programPath).toUtf8()) < 0)
        return Refuse(tr("%1 cannot be written").arg(file));
    out.close();
    framed = form->programPath;
    frameRan = false;
    workbench.appendOutput(tr("Framing %1: %2").arg(framed, file));
    // Started once planned, so that its preview shows where it goes first.
    disconnect(startWhenPlanned);
    startWhenPlanned = connect(&workbench, &Workbench::previewShown, this, [this] {
        disconnect(startWhenPlanned);
        workbench.initialiseAndStart();
    });
    workbench.openProgram(file);
    return true;
}

void FrameJob::Observe(const MachineObservation& seen)
{
    if (framed.isEmpty())
        return;
    const RunJob::State state = seen.figures.state;
    if (state == RunJob::State::Running)
        frameRan = true;
    if (!frameRan || (state != RunJob::State::Finished && state != RunJob::State::Stopped))
        return;
    const QString program = framed;
    framed.clear();
    workbench.openProgram(program);
}
