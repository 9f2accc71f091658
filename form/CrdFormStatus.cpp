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

// An idle window polls 100 times a second and should cost next to nothing: a field is
// formatted and set only when the value it shows changed (setting a text lays the window out
// anew).
template <typename Value, typename Format>
void showChanged(QLabel* label, Value& shown, const Value& value, Format&& format)
{
    if (value == shown)
        return;
    shown = value;
    label->setText(format());
}

} // namespace

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
            const bool covered = HostCovers(core, profile);
            const double perMm
                = covered ? FactorsOf(state.axisTable, core, profile).pulsesPerMm : 0;
            if (std::isfinite(perMm) && perMm > 0) {
                const double mm = pulses / perMm;
                showChanged(prfPosValues[axis], shownStatus.positions[axis],
                            std::optional<double>(mm),
                            [mm] { return QString::number(mm, 'f', 3); });
            }
        }
    }
    showChanged(runValue, shownStatus.run, std::optional<int>(run),
                [run] { return QString::number(run); });
    showChanged(spaceValue, shownStatus.space, std::optional<int32_t>(space),
                [space] { return QString::number(space); });
    const std::array<int32_t, 3> counters{userSegment, remaining, runEmpty};
    showChanged(segmentValue, shownStatus.counters, std::optional(counters), [&counters] {
        return QStringLiteral("segment%1        RemainderSegNum%2  runEmpty%3")
            .arg(counters[0])
            .arg(counters[1])
            .arg(counters[2]);
    });

    const QList<QWidget*> idleOnly{motionParameterGroup, bufferDataGroup, initCrdButton,
                                   startCrdButton};
    const RunWatch::Change change = runWatch.Observe(state.previousRunState, run);
    state.previousRunState = run;
    switch (change) {
    case RunWatch::Change::Began:
        for (QWidget* widget : idleOnly)
            widget->setEnabled(false);
        restartButton->setEnabled(true);
        pauseButton->setEnabled(true);
        break;
    case RunWatch::Change::Ended: {
        const QByteArray line
            = QStringLiteral("CrdRunningTime=%1s").arg(runWatch.ElapsedMs() / 1000.0).toUtf8();
        ReportToHost(line.constData(), ReportTextOnly);
        for (QWidget* widget : idleOnly)
            widget->setEnabled(true);
        break;
    }
    case RunWatch::Change::None:
        break;
    }
}
