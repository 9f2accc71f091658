#ifndef KURVO_WORKBENCH_PLANNINGCLIENT_H
#define KURVO_WORKBENCH_PLANNINGCLIENT_H

#include "planner/PathPlot.h"
#include "planner/ProgramCheck.h"
#include "planner/RunProgress.h"
#include "workbench/BackgroundWork.h"
#include "workbench/FormProbe.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QTemporaryDir>

#include <optional>

class DryRunProcess;

// Plans programs for the workbench in dry-run processes of their own, for the machine the
// operator window set up, and tells what they found: the preview's path, the program check, the
// timetable, the figures.
class PlanningClient : public QObject
{
    Q_OBJECT

public:
    // `configPath` names the host configuration the dry runs read; empty for the defaults.
    PlanningClient(FormProbe& probe, QString configPath, QObject* parent);

    // The executable that makes dry runs: this one, unless the workbench lives in another.
    void SetExecutable(const QString& path) { executable = path; }
    // Plans the program for its preview, drawn from `standing` when the machine's position is
    // known; what the check finds comes first.
    void Preview(const QString& path, std::optional<PathPoint3> standing);
    // The preview last made, taken once.
    PreviewPath TakePreview() { return std::move(preview); }
    // A dry run of its own, for a box to follow; it deletes itself once finished.
    DryRunProcess* DryRun(const QString& path);
    // Plans the program for its timetable, unless a plan is under way.
    void PlanInBackground(const QString& path);

signals:
    void Planned(const QString& program, const PlannedRun& plan);
    // The program check of a preview: how many lines the dialect reads otherwise, and how.
    void Checked(const QString& program, const CheckCounts& counts, const QStringList& checkLines);
    // The preview found a move past the machine's travel: where, and by how much.
    void TravelLeft(const QString& program, const QString& where);
    // The preview of the program the window holds is ready to be taken.
    void PreviewReady();
    // How far the preview's planning has come, from 0 as it begins to 100.
    void PreviewProgressed(int percent);
    // The preview last asked for is shown, or there is none to show.
    void PreviewEnded();

private:
    DryRunProcess* Start(const QString& path, const QString& pathFile = QString());

    FormProbe& probe;
    const QString configPath;
    QString executable = QCoreApplication::applicationFilePath();
    QPointer<DryRunProcess> backgroundPlan;
    QPointer<DryRunProcess> previewRun;
    QString previewedProgram; // the program of the preview last asked for
    QTemporaryDir previewFolder;
    PreviewPath preview;
    BackgroundWork<std::optional<PreviewPath>> previewReader{this};
};

#endif
