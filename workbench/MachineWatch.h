#ifndef KURVO_WORKBENCH_MACHINEWATCH_H
#define KURVO_WORKBENCH_MACHINEWATCH_H

#include "BackgroundWork.h"
#include "FormProbe.h"
#include "PathRecordReader.h"
#include "RunProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <memory>

class BackplotView;
class QLabel;
class QProgressBar;
struct HostAxisTable;
struct SimulatorInterface;

// Watches the machine the operator window drives, about 30 times a second: the executed path
// and the current position into the backplot, and the run's figures into the status bar.
class MachineWatch : public QObject
{
    Q_OBJECT

public:
    // Without the virtual controller's interface the backplot says so and stays empty.
    // Positions are shown in millimetres by the host's axis table, as the window shows them.
    MachineWatch(FormProbe& probe, const HostAxisTable* axisTable, BackplotView* plot,
                 QLabel* progress, QProgressBar* progressBar, const SimulatorInterface* simulator,
                 QObject* parent);

    // The timetable for runs of `program` from now on.
    void SetPlan(const QString& program, PlannedRun plan);
    // The host stops the machine: the job ends stopped. Returns where it stood, for the log
    // ("segment 356 of 3,208, line 1,234"); empty when no job was under way.
    QString Stop();
    // Whether a job runs or stands paused.
    bool JobActive() const;
    // The program line the last Stop came at, 0 when not known, and its program.
    qsizetype StoppedAtLine() const { return stoppedAtLine; }
    const QString& StoppedProgram() const { return stoppedProgram; }

signals:
    // A run of the program in the window began, and there is no timetable for it.
    void PlanWanted(const QString& program);

private:
    void Tick();
    void WatchPath(const FormReading& form);
    void WatchRun(const FormReading& form);
    void MapLines(const QString& program);
    RunFigures Figures(const FormReading& form) const;
    std::optional<double> SecondsLeft(const FormReading& form, const RunFigures& figures) const;

    std::array<double, 3> PulsesPerMm(const FormReading& form) const;

    FormProbe& probe;
    const HostAxisTable* axisTable;
    BackplotView* plot;
    QLabel* progress;
    QProgressBar* progressBar;
    const SimulatorInterface* simulator;
    std::unique_ptr<PathRecordReader> pathReader;
    QTimer timer;

    QElapsedTimer clock;
    RunJob job;
    RunFigures shown;
    // The streamed program of the job; empty for a table run.
    QString runProgram;
    QString plannedProgram;
    PlannedRun plan;
    QString mappedProgram;
    qsizetype stoppedAtLine = 0;
    QString stoppedProgram;
    ProgramLineMap lineMap;
    BackgroundWork<ProgramLineMap> lineMapper{this};
};

#endif
