// The status timer: positions, run state, buffer space and counters every 10 ms, and the
// operate controls following the run state.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "form/MyPushButton.h"
#include "module/ModuleState.h"
#include "run/StatusSnapshot.h"

#include <QGroupBox>
#include <QLabel>

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
    const StatusSnapshot status
        = TakeStatusSnapshot({state.currentCore, state.currentCrd, state.currentFifo},
                             chosenDimension, chosenProfiles, state.axisTable);

    // An axis without a usable factor shows nothing new.
    for (int axis = 0; axis < axisCount; ++axis) {
        if (const std::optional<double> mm = status.positions[std::size_t(axis)]) {
            showChanged(prfPosValues[axis], shownStatus.positions[axis], mm,
                        [mm] { return QString::number(*mm, 'f', 3); });
        }
    }
    const short run = status.run;
    showChanged(runValue, shownStatus.run, std::optional<int>(run),
                [run] { return QString::number(run); });
    showChanged(spaceValue, shownStatus.space, std::optional<int32_t>(status.space),
                [&status] { return QString::number(status.space); });
    const std::array<int32_t, 3>& counters = status.counters;
    showChanged(segmentValue, shownStatus.counters, std::optional(counters), [&counters] {
        return QStringLiteral("segment%1        RemainderSegNum%2  runEmpty%3")
            .arg(counters[0])
            .arg(counters[1])
            .arg(counters[2]);
    });

    const RunWatch::Change change = runWatch.Observe(state.previousRunState, run);
    state.previousRunState = run;
    switch (change) {
    case RunWatch::Change::Began:
        EnableIdleOnlyControls(false);
        restartButton->setEnabled(true);
        pauseButton->setEnabled(true);
        break;
    case RunWatch::Change::Ended: {
        const QByteArray line
            = QStringLiteral("CrdRunningTime=%1s").arg(runWatch.ElapsedMs() / 1000.0).toUtf8();
        ReportToHost(line.constData(), ReportTextOnly);
        EnableIdleOnlyControls(true);
        break;
    }
    case RunWatch::Change::None:
        break;
    }
}

void CrdForm::EnableIdleOnlyControls(bool enabled)
{
    const std::array<QWidget*, 4> idleOnly{motionParameterGroup, bufferDataGroup, initCrdButton,
                                           startCrdButton};
    for (QWidget* widget : idleOnly)
        widget->setEnabled(enabled);
}
