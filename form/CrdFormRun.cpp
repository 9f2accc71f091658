// Start, pause, restart and stop.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "controller/CrdAddress.h"
#include "controller/ReturnCodes.h"
#include "form/MyPushButton.h"
#include "module/ModuleState.h"
#include "run/MyThread.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTextEdit>

#include <algorithm>

namespace {

constexpr short noOption = 0;

short crdMask()
{
    return CrdMask(moduleState().currentCrd);
}

short fifoOption()
{
    const ModuleState& state = moduleState();
    return FifoOption(state.currentCrd, state.currentFifo);
}

// Profile entry `index` of an axis's choice is profile index + 1, bit `index` of a stop's mask.
int32_t profileBit(int index)
{
    return index >= 0 && index < 32 ? int32_t(1u << index) : 0;
}

bool crdRunning()
{
    const ModuleState& state = moduleState();
    short run = 0;
    int32_t segment = 0;
    MQN_CrdStatus(state.currentCore, state.currentCrd, &run, &segment, 0);
    return run != 0;
}

} // namespace

void CrdForm::OnStartBtnClicked()
{
    // A stream is sent once: while its worker still sends, Start resumes a paused motion and
    // starts no second stream.
    if (streamingWorker && streamingWorker->isRunning()) {
        if (crdRunning())
            QMessageBox::information(this, tr("Info"), tr("The program is still being sent."));
        else
            ShowCommandError("MQN_CrdStart", streamingWorker->StartMotion());
        return;
    }
    const ModuleState& state = moduleState();
    const short core = state.currentCore, crd = state.currentCrd;
    ilcIterationCount = treeEditors.edit(TreeValueId::IlcCount)->text().toShort();
    const bool learning = treeEditors.check(TreeValueId::IlcEnable)->isChecked();
    const QString mode = treeEditors.choice(TreeValueId::IlcMode)->currentText();
    if (learning && mode.contains(QLatin1String("Learning"), Qt::CaseInsensitive)) {
        if (ilcIterationCount == 0)
            ReportToHost("MQN_InitIlc", MQN_InitIlc(core));
        ReportToHost("MQN_StartIlc", MQN_StartIlc(core, crd));
    } else if (learning && mode.contains(QLatin1String("Working"), Qt::CaseInsensitive)) {
        const QByteArray path = ilcPathEdit->text().toLocal8Bit();
        ReportToHost("MQN_LoadIlcFile", MQN_LoadIlcFile(core, crd, path.constData()));
    }

    if (commandTable->rowCount() == 0) {
        // What a stopped stream left in the buffer would run before the program's first line.
        if (streamingWorker && streamingWorker->WasStopped())
            ReportToHost("MQN_CrdClear", MQN_CrdClear(core, crdMask(), fifoOption()));
        moduleState().programLines
            = loadedProgram ? loadedProgram
                            : std::make_shared<const ProgramText>(programTextView->toPlainText());
        streamingWorker = new MyThread(this);
        streamingWorker->start();
        return;
    }
    SendBufferTable();
    if (LookAheadOpen())
        ShowCommandError("MQN_CrdDataEx", FlushLookAhead());
    ShowCommandError("MQN_CrdStart", MQN_CrdStart(core, crdMask(), fifoOption()));
}

// Pushes out what the look-ahead holds; stops when the buffer is full, since nothing drains it
// before the start.
short CrdForm::FlushLookAhead()
{
    const ModuleState& state = moduleState();
    short code = 0;
    int32_t space = 1;
    do {
        code = MQN_CrdDataEx(state.currentCore, state.currentCrd, nullptr, noOption);
        MQN_CrdSpace(state.currentCore, state.currentCrd, &space, state.currentFifo);
    } while (code == ReturnCode::Refused && space > 0);
    return code;
}

void CrdForm::OnPauseBtnClicked()
{
    const ModuleState& state = moduleState();
    const short core = state.currentCore, crd = state.currentCrd;
    ReportToHost("MQN_Stop", MQN_Stop(core, profileBit(profileCombos[0]->currentIndex()), noOption));

    if (!treeEditors.check(TreeValueId::IlcEnable)->isChecked()
        || !treeEditors.choice(TreeValueId::IlcMode)->currentText().contains(QLatin1String("Learning")))
        return;
    IlcErrorRecord errors{};
    const short code = MQN_StopIlc(core, crd, &errors);
    ReportToHost("MQN_StopIlc", code);
    if (code != 0)
        return;
    const QByteArray lines[]
        = {QStringLiteral("ErrorMax = %1").arg(QString::number(errors.maxError, 'g')).toUtf8(),
           QStringLiteral("ErrorRms = %1").arg(QString::number(errors.rmsError, 'g')).toUtf8(),
           QStringLiteral("ErrorAvg = %1").arg(QString::number(errors.averageError, 'g')).toUtf8()};
    for (const QByteArray& line : lines)
        ReportToHost(line.constData(), ReportTextOnly);
    ++ilcIterationCount;
    treeEditors.edit(TreeValueId::IlcCount)->setText(QString::number(ilcIterationCount));
    MQN_ZeroPos(core, 1, 8);
}

void CrdForm::OnRestartBtnClicked()
{
    ReportToHost("MQN_CrdStart", MQN_CrdStart(moduleState().currentCore, crdMask(), fifoOption()));
}

// The controller reads a stop's mask as profiles: the coordinate system's own bit would stop
// only a crd that happens to drive that profile. The stop names the profiles of its axes, and
// stops them abruptly.
void CrdForm::OnStopBtnClicked()
{
    if (streamingWorker)
        streamingWorker->RequestStop();
    const int axes = std::clamp(dimensionCombo->currentIndex() + 1, 1, axisCount);
    int32_t profiles = 0;
    for (int axis = 0; axis < axes; ++axis)
        profiles |= profileBit(profileCombos[axis]->currentIndex());
    ShowCommandError("MQN_Stop", MQN_Stop(moduleState().currentCore, profiles, profiles));
}
