#include "workbench/ProgramDialogs.h"

#include "gcode/ProgramText.h"
#include "workbench/DryRunProcess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

namespace {

// The context the boxes' texts are translated in.
struct ProgramDialogs
{
    Q_DECLARE_TR_FUNCTIONS(ProgramDialogs)
};

} // namespace

std::optional<qsizetype> AskLineToRunFrom(QWidget* parent, const QString& path, qsizetype proposed)
{
    const std::optional<ProgramText> program = ProgramText::Read(path);
    if (!program || program->LineCount() == 0) {
        QMessageBox::information(
            parent, ProgramDialogs::tr("Run from line"),
            ProgramDialogs::tr("Load a program into the operator window first."));
        return std::nullopt;
    }
    bool chosen = false;
    const int line = QInputDialog::getInt(
        parent, ProgramDialogs::tr("Run from line"),
        ProgramDialogs::tr("Line of %1 to go on at:").arg(QFileInfo(path).fileName()),
        int(std::max<qsizetype>(1, proposed)), 1, int(program->LineCount()), 1, &chosen);
    return chosen ? std::optional<qsizetype>(line) : std::nullopt;
}

bool AskToImportWithNotes(QWidget* parent, const QString& problem, bool unsupported)
{
    const QString title = ProgramDialogs::tr("Import common G-code");
    if (!unsupported) {
        QMessageBox::warning(parent, title, problem);
        return false;
    }
    return QMessageBox::question(parent, title,
                                 problem
                                     + ProgramDialogs::tr(".\n\nImport it with such lines "
                                                          "written as notes, moving nothing?"))
           == QMessageBox::Yes;
}

void ShowDryRunProgress(QWidget* parent, DryRunProcess* process)
{
    auto* box = new QProgressDialog(ProgramDialogs::tr("Dry run of %1").arg(process->Program()),
                                    ProgramDialogs::tr("Cancel"), 0, 100, parent);
    box->setObjectName(QStringLiteral("dryRunProgress"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setMinimumDuration(0);
    QObject::connect(process, &DryRunProcess::Progressed, box, &QProgressDialog::setValue);
    // Its Cancel button, and Esc, which closes the box without a word of cancelling.
    QObject::connect(box, &QProgressDialog::canceled, process, &DryRunProcess::Cancel);
    QObject::connect(box, &QDialog::rejected, process, &DryRunProcess::Cancel);
    QObject::connect(process, &DryRunProcess::Finished, box,
                     [box = QPointer<QProgressDialog>(box)] {
                         if (box)
                             box->close();
                     });
}

void WarnOfTravel(QWidget* parent, const QString& program, const QString& where)
{
    // Once the load is done: the preview comes on behind the box.
    QTimer::singleShot(0, parent, [parent, program, where] {
        QMessageBox::warning(parent, ProgramDialogs::tr("Will it fit?"),
                             ProgramDialogs::tr("%1 does not fit the machine: %2.\n\nThe machine "
                                                "would run past its travel there.")
                                 .arg(QFileInfo(program).fileName(), where));
    });
}
