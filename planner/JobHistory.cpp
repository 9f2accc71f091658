#include "planner/JobHistory.h"

#include "planner/RunProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>

namespace {

constexpr const char* columns
    = "program, bytes, sha256, lines, segments, started, ended, plannedSeconds, runSeconds, "
      "outcome, segment, line, lookAhead, machine";

QSqlDatabase Database(const QString& connection)
{
    return QSqlDatabase::database(connection, false);
}

JobEntry::Outcome OutcomeNamed(const QString& name)
{
    for (auto outcome : {JobEntry::Outcome::Finished, JobEntry::Outcome::Stopped,
                         JobEntry::Outcome::Interrupted}) {
        if (OutcomeName(outcome) == name)
            return outcome;
    }
    return JobEntry::Outcome::Running;
}

QVariant Text(const QString& text)
{
    return text.isNull() ? QString(QLatin1String("")) : text;
}

// Binds the entry's fields in the order of `columns`.
void Bind(QSqlQuery& query, const JobEntry& entry)
{
    query.addBindValue(Text(entry.program));
    query.addBindValue(entry.bytes);
    query.addBindValue(Text(entry.sha256));
    query.addBindValue(entry.lines);
    query.addBindValue(entry.segments);
    query.addBindValue(entry.started.toUTC().toString(Qt::ISODate));
    query.addBindValue(entry.ended.isValid() ? entry.ended.toUTC().toString(Qt::ISODate)
                                             : QString(QLatin1String("")));
    query.addBindValue(entry.plannedSeconds ? QVariant(*entry.plannedSeconds) : QVariant());
    query.addBindValue(entry.runSeconds);
    query.addBindValue(OutcomeName(entry.outcome));
    query.addBindValue(entry.segment);
    query.addBindValue(entry.line);
    query.addBindValue(Text(entry.lookAhead));
    query.addBindValue(Text(entry.machine));
}

JobEntry Read(const QSqlQuery& query)
{
    JobEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.program = query.value(1).toString();
    entry.bytes = query.value(2).toLongLong();
    entry.sha256 = query.value(3).toString();
    entry.lines = query.value(4).toLongLong();
    entry.segments = query.value(5).toLongLong();
    entry.started = QDateTime::fromString(query.value(6).toString(), Qt::ISODate);
    entry.ended = QDateTime::fromString(query.value(7).toString(), Qt::ISODate);
    if (!query.value(8).isNull())
        entry.plannedSeconds = query.value(8).toDouble();
    entry.runSeconds = query.value(9).toDouble();
    entry.outcome = OutcomeNamed(query.value(10).toString());
    entry.segment = query.value(11).toLongLong();
    entry.line = query.value(12).toLongLong();
    entry.lookAhead = query.value(13).toString();
    entry.machine = query.value(14).toString();
    return entry;
}

QString Where(const JobEntry& entry)
{
    if (entry.outcome == JobEntry::Outcome::Finished)
        return QString();
    const QString line = entry.line > 0 ? QStringLiteral(", line %1").arg(entry.line) : QString();
    return QStringLiteral(" at segment %1%2").arg(entry.segment).arg(line);
}

} // namespace

QString OutcomeName(JobEntry::Outcome outcome)
{
    switch (outcome) {
    case JobEntry::Outcome::Finished:
        return QStringLiteral("finished");
    case JobEntry::Outcome::Stopped:
        return QStringLiteral("stopped");
    case JobEntry::Outcome::Interrupted:
        return QStringLiteral("interrupted");
    case JobEntry::Outcome::Running:
        break;
    }
    return QStringLiteral("running");
}

JobHistory::JobHistory()
    : connection([] {
        static std::atomic<int> made{0};
        return QStringLiteral("kurvo-history-%1").arg(++made);
    }())
{}

JobHistory::~JobHistory()
{
    if (QSqlDatabase::contains(connection)) {
        Database(connection).close();
        QSqlDatabase::removeDatabase(connection);
    }
}

QString JobHistory::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
           + QStringLiteral("/history.sqlite");
}

bool JobHistory::Open(const QString& path, QString& error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    database.setDatabaseName(path);
    QSqlQuery create(database);
    open = database.open()
           && create.exec(QStringLiteral(
               "CREATE TABLE IF NOT EXISTS jobs (id INTEGER PRIMARY KEY AUTOINCREMENT, "
               "program TEXT NOT NULL, bytes INTEGER, sha256 TEXT, lines INTEGER, "
               "segments INTEGER, started TEXT NOT NULL, ended TEXT, plannedSeconds REAL, "
               "runSeconds REAL, outcome TEXT NOT NULL, segment INTEGER, line INTEGER, "
               "lookAhead TEXT, machine TEXT)"));
    if (!open) {
        error = QStringLiteral("cannot open the job history %1: %2")
                    .arg(path, database.lastError().text());
    }
    return open;
}

