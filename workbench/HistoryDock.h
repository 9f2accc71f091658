#ifndef KURVO_WORKBENCH_HISTORYDOCK_H
#define KURVO_WORKBENCH_HISTORYDOCK_H

#include "planner/JobHistory.h"

#include <QDockWidget>

class QPushButton;
class QTableWidget;

// The job history in a dock: every job, the latest first, sortable, its outcome coloured; the
// list as CSV; Run from line for a job that was stopped or interrupted.
class HistoryDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit HistoryDock(const JobHistory& history, QWidget* parent = nullptr);

    // Reads the history anew.
    void Refresh();
    // Asks whether to go on with the latest of the jobs a workbench that died left, from the
    // last line its controller had executed.
    void OfferToGoOn(const QList<JobEntry>& interrupted);

signals:
    void RunFromLineWanted(const QString& program, qsizetype line);

private:
    void ExportCsv();
    void RunSelectedFromLine();
    std::optional<JobEntry> Selected() const;
    static QString ShownOutcome(JobEntry::Outcome outcome);

    const JobHistory& history;
    QList<JobEntry> entries;
    QTableWidget* table = nullptr;
    QPushButton* runFrom = nullptr;
};

#endif
