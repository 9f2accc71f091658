// Choosing program and learning files, and loading a program: a short one into table rows, a
// longer one as text for the streaming worker.
#include "form/CrdForm.h"

#include "buffer/BufRowValues.h"
#include "controller/CommandResult.h"
#include "gcode/GCodeInterpreter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextStream>

namespace {

constexpr int longestTableProgram = 10;
constexpr int notOpened = -1;

// The label a loaded row's editors are reported under.
const char* rowLabel(const QString& type)
{
    if (type == QLatin1String("BufLaserOnEx"))
        return "CreateNewColumn BufLaserOn";
    if (type == QLatin1String("BufLaserOffEx"))
        return "CreateNewColumn BufLaserOff";
    if (type.startsWith(QLatin1String("LnXYZ")))
        return "CreateNewColumn LnXYZ";
    if (type == QLatin1String("ArcXYCEx"))
        return "CreateNewColumn MQ_ArcXYCEx";
    if (type == QLatin1String("ArcXYC"))
        return "CreateNewColumn MQ_ArcXYC";
    if (type == QLatin1String("ArcXYREx"))
        return "CreateNewColumn MQ_ArcXYREx";
    return "CreateNewColumn MQ_ArcXYR";
}

} // namespace

void CrdForm::OnbtnOpenFileData()
{
    programPathEdit->setText(QFileDialog::getOpenFileName(this, tr("1,txt"),
                                                          QCoreApplication::applicationDirPath(),
                                                          QStringLiteral("NC(*.nc);;All(*.*)")));
}

void CrdForm::OnbtnIlcOpenFileData()
{
    ilcPathEdit->setText(QFileDialog::getOpenFileName(this, tr("1,txt"),
                                                      QCoreApplication::applicationDirPath(),
                                                      QStringLiteral("ILC(*.ilc);;All(*.*)")));
}

void CrdForm::OnLoadFileDataBtnClicked()
{
    OnLoadFileDataBtnClicked(1);
}

void CrdForm::OnLoadFileDataBtnClicked(short isShowAlarm)
{
    const QString path = programPathEdit->text();
    if (path.isEmpty() && isShowAlarm != 0) {
        QMessageBox::information(this, tr("Info"), tr("File path can not be empty !"));
        return;
    }
    const int lines = CountProgramLines(path);
    OnDeleteAllDataBtnClicked();
    programTextView->clear();
    const int result
        = lines > longestTableProgram ? ShowProgramText(path) : LoadProgramIntoTable(path);
    if (result != 0)
        QMessageBox::information(this, tr("Info"), tr("File open fail !"));
}

int CrdForm::CountProgramLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return notOpened;
    QTextStream stream(&file);
    int lines = 0;
    while (!stream.atEnd()) {
        stream.readLine();
        ++lines;
    }
    return lines;
}

int CrdForm::ShowProgramText(const QString& path)
{
    commandTable->hide();
    programTextView->show();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return notOpened;
    QTextStream stream(&file);
    while (!stream.atEnd())
        programTextView->append(stream.readLine());
    programTextView->moveCursor(QTextCursor::Start);
    return 0;
}

int CrdForm::LoadProgramIntoTable(const QString& path)
{
    commandTable->show();
    programTextView->hide();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return notOpened;
    const bool open = LookAheadOpen();
    GCodeInterpreter program;
    BufRowValues values;
    auto append = [this, &values](const QString& type) {
        const int row = commandTable->rowCount();
        commandTable->insertRow(row);
        commandTable->setItem(row, 0, new QTableWidgetItem(type));
        ShowCommandError(rowLabel(type), CreateNewColumn(row, type, commandTable, &values));
    };

    QTextStream stream(&file);
    while (!stream.atEnd()) {
        program.InterpretLine(stream.readLine());
        if (program.laserSwitch == 1)
            append(QStringLiteral("BufLaserOnEx"));
        else if (program.laserSwitch == 0)
            append(QStringLiteral("BufLaserOffEx"));

        using G = GCodeInterpreter;
        const G::Request request = program.MotionRequest();
        if (request != G::NoMotion) {
            values.x = program.position[G::X];
            values.y = program.position[G::Y];
            values.z = program.position[G::Z];
            values.a = program.position[G::A];
            values.synVel = program.Velocity();
            values.synAcc = program.Acceleration();
        }
        if (request == G::Line) {
            append(program.motionMode == 0 ? QStringLiteral("LnXYZG0Ex")
                   : open                  ? QStringLiteral("LnXYZEx")
                                           : QStringLiteral("LnXYZ"));
        } else if (request == G::CentreArc || request == G::RadiusArc) {
            values.xCenter = program.arcCentre[0];
            values.yCenter = program.arcCentre[1];
            values.radius = program.arcRadius;
            values.circleDir = program.ArcDirection();
            const bool centre = request == G::CentreArc;
            append(centre ? (open ? QStringLiteral("ArcXYCEx") : QStringLiteral("ArcXYC"))
                          : (open ? QStringLiteral("ArcXYREx") : QStringLiteral("ArcXYR")));
        }
        program.FinishLine(true);
    }
    return 0;
}