qint64 JobHistory::Begin(const JobEntry& entry)
{
    if (!open)
        return 0;
    QSqlQuery insert(Database(connection));
    insert.prepare(QStringLiteral("INSERT INTO jobs (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                  "?, ?, ?, ?)")
                       .arg(QLatin1String(columns)));
    Bind(insert, entry);
    return insert.exec() ? insert.lastInsertId().toLongLong() : 0;
}

void JobHistory::Update(const JobEntry& entry)
{
    if (!open || entry.id == 0)
        return;
    QString assignments = QLatin1String(columns);
    assignments.replace(QStringLiteral(", "), QStringLiteral(" = ?, "));
    QSqlQuery update(Database(connection));
    update.prepare(QStringLiteral("UPDATE jobs SET %1 = ? WHERE id = ?").arg(assignments));
    Bind(update, entry);
    update.addBindValue(entry.id);
    update.exec();
}

QList<JobEntry> JobHistory::MarkInterrupted(const QDateTime& now)
{
    QList<JobEntry> interrupted;
    for (JobEntry entry : Entries()) {
        if (entry.outcome != JobEntry::Outcome::Running)
            continue;
        entry.outcome = JobEntry::Outcome::Interrupted;
        entry.ended = now;
        Update(entry);
        interrupted << entry;
    }
    return interrupted;
}

QList<JobEntry> JobHistory::Entries() const
{
    QList<JobEntry> entries;
    if (!open)
        return entries;
    QSqlQuery select(Database(connection));
    if (!select.exec(
            QStringLiteral("SELECT id, %1 FROM jobs ORDER BY id DESC").arg(QLatin1String(columns))))
        return entries;
    while (select.next())
        entries << Read(select);
    return entries;
}

QString HistoryText(const QList<JobEntry>& entries)
{
    QStringList lines;
    for (const JobEntry& entry : entries) {
        const QString planned
            = entry.plannedSeconds
                  ? QStringLiteral(" (planned %1)").arg(ClockText(*entry.plannedSeconds))
                  : QString();
        lines << QStringLiteral("%1  %2  %3%4  %5 of %6 segments, run %7%8  %9")
                     .arg(entry.id)
                     .arg(entry.started.toLocalTime().toString(
                         QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                     .arg(OutcomeName(entry.outcome), Where(entry))
                     .arg(entry.segment)
                     .arg(entry.segments)
                     .arg(ClockText(entry.runSeconds), planned,
                          entry.program.isEmpty() ? QStringLiteral("(table)") : entry.program);
    }
    return lines.join(QLatin1Char('\n'));
}

QString HistoryCsv(const QList<JobEntry>& entries)
{
    const auto quoted = [](QString text) {
        return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\""))
               + QLatin1Char('"');
    };
    QStringList rows{QStringLiteral("id,") + QString::fromLatin1(columns).remove(QLatin1Char(' '))};
    for (const JobEntry& entry : entries) {
        rows << QStringList{QString::number(entry.id),
                            quoted(entry.program),
                            QString::number(entry.bytes),
                            entry.sha256,
                            QString::number(entry.lines),
                            QString::number(entry.segments),
                            entry.started.toUTC().toString(Qt::ISODate),
                            entry.ended.isValid() ? entry.ended.toUTC().toString(Qt::ISODate)
                                                  : QString(),
                            entry.plannedSeconds ? QString::number(*entry.plannedSeconds, 'f', 2)
                                                 : QString(),
                            QString::number(entry.runSeconds, 'f', 2),
                            OutcomeName(entry.outcome),
                            QString::number(entry.segment),
                            QString::number(entry.line),
                            quoted(entry.lookAhead),
                            quoted(entry.machine)}
                    .join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonArray HistoryJson(const QList<JobEntry>& entries)
{
    QJsonArray jobs;
    for (const JobEntry& entry : entries) {
        QJsonObject job{{QStringLiteral("id"), entry.id},
                        {QStringLiteral("program"), entry.program},
                        {QStringLiteral("bytes"), entry.bytes},
                        {QStringLiteral("sha256"), entry.sha256},
                        {QStringLiteral("lines"), entry.lines},
                        {QStringLiteral("segments"), entry.segments},
                        {QStringLiteral("started"), entry.started.toUTC().toString(Qt::ISODate)},
                        {QStringLiteral("runSeconds"), entry.runSeconds},
                        {QStringLiteral("outcome"), OutcomeName(entry.outcome)},
                        {QStringLiteral("segment"), entry.segment},
                        {QStringLiteral("line"), entry.line},
                        {QStringLiteral("lookAhead"), entry.lookAhead},
                        {QStringLiteral("machine"), entry.machine}};
        if (entry.ended.isValid())
            job[QStringLiteral("ended")] = entry.ended.toUTC().toString(Qt::ISODate);
        if (entry.plannedSeconds)
            job[QStringLiteral("plannedSeconds")] = *entry.plannedSeconds;
        jobs.append(job);
    }
    return jobs;
}
