#ifndef KURVO_PLANNER_JOBHISTORY_H
#define KURVO_PLANNER_JOBHISTORY_H

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <optional>

// One job on the machine, from the Start that began it to its end.
struct JobEntry
{
    enum class Outcome { Running, Finished, Stopped, Interrupted };

    qint64 id = 0;
    QString program; // the path; empty for the window's table
    qint64 bytes = 0;
    QString sha256;
    qint64 lines = 0;
    qint64 segments = 0;
    QDateTime started;
    QDateTime ended; // invalid while it runs
    std::optional<double> plannedSeconds;
    double runSeconds = 0;
    Outcome outcome = Outcome::Running;
    qint64 segment = 0; // where it stood last: done, stopped, or last seen running
    qint64 line = 0;
    QString lookAhead; // the window's look-ahead mode
    QString machine;
};

// "finished", "stopped", "interrupted", "running".
QString OutcomeName(JobEntry::Outcome outcome);

// Every job the workbench ran, in an SQLite database that outlives the workbench: a job a
// killed workbench left running is found at the next start.
class JobHistory
{
public:
    JobHistory();
    ~JobHistory();
    JobHistory(const JobHistory&) = delete;
    JobHistory& operator=(const JobHistory&) = delete;

    // The database of the workbench's data folder: "history.sqlite".
    static QString DefaultPath();

    // Opens the database at `path`, made when missing; false with `error` set.
    bool Open(const QString& path, QString& error);
    // Records a job that began; its id, 0 when it cannot be written.
    qint64 Begin(const JobEntry& entry);
    // What the job has done by now, and what is known of it since it began.
    void Update(const JobEntry& entry);
    // The jobs still running in the record, now interrupted: their workbench ended without
    // saying how they ended.
    QList<JobEntry> MarkInterrupted(const QDateTime& now);
    // Every job, the latest first.
    QList<JobEntry> Entries() const;

private:
    const QString connection;
    bool open = false;
};

// The history as text (one line a job), as CSV (a header and a row a job), and as JSON.
QString HistoryText(const QList<JobEntry>& entries);
QString HistoryCsv(const QList<JobEntry>& entries);
QJsonArray HistoryJson(const QList<JobEntry>& entries);

#endif
