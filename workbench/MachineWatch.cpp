#include "MachineWatch.h"

#include "BackplotView.h"
#include "SimulatorInterface.h"
#include "controller/rvAPI.h"
#include "crd/CrdRecords.h"

#include <QLabel>

namespace {

constexpr int tickMs = 33;
// Points taken a tick: a long record comes in over several ticks, none of them long.
constexpr int pointsPerTick = 50000;

} // namespace

MachineWatch::MachineWatch(FormProbe& formProbe, const HostAxisTable* hostAxisTable,
                           BackplotView* backplot, QLabel* progressLabel,
                           const SimulatorInterface* simulatorInterface, QObject* parent)
    : QObject(parent)
    , probe(formProbe)
    , axisTable(hostAxisTable)
    , plot(backplot)
    , progress(progressLabel)
    , simulator(simulatorInterface)
{
    if (simulator) {
        simulator->enablePath(1);
        pathReader = std::make_unique<PathRecordReader>(*simulator);
    } else {
        plot->SetNotice(tr("The controller library has no path record (it is not the virtual "
                           "controller): no backplot."));
    }
    connect(&timer, &QTimer::timeout, this, &MachineWatch::Tick);
    timer.start(tickMs);
}

void MachineWatch::SetPlan(const QString& program, PlannedRun newPlan)
{
    plannedProgram = program;
    plan = std::move(newPlan);
}

void MachineWatch::Tick()
{
    const std::optional<FormReading> form = probe.Read();
    if (!form)
        return;
    WatchPath(*form);
    WatchRun(*form);
}

std::array<double, 3> MachineWatch::PulsesPerMm(const FormReading& form) const
{
    std::array<double, 3> factors{};
    for (std::size_t axis = 0; axis < factors.size(); ++axis) {
        const HostFactors host = FactorsOf(axisTable, form.core, form.profiles[axis]);
        factors[axis] = UsableFactors(host) ? host.pulsesPerMm : 1;
    }
    return factors;
}

void MachineWatch::WatchPath(const FormReading& form)
{
    const std::array<double, 3> pulsesPerMm = PulsesPerMm(form);
    if (pathReader) {
        PathRecordReader::News news = pathReader->Take(form.crd, pulsesPerMm, pointsPerTick);
        if (news.restarted)
            plot->Clear();
        plot->AddPoints(news.points);
    }
    std::optional<PathPoint3> position = PathPoint3{};
    for (std::size_t axis = 0; axis < 3 && position; ++axis) {
        double pulses = 0;
        uint32_t clock = 0;
        if (MQN_GetPrfPos(form.core, form.profiles[axis], &pulses, 1, &clock) == 0)
            (*position)[axis] = pulses / pulsesPerMm[axis];
        else
            position.reset();
    }
    plot->SetCurrentPosition(position);
}

// A streamed program's time left is its timetable's; a table's commands are all in the buffer,
// where the controller's planner plays them out. A program whose timetable is still being made
// goes at the pace it kept so far.
std::optional<double> MachineWatch::SecondsLeft(const FormReading& form) const
{
    if (!runProgram.isEmpty() && runProgram == plannedProgram && !plan.IsEmpty())
        return plan.TimeLeftMs(figures.executed) / 1000;
    if (runProgram.isEmpty() && simulator)
        return simulator->timeLeftMs(form.core, form.crd) / 1000;
    return PacedSecondsLeft(figures);
}

void MachineWatch::WatchRun(const FormReading& form)
{
    CrdStatusEx status{};
    if (MQN_CrdStatusEx(form.core, form.crd, &status, form.fifo) != 0)
        return;
    const bool runsNow = status.run == 1;
    if (runsNow && !running) {
        runClock.start();
        runProgram = form.showsProgramText ? form.programPath : QString();
        if (!runProgram.isEmpty() && runProgram != plannedProgram)
            emit PlanWanted(runProgram);
    }
    if (runsNow || running) {
        figures.executed = status.completed;
        figures.sent = int64_t(status.completed) + status.remainder;
        figures.runSeconds = runClock.elapsed() / 1000.0;
        figures.secondsLeft = SecondsLeft(form);
        const QString text = ProgressText(figures);
        if (text != progress->text())
            progress->setText(text);
    }
    running = runsNow;
}
