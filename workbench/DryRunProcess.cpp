#include "workbench/DryRunProcess.h"

#include "planner/ProgramCheck.h"

#include <QJsonArray>
#include <QJsonDocument>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

void DryRunOutput::Feed(const QByteArray& chunk)
{
    pending += chunk;
    qsizetype end = 0;
    while ((end = pending.indexOf('\n')) >= 0) {
        TakeLine(pending.left(end));
        pending.remove(0, end + 1);
    }
}

void DryRunOutput::TakeLine(const QByteArray& line)
{
    if (!line.startsWith("{\"progress\":")) {
        reportText = line;
        return;
    }
    const QJsonArray progress
        = QJsonDocument::fromJson(line).object().value(QLatin1String("progress")).toArray();
    if (progress.size() == 2) {
        const double total = progress[1].toDouble();
        if (total > 0)
            percent = int(100 * progress[0].toDouble() / total);
    }
}

QJsonObject DryRunOutput::ReadReport(const QByteArray& text)
{
    return QJsonDocument::fromJson(text).object();
}

QStringList DryRunOutput::Lines(const char* key) const
{
    QStringList lines;
    for (const QJsonValue& line : report.value(QLatin1String(key)).toArray())
        lines << line.toString();
    return lines;
}

CheckCounts DryRunOutput::Counts() const
{
    const QJsonObject counts = report.value(QLatin1String("programCheck"))
                                   .toObject()
                                   .value(QLatin1String("counts"))
                                   .toObject();
    const auto count = [&counts](const char* severity) {
        return qsizetype(counts.value(QLatin1String(severity)).toDouble());
    };
    return {count("danger"), count("warning"), count("info")};
}

QStringList DryRunOutput::CheckLines() const
{
    return Lines("checkText");
}

QStringList DryRunOutput::ReportLines() const
{
    return Lines("text") << ProgramCheckHeadline(Counts()) << CheckLines();
}

QString DryRunOutput::LeavesTravel() const
{
    return report.value(QLatin1String("leavesTravel")).toString();
}

PlannedRun DryRunOutput::Plan() const
{
    return TimetableFromJson(report.value(QLatin1String("timetable")).toArray());
}

DryRunProcess::DryRunProcess(QString workbenchPath, QString programPath, QString config,
                             QByteArray windowMachine, QObject* parent)
    : QObject(parent)
    , workbench(std::move(workbenchPath))
    , program(std::move(programPath))
    , configPath(std::move(config))
    , window(std::move(windowMachine))
{
    connect(&process, &QProcess::readyReadStandardOutput, this, &DryRunProcess::Read);
    connect(&process, &QProcess::finished, this, &DryRunProcess::End);
    connect(&process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit Finished(false, tr("cannot start the dry run: %1").arg(process.errorString()));
    });
    // Planning gives way to the windows: on a busy machine their painting waits for the
    // toolkit's helper threads, which a dry run at the same priority starves.
#if defined(Q_OS_UNIX)
    process.setChildProcessModifier([] { static_cast<void>(::nice(10)); });
#elif defined(Q_OS_WIN)
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        arguments->flags |= BELOW_NORMAL_PRIORITY_CLASS;
    });
#endif
}

// A run still going when its owner goes is killed without a word: whoever listened to it may
// be gone already.
DryRunProcess::~DryRunProcess()
{
    process.disconnect(this);
    process.kill();
    process.waitForFinished();
}

void DryRunProcess::Start()
{
    QStringList arguments{QStringLiteral("--dry-run"), program, QStringLiteral("--json"),
                          QStringLiteral("--progress")};
    if (!configPath.isEmpty())
        arguments << QStringLiteral("--config") << configPath;
    if (!window.isEmpty())
        arguments << QStringLiteral("--window-machine") << QStringLiteral("-");
    if (!pathFile.isEmpty())
        arguments << QStringLiteral("--preview") << pathFile;
    process.start(workbench, arguments);
    process.write(window);
    process.closeWriteChannel();
}

void DryRunProcess::Cancel()
{
    process.kill();
}

void DryRunProcess::Read()
{
    output.Feed(process.readAllStandardOutput());
    emit Progressed(output.Percent());
}

void DryRunProcess::End(int exitCode, QProcess::ExitStatus status)
{
    Read();
    if (status != QProcess::NormalExit || exitCode != 0 || output.ReportText().isEmpty()) {
        Fail();
        return;
    }
    reportReading.Start([text = output.ReportText()] { return DryRunOutput::ReadReport(text); },
                        [this](QJsonObject report) {
                            output.SetReport(std::move(report));
                            if (output.HasReport())
                                emit Finished(true, QString());
                            else
                                Fail();
                        });
}

void DryRunProcess::Fail()
{
    // The reason is the last line; the lines before are what the stream reported on its way.
    const QString reason = QString::fromLocal8Bit(process.readAllStandardError())
                               .trimmed()
                               .section(QLatin1Char('\n'), -1);
    emit Finished(false,
                  reason.isEmpty() ? tr("the dry run of %1 ended early").arg(program) : reason);
}
