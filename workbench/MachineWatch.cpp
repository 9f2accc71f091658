#include "MachineWatch.h"

#include "BackplotView.h"
#include "DryRun.h"
#include "SimulatorInterface.h"
#include "controller/rvAPI.h"
#include "gcode/ProgramText.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>

namespace {

constexpr int tickMs = 33;
// Points taken a tick: a long record comes in over several ticks, none of them long.
constexpr int pointsPerTick = 50000;

} // namespace

MachineWatch::MachineWatch(FormProbe& formProbe, const HostAxisTable* hostAxisTable,
                           BackplotView* backplot, QLabel* progressLabel, QProgressBar* bar,
                           const SimulatorInterface* simulatorInterface, QObject* parent)
    : QObject(parent)
    , probe(formProbe)
    , axisTable(hostAxisTable)
    , plot(backplot)
    , progress(progressLabel)
    , progressBar(bar)
    , simulator(simulatorInterface)
{
    clock.start();
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

bool MachineWatch::JobActive() const
{
    return job.CurrentState() == RunJob::State::Running
           || job.CurrentState() == RunJob::State::Paused;
}

QString MachineWatch::Stop()
{
    if (!JobActive())
        return QString();
    job.Stop();
    stoppedAtLine = shown.line;
    stoppedProgram = runProgram;
    const QLocale english(QLocale::English);
    QString where = QStringLiteral("segment %1 of %2")
                        .arg(english.toString(qlonglong(shown.executed)),
                             english.toString(qlonglong(shown.total)));
    if (shown.line > 0)
        where += QStringLiteral(", line %1").arg(english.toString(qlonglong(shown.line)));
    return where;
}

// The commands of every line, counted on a thread of its own: a program of a million lines
// takes a good part of a second.
void MachineWatch::MapLines(const QString& program)
{
    lineMapper.Wait();
    mappedProgram = program;
    lineMap = ProgramLineMap();
    lineMapper.Start(
        [program] {
            const std::optional<ProgramText> text = ProgramText::Read(program);
            return text ? MapProgramLines(*text) : ProgramLineMap();
        },
        [this, program](ProgramLineMap map) {
            if (program == mappedProgram)
                lineMap = std::move(map);
        });
}

void MachineWatch::Tick()
{
    const std::optional<FormReading> form = probe.Read();
    if (!form)
        return;
    WatchPath(*form);
    WatchRun(*form);
}

// From the axis table the workbench handed over; 1 where it has no usable factor.
std::array<double, 3> MachineWatch::PulsesPerMm(const FormReading& form) const
{
    std::array<double, 3> factors{1, 1, 1};
    const int core = form.core;
    for (std::size_t axis = 0; axis < factors.size(); ++axis) {
        const int profile = form.profiles[axis];
        if (!axisTable || core < 1 || core > HostAxisTable::cores || profile < 1
            || profile > HostAxisTable::profiles)
            continue;
        const double perMm = axisTable->pulsesPerMm[core - 1][profile - 1];
        if (perMm >= smallestFactor && perMm <= largestFactor)
            factors[axis] = perMm;
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
std::optional<double> MachineWatch::SecondsLeft(const FormReading& form,
                                                const RunFigures& figures) const
{
    if (!runProgram.isEmpty() && runProgram == plannedProgram && !plan.IsEmpty())
        return plan.TimeLeftMs(figures.executed) / 1000;
    if (runProgram.isEmpty() && simulator)
        return simulator->timeLeftMs(form.core, form.crd) / 1000;
    return PacedSecondsLeft(figures);
}

RunFigures MachineWatch::Figures(const FormReading& form) const
{
    RunFigures figures;
    figures.state = job.CurrentState();
    figures.executed = job.Executed();
    figures.runSeconds = job.RunSeconds();
    const bool planned = !runProgram.isEmpty() && runProgram == plannedProgram && !plan.IsEmpty();
    const bool mapped = !runProgram.isEmpty() && runProgram == mappedProgram && !lineMap.IsEmpty();
    figures.total = planned ? plan.Segments() : mapped ? lineMap.Commands() : job.Known();
    // A stream whose buffer ran dry before its end stopped; it did not finish.
    if (figures.state == RunJob::State::Finished && figures.executed < figures.total)
        figures.state = RunJob::State::Stopped;
    if (mapped) {
        figures.line = lineMap.LineAt(figures.executed);
        figures.lineCount = lineMap.LineCount();
    }
    if (figures.state == RunJob::State::Running)
        figures.secondsLeft = SecondsLeft(form, figures);
    else if (figures.state == RunJob::State::Paused)
        figures.secondsLeft = shown.secondsLeft; // frozen while the machine stands
    return figures;
}

void MachineWatch::WatchRun(const FormReading& form)
{
    CrdStatusEx status{};
    if (MQN_CrdStatusEx(form.core, form.crd, &status, form.fifo) != 0)
        return;
    job.Observe(status.run == 1, status.completed, status.remainder, double(clock.elapsed()));
    if (job.Began()) {
        runProgram = form.showsProgramText ? form.programPath : QString();
        if (!runProgram.isEmpty() && runProgram != plannedProgram)
            emit PlanWanted(runProgram);
        if (!runProgram.isEmpty() && runProgram != mappedProgram)
            MapLines(runProgram);
    }
    shown = Figures(form);
    const QString text = ProgressText(shown);
    if (text != progress->text())
        progress->setText(text);
    progressBar->setValue(ProgressPercent(shown));
}
