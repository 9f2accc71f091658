#include "DryRunProcess.h"

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
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() == 3 && words[0] == "progress") {
        const double total = words[2].toDouble();
        if (total > 0)
            percent = int(100 * words[1].toDouble() / total);
    } else if (words.size() == 3 && words[0] == "plan") {
        plan.push_back({words[1].toLongLong(), words[2].toDouble()});
    } else if (!line.isEmpty()) {
        report.append(QString::fromUtf8(line));
    }
}

PlannedRun DryRunOutput::Plan() const
{
    if (plan.empty())
        return PlannedRun();
    return PlannedRun(plan, plan.back().executed, plan.back().ms);
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
            emit Finished(
                false, QStringLiteral("cannot start the dry run: %1").arg(process.errorString()));
    });
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
    QStringList arguments{QStringLiteral("--dry-run"), program, QStringLiteral("--progress")};
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
    if (status == QProcess::NormalExit && exitCode == 0) {
        emit Finished(true, QString());
        return;
    }
    // The reason is the last line; the lines before are what the stream reported on its way.
    const QString reason = QString::fromLocal8Bit(process.readAllStandardError())
                               .trimmed()
                               .section(QLatin1Char('\n'), -1);
    emit Finished(false, reason.isEmpty()
                             ? QStringLiteral("the dry run of %1 ended early").arg(program)
                             : reason);
}
