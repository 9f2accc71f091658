// The status timer: positions, run state, buffer space and counters every 10 ms, and the
// operate controls following the run state.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "form/MyPushButton.h"
#include "module/ModuleState.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <cmath>

namespace {
constexpr int millisecondsPerDay = 24 * 60 * 60 * 1000;
}

void CrdForm::OnTimer()
{
    if (!controllerPresent)
        return;
    ModuleState& state = moduleState();
    const short core = state.currentCore, crd = state.currentCrd, fifo = state.currentFifo;
    short run = 0;
    int32_t segment = 0, userSegment = 0, space = 0, remaining = 0;
    MQN_CrdStatus(core, crd, &run, &segment, 0);
    MQN_GetUserSegNumWN(core, crd, &userSegment, fifo);
    MQN_CrdSpace(core, crd, &space, 0);
    MQN_GetRemainderSegNum(core, crd, &remaining, fifo);
    CrdStatusEx status{};
    const int runEmpty = MQN_CrdStatusEx(core, crd, &status, fifo) == 0 ? status.runEmpty : -1;

    const int dimension = dimensionCombo->currentText().toInt();
    if (dimension >= 1 && dimension <= axisCount) {
        for (int axis = dimension - 1; axis >= 0; --axis) {
            const int profile = profileCombos[axis]->currentText().toInt();
            double pulses = 0;
            MQN_GetPrfPos(core, short(profile), &pulses, 1, nullptr);
            // A profile the host's table does not cover, or unusable factors, show nothing new.
            const bool covered = core >= 1 && core <= highestHostCore && profile >= 1
                                 && profile <= highestHostProfile;
            const double perMm
                = covered ? FactorsOf(state.axisTable, core, profile).pulsesPerMm : 0;
            if (std::isfinite(perMm) && perMm > 0)
                prfPosValues[axis]->setText(QString::number(pulses / perMm, 'f', 3));
        }
    }
    runValue->setText(QString::number(run));
    spaceValue->setText(QString::number(space));
    segmentValue->setText(QStringLiteral("segment%1        RemainderSegNum%2  runEmpty%3")
                              .arg(userSegment)
                              .arg(remaining)
                              .arg(runEmpty));

    const bool began = run == 1 && state.previousRunState == 0;
    const bool ended = run == 0 && state.previousRunState == 1;
    if (began) {
        runStartTime = QTime::currentTime();
        for (QWidget* widget :
             {static_cast<QWidget*>(motionParameterGroup), static_cast<QWidget*>(bufferDataGroup),
              static_cast<QWidget*>(initCrdButton), static_cast<QWidget*>(startCrdButton)})
            widget->setEnabled(false);
        restartButton->setEnabled(true);
        pauseButton->setEnabled(true);
    } else if (ended) {
        runEndTime = QTime::currentTime();
        int elapsed = runStartTime.msecsTo(runEndTime);
        if (elapsed < 0)
            elapsed += millisecondsPerDay; // the run went past midnight
        const QByteArray line
            = QStringLiteral("CrdRunningTime=%1s").arg(elapsed * 1.0 / 1000.0).toUtf8();
        ReportToHost(line.constData(), ReportTextOnly);
        for (QWidget* widget :
             {static_cast<QWidget*>(motionParameterGroup), static_cast<QWidget*>(bufferDataGroup),
              static_cast<QWidget*>(initCrdButton), static_cast<QWidget*>(startCrdButton)})
            widget->setEnabled(true);
    } else if (run == 0 && state.previousRunState == 0) {
        runStartTime = runEndTime = QTime::currentTime();
    }
    state.previousRunState = run;
}
