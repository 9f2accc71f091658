// Start, pause, restart and stop.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "form/ErrorBoxes.h"
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
    const bool sending
        = streamingWorker && streamingWorker->isRunning() && !streamingWorker->StopRequested();
    // A stream is sent once: while its worker still sends, Start starts no second stream.
    if (sending && !bufferedJob.IsPaused()) {
        if (CrdRunning(at))
            QMessageBox::information(this, tr("Info"), tr("The program is still being sent."));
        else
            ShowCommandError("MQN_CrdStart", streamingWorker->StartMotion());
        return;
    }
    JobContent job = NextJob();
    const bool restInBuffer = bufferedJob.IsPaused() && (sending || JobLeftInBuffer(at));
    const short crdMask = CrdMask(at.crd), fifoOption = FifoOption(at.crd, at.fifo);
    switch (bufferedJob.Next(job, restInBuffer)) {
    case BufferedJob::AtStart::GoOn:
        ShowCommandError("MQN_CrdStart", sending ? streamingWorker->StartMotion()
                                                 : MQN_CrdStart(at.core, crdMask, fifoOption));
        return;
    case BufferedJob::AtStart::ClearFirst:
        EndStreamingWorker();
        ReportToHost("MQN_CrdClear", MQN_CrdClear(at.core, crdMask, fifoOption));
        bufferedJob.Cleared();
        break;
    case BufferedJob::AtStart::Begin:
        break;
    }

    ilcIterationCount = treeEditors.edit(TreeValueId::IlcCount)->text().toShort();
    StartLearning(LearningStep(treeEditors.check(TreeValueId::IlcEnable)->isChecked(),
                               treeEditors.choice(TreeValueId::IlcMode)->currentText()),
                  at, ilcIterationCount, ilcPathEdit->text().toLocal8Bit());
    if (job.rows.empty()) {
        moduleState().programLines = job.program;
        streamingWorker = new MyThread(this);
        streamingWorker->start();
    } else {
        SendBufferTable();
        if (LookAheadOpen())
            ShowCommandError("MQN_CrdDataEx", FlushTableLookAhead(at));
        ShowCommandError("MQN_CrdStart", MQN_CrdStart(at.core, crdMask, fifoOption));
    }
    bufferedJob.Sent(std::move(job));
}

// The program's lines are taken once for as long as the view shows them unchanged, so that a
// Start after a Pause can tell the paused program from a new one.
JobContent CrdForm::NextJob()
{
    if (commandTable->rowCount() > 0)
        return {nullptr, CommandTableRows()};
    if (!loadedProgram)
        loadedProgram = std::make_shared<const ProgramText>(programTextView->toPlainText());
    return {loadedProgram, {}};
}

// A stopped worker sends at most the line it was sending; what it sent must be in the buffer
// before the buffer is cleared.
void CrdForm::EndStreamingWorker()
{
    if (!streamingWorker)
        return;
    streamingWorker->RequestStop();
    streamingWorker->wait();
}

void CrdForm::OnPauseBtnClicked()
{
    const ControllerAddress at = currentAddress();
    ReportToHost("MQN_Stop", MQN_Stop(at.core, ProfileBit(chosenProfiles[0]), noOption));
    bufferedJob.Paused();
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
    bufferedJob.Stopped();
    const int32_t mask = AxesProfileMask(chosenDimension, chosenProfiles);
    ShowCommandError("MQN_Stop", MQN_Stop(moduleState().currentCore, mask, mask));
}
