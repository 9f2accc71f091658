#ifndef KURVO_WORKBENCH_DRYRUNPROCESS_H
#define KURVO_WORKBENCH_DRYRUNPROCESS_H

#include "planner/ProgramCheck.h"
#include "planner/RunProgress.h"
#include "workbench/BackgroundWork.h"

#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <QStringList>

// Reads what `kurvo-workbench --dry-run ... --json --progress` prints, a piece at a time: a
// JSON document a line, the progress as it goes and the report at the end. The report of a
// million lines is megabytes of JSON, read apart from the rest (ReadReport) where it holds nothing
// up.
class DryRunOutput
{
public:
    void Feed(const QByteArray& output);
    int Percent() const { return percent; }
    const QByteArray& ReportText() const { return reportText; }
    static QJsonObject ReadReport(const QByteArray& text);
    void SetReport(QJsonObject read) { report = std::move(read); }
    bool HasReport() const { return !report.isEmpty(); }
    // The figures' lines, and the program check's headline and lines, as printed for people.
    QStringList ReportLines() const;
    CheckCounts Counts() const;
    QStringList CheckLines() const;
    PlannedRun Plan() const;
    // "line 3: X goes 10.000 mm past its maximum 300 mm"; empty while the program fits.
    QString LeavesTravel() const;

private:
    void TakeLine(const QByteArray& line);
    QStringList Lines(const char* key) const;

    QByteArray pending;
    int percent = 0;
    QByteArray reportText;
    QJsonObject report;
};

// A dry run in a process of its own, so that it never touches the controller the operator
// window drives.
class DryRunProcess : public QObject
{
    Q_OBJECT

public:
    // `workbench` is the kurvo-workbench executable that makes the dry run; `window`, when not
    // empty, the operator window's coordinate system as WindowMachine::Encoded gives it, handed
    // over through the process's input rather than its command line, which anyone can read.
    DryRunProcess(QString workbench, QString program, QString configPath, QByteArray window,
                  QObject* parent = nullptr);
    ~DryRunProcess() override;

    const QString& Program() const { return program; }
    const DryRunOutput& Output() const { return output; }
    // Before Start: the planned path is to go into this file too.
    void WritePathTo(const QString& file) { pathFile = file; }
    void Start();
    void Cancel();

signals:
    void Progressed(int percent);
    // `ok` false with the reason in `error`; a run that printed no report is not ok.
    void Finished(bool ok, const QString& error);

private:
    void Read();
    void End(int exitCode, QProcess::ExitStatus status);
    void Fail();

    const QString workbench;
    const QString program;
    const QString configPath;
    const QByteArray window;
    QString pathFile;
    QProcess process;
    DryRunOutput output;
    BackgroundWork<QJsonObject> reportReading{this};
};

#endif
