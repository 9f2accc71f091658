#ifndef KURVO_WORKBENCH_JOBRECORDER_H
#define KURVO_WORKBENCH_JOBRECORDER_H

#include "planner/JobHistory.h"
#include "planner/MachineObservation.h"
#include "workbench/BackgroundWork.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>

// Records every job the watch sees in the job history: when it begins, where it is at least once
// a second, and how it ends; a job still running when the recorder ends was interrupted.
class JobRecorder : public QObject
{
    Q_OBJECT

public:
    JobRecorder(std::unique_ptr<JobHistory> history, QString machine, QObject* parent = nullptr);
    ~JobRecorder() override;

    const JobHistory& History() const { return *history; }

public slots:
    void Observe(const MachineObservation& seen);

signals:
    void JobBegan();
    void JobEnded(const JobEntry& entry);
    void HistoryChanged();

private:
    void Begin(const MachineObservation& seen);
    void Follow(const MachineObservation& seen);
    void Save();

    std::unique_ptr<JobHistory> history;
    const QString machine;
    JobEntry job; // the job running, or the last one
    bool running = false;
    QElapsedTimer sinceSaved;
    BackgroundWork<QString> hashing{this};
};

#endif
