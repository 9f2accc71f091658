#ifndef KURVO_WORKBENCH_MACHINEWATCH_H
#define KURVO_WORKBENCH_MACHINEWATCH_H

#include "planner/JobProgress.h"
#include "planner/MachineObservation.h"
#include "planner/PathRecordReader.h"
#include "workbench/BackgroundWork.h"
#include "workbench/FormProbe.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

struct HostAxisTable;
struct SimulatorInterface;

// Watches the machine the operator window drives, about 30 times a second, and tells what it
// sees: the executed path, the current position, and the run's figures.
class MachineWatch : public QObject
{
    Q_OBJECT

public:
    // Without the virtual controller's interface there is no executed path to tell. Positions
    // are in millimetres by the host's axis table, as the window shows them.
    MachineWatch(FormProbe& probe, const HostAxisTable* axisTable,
                 const SimulatorInterface* simulator, QObject* parent);

    bool TellsPath() const { return pathReader != nullptr; }
    void SetPlan(const QString& program, PlannedRun plan) { job.SetPlan(program, std::move(plan)); }
    // The host stops the machine: see JobProgress::Stop.
    QString Stop() { return job.Stop(); }
    bool JobActive() const { return job.Active(); }
    qsizetype StoppedAtLine() const { return job.StoppedAtLine(); }
    const QString& StoppedProgram() const { return job.StoppedProgram(); }

signals:
    // Points the machine went through since the last tell; `restarted`: the path before them is
    // gone, as the controller started a new record.
    void PathExecuted(const std::vector<PathPoint3>& points, bool restarted);
    // Where the machine stands, unknown when the controller does not tell.
    void PositionChanged(std::optional<PathPoint3> position);
    void FiguresChanged(const RunFigures& figures);
    // A run of the program in the window began, and there is no timetable for it.
    void PlanWanted(const QString& program);
    // All of one look, also when there is no operator window to look through.
    void Observed(const MachineObservation& observation);

private:
    void Tick();
    std::optional<PathPoint3> WatchPath(const FormReading& form);
    void WatchRun(const FormReading& form, MachineObservation& seen);
    void MapLines(const QString& program);

    FormProbe& probe;
    const HostAxisTable* axisTable;
    const SimulatorInterface* simulator;
    std::unique_ptr<PathRecordReader> pathReader;
    QTimer timer;
    QElapsedTimer clock;
    JobProgress job;
    BackgroundWork<ProgramLineMap> lineMapper{this};
};

#endif
