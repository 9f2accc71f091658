#include "workbench/MachineWatch.h"

#include "controller/rvAPI.h"
#include "planner/HostConfig.h"
#include "planner/SimulatorInterface.h"

namespace {

constexpr int tickMs = 33;
// Points taken a tick: a long record comes in over several ticks, none of them long.
constexpr int pointsPerTick = 50000;

} // namespace

MachineWatch::MachineWatch(FormProbe& formProbe, const HostAxisTable* hostAxisTable,
                           const SimulatorInterface* simulatorInterface, QObject* parent)
    : QObject(parent)
    , probe(formProbe)
    , axisTable(hostAxisTable)
    , simulator(simulatorInterface)
{
    clock.start();
    if (simulator) {
        simulator->enablePath(1);
        pathReader = std::make_unique<PathRecordReader>(*simulator);
    }
    connect(&timer, &QTimer::timeout, this, &MachineWatch::Tick);
    timer.start(tickMs);
}

// The commands of every line, counted on a thread of its own: a program of a million lines
// takes a good part of a second.
void MachineWatch::MapLines(const QString& program)
{
    lineMapper.Wait();
    job.ExpectLineMap(program);
    lineMapper.Start(
        [program] {
            const std::optional<ProgramText> text = ProgramText::Read(program);
            return text ? MapProgramLines(*text) : ProgramLineMap();
        },
        [this, program](ProgramLineMap map) { job.SetLineMap(program, std::move(map)); });
}

void MachineWatch::Tick()
{
    MachineObservation seen;
    seen.nowMs = double(clock.elapsed());
    if (const std::optional<FormReading> form = probe.Read()) {
        seen.windowOpen = true;
        seen.program = form->showsProgramText ? form->programPath : QString();
        seen.lookAheadOpen = form->lookAheadOpen;
        seen.position = WatchPath(*form);
        WatchRun(*form, seen);
    }
    emit Observed(seen);
}

std::optional<PathPoint3> MachineWatch::WatchPath(const FormReading& form)
{
    const std::array<double, 3> pulsesPerMm = PulsesPerMm(axisTable, form.core, form.profiles);
    if (pathReader) {
        PathRecordReader::News news = pathReader->Take(form.crd, pulsesPerMm, pointsPerTick);
        emit PathExecuted(news.points, news.restarted);
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
    emit PositionChanged(position);
    return position;
}

void MachineWatch::WatchRun(const FormReading& form, MachineObservation& seen)
{
    CrdStatusEx status{};
    seen.figures = job.Shown();
    seen.controllerCode = MQN_CrdStatusEx(form.core, form.crd, &status, form.fifo);
    if (seen.controllerCode != 0)
        return;
    job.Observe(status.run == 1, status.completed, status.remainder, double(clock.elapsed()),
                form.showsProgramText ? form.programPath : QString());
    if (job.WantsPlan())
        emit PlanWanted(form.programPath);
    if (job.WantsLineMap())
        MapLines(form.programPath);
    std::optional<double> tableSecondsLeft;
    if (job.RunsTable() && simulator)
        tableSecondsLeft = simulator->timeLeftMs(form.core, form.crd) / 1000;
    seen.figures = job.Update(tableSecondsLeft);
    emit FiguresChanged(seen.figures);
}
