// Start, pause, restart and stop.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "form/MyPushButton.h"
#include "module/ModuleState.h"
#include "run/MyThread.h"
#include "run/RunControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTextEdit>

namespace {

constexpr short noOption = 0;

ControllerAddress currentAddress()
{
    const ModuleState& state = moduleState();
    return {state.currentCore, state.currentCrd, state.currentFifo};
}

} // namespace

void CrdForm::OnStartBtnClicked()
{
    const ControllerAddress at = currentAddress();
    // A stream is sent once: while its worker still sends, Start resumes a paused motion and
    // starts no second stream.
    if (streamingWorker && streamingWorker->isRunning()) {
        if (CrdRunning(at))
            QMessageBox::information(this, tr("Info"), tr("The program is still being sent."));
        else
            ShowCommandError("MQN_CrdStart", streamingWorker->StartMotion());
        return;
    }
    ilcIterationCount = treeEditors.edit(TreeValueId::IlcCount)->text().toShort();
    StartLearning(LearningStep(treeEditors.check(TreeValueId::IlcEnable)->isChecked(),
                               treeEditors.choice(TreeValueId::IlcMode)->currentText()),
                  at, ilcIterationCount, ilcPathEdit->text().toLocal8Bit());

    const short crdMask = CrdMask(at.crd), fifoOption = FifoOption(at.crd, at.fifo);
    if (commandTable->rowCount() == 0) {
        // What a stopped stream left in the buffer would run before the program's first line.
        if (streamingWorker && streamingWorker->WasStopped())
            ReportToHost("MQN_CrdClear", MQN_CrdClear(at.core, crdMask, fifoOption));
        moduleState().programLines
            = loadedProgram ? loadedProgram
                            : std::make_shared<const ProgramText>(programTextView->toPlainText());
        streamingWorker = new MyThread(this);
        streamingWorker->start();
        return;
    }
    SendBufferTable();
    if (LookAheadOpen())
        ShowCommandError("MQN_CrdDataEx", FlushTableLookAhead(at));
    ShowCommandError("MQN_CrdStart", MQN_CrdStart(at.core, crdMask, fifoOption));
}

void CrdForm::OnPauseBtnClicked()
{
    const ControllerAddress at = currentAddress();
    ReportToHost("MQN_Stop",
                 MQN_Stop(at.core, ProfileBit(chosenProfiles[0]), noOption));
    if (LearningStep(treeEditors.check(TreeValueId::IlcEnable)->isChecked(),
                     treeEditors.choice(TreeValueId::IlcMode)->currentText())
        != LearningAtStart::Learn)
        return;
    IlcErrorRecord errors{};
    const short code = MQN_StopIlc(at.core, at.crd, &errors);
    ReportToHost("MQN_StopIlc", code);
    if (code != 0)
        return;
    for (const QByteArray& line : LearningErrorLines(errors))
        ReportToHost(line.constData(), ReportTextOnly);
    ++ilcIterationCount;
    treeEditors.edit(TreeValueId::IlcCount)->setText(QString::number(ilcIterationCount));
    MQN_ZeroPos(at.core, 1, 8);
}

void CrdForm::OnRestartBtnClicked()
{
    const ControllerAddress at = currentAddress();
    ReportToHost("MQN_CrdStart",
                 MQN_CrdStart(at.core, CrdMask(at.crd), FifoOption(at.crd, at.fifo)));
}

// The controller reads a stop's mask as profiles: the coordinate system's own bit would stop
// only a crd that happens to drive that profile. The stop names the profiles of its axes, and
// stops them abruptly.
void CrdForm::OnStopBtnClicked()
{
    if (streamingWorker)
        streamingWorker->RequestStop();
    const int32_t mask = AxesProfileMask(chosenDimension, chosenProfiles);
    ShowCommandError("MQN_Stop", MQN_Stop(moduleState().currentCore, mask, mask));
}
