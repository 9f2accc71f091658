#include "workbench/PlanningClient.h"

#include "planner/DryRun.h"
#include "planner/WindowMachine.h"
#include "workbench/DryRunProcess.h"

PlanningClient::PlanningClient(FormProbe& formProbe, QString hostConfigPath, QObject* parent)
    : QObject(parent)
    , probe(formProbe)
    , configPath(std::move(hostConfigPath))
{}

// Plans for the machine the operator window set up, as the controller holds it; for the
// configuration's own when the window has set up none.
DryRunProcess* PlanningClient::Start(const QString& path, const QString& pathFile)
{
    QByteArray window;
    if (const std::optional<FormReading> form = probe.Read()) {
        if (const std::optional<WindowMachine> machine
            = WindowMachine::Read(form->core, form->crd, form->fifo, form->lookAheadOpen))
            window = machine->Encoded();
    }
    auto* process = new DryRunProcess(executable, path, configPath, window, this);
    connect(process, &DryRunProcess::Finished, this, [this, process](bool ok) {
        if (ok)
            emit Planned(process->Program(), process->Output().Plan());
        process->deleteLater();
    });
    process->WritePathTo(pathFile);
    process->Start();
    return process;
}

void PlanningClient::Preview(const QString& path, std::optional<PathPoint3> standing)
{
    delete previewRun;
    previewedProgram = path;
    const QString file = previewFolder.filePath(QStringLiteral("path"));
    DryRunProcess* process = Start(path, file);
    previewRun = process;
    emit PreviewProgressed(0);
    connect(process, &DryRunProcess::Progressed, this, &PlanningClient::PreviewProgressed);
    connect(process, &DryRunProcess::Finished, this,
            [this, process, path, file, standing](bool ok) {
                if (!ok) {
                    emit PreviewEnded();
                    return;
                }
                emit Checked(path, process->Output().Counts(), process->Output().CheckLines());
                if (const QString where = process->Output().LeavesTravel(); !where.isEmpty())
                    emit TravelLeft(path, where);
                previewReader.Start(
                    [file, standing]() -> std::optional<PreviewPath> {
                        std::optional<PreviewFile> read = ReadPreviewPath(file);
                        if (!read)
                            return std::nullopt;
                        if (standing)
                            StartFrom(read->points, *standing);
                        return Summarised(std::move(read->points), read->topSpeed);
                    },
                    [this, path](std::optional<PreviewPath> read) {
                        if (path != previewedProgram)
                            return;
                        const std::optional<FormReading> form = probe.Read();
                        if (read && form && form->programPath == path) {
                            preview = std::move(*read);
                            emit PreviewReady();
                        }
                        emit PreviewEnded();
                    });
            });
}

DryRunProcess* PlanningClient::DryRun(const QString& path)
{
    return Start(path);
}

void PlanningClient::PlanInBackground(const QString& path)
{
    if (!backgroundPlan)
        backgroundPlan = Start(path);
}
