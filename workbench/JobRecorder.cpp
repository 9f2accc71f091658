#include "workbench/JobRecorder.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// Where the job stands is written at least this often, for the record a killed workbench leaves.
constexpr qint64 saveEveryMs = 1000;

QString Sha256Of(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

JobRecorder::JobRecorder(std::unique_ptr<JobHistory> jobHistory, QString machineName,
                         QObject* parent)
    : QObject(parent)
    , history(std::move(jobHistory))
    , machine(std::move(machineName))
{}

JobRecorder::~JobRecorder()
{
    if (!running)
        return;
    job.outcome = JobEntry::Outcome::Interrupted;
    job.ended = QDateTime::currentDateTime();
    history->Update(job);
}

void JobRecorder::Observe(const MachineObservation& seen)
{
    const RunJob::State state = seen.figures.state;
    if (!running && state == RunJob::State::Running)
        Begin(seen);
    if (running)
        Follow(seen);
}

void JobRecorder::Begin(const MachineObservation& seen)
{
    JobEntry entry;
    entry.program = seen.program;
    entry.bytes = seen.program.isEmpty() ? 0 : QFile(seen.program).size();
    entry.started = QDateTime::currentDateTime();
    entry.lookAhead = seen.lookAheadOpen ? QStringLiteral("Open") : QStringLiteral("Close");
    entry.machine = machine;
    entry.id = history->Begin(entry);
    job = entry;
    running = true;
    sinceSaved.start();
    emit JobBegan();
    emit HistoryChanged();
    if (entry.program.isEmpty())
        return;
    // A long program's digest takes a good part of a second: not on the window's thread.
    const qint64 id = entry.id;
    hashing.Start([program = entry.program] { return Sha256Of(program); },
                  [this, id](QString digest) {
                      if (job.id != id)
                          return;
                      job.sha256 = digest;
                      history->Update(job);
                  });
}

void JobRecorder::Follow(const MachineObservation& seen)
{
    const RunFigures& figures = seen.figures;
    job.segment = figures.executed;
    job.segments = figures.total;
    job.line = figures.line;
    job.lines = figures.lineCount;
    job.runSeconds = figures.runSeconds;
    if (figures.plannedSeconds)
        job.plannedSeconds = figures.plannedSeconds;
    const bool ended
        = figures.state == RunJob::State::Finished || figures.state == RunJob::State::Stopped;
    if (!ended) {
        if (sinceSaved.elapsed() >= saveEveryMs)
            Save();
        return;
    }
    job.outcome = figures.state == RunJob::State::Finished ? JobEntry::Outcome::Finished
                                                           : JobEntry::Outcome::Stopped;
    job.ended = QDateTime::currentDateTime();
    running = false;
    Save();
    emit JobEnded(job);
}

void JobRecorder::Save()
{
    history->Update(job);
    sinceSaved.restart();
    emit HistoryChanged();
}
