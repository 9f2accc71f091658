#include "crd/Blending.h"

#include "controller/CommandResult.h"
#include "controller/rvAPI.h"
#include "module/ModuleState.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSettings>

void ApplyFilterPrm()
{
    ApplyBlendingFile(QCoreApplication::applicationDirPath()
                      + QStringLiteral("/modules/FilterPrm.ini"));
}

void ApplyBlendingFile(const QString& path)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Blending"));
    // The settings object parses the file at the first read; only then does its status tell.
    const short active = short(file.value(QStringLiteral("active"), -1).toInt());
    if (file.status() != QSettings::NoError) {
        QMessageBox::information(nullptr, QObject::tr("Error:"),
                                 QObject::tr("Option.ini File Write Error!"));
        return;
    }
    if (active == -1)
        return;
    const short paraType = short(file.value(QStringLiteral("paraType"), 0).toInt());
    const double para = file.value(QStringLiteral("para"), 0.0).toDouble();
    const double minAngle = file.value(QStringLiteral("minAngle"), 0.0).toDouble();
    const double maxAngle = file.value(QStringLiteral("maxAngle"), 0.0).toDouble();
    file.endGroup();

    const ModuleState& state = moduleState();
    const short code = MQN_SetBlendingParaLa(state.currentCore, state.currentCrd, paraType, para,
                                             minAngle, maxAngle);
    const QString line
        = QStringLiteral("MQN_SetBlendingParaLa active %1paraType%2 para%3 "
                         "maxAngle%4 ")
              .arg(QString::number(active), QString::number(paraType),
                   QString::number(para, 'g', -1), QString::number(maxAngle, 'g', -1));
    ReportCommandResult(line.toLocal8Bit().constData(), 1, state.hostMessage);
    ReportCommandResult("MQN_SetBlendingParaLa", code, state.hostMessage);
}
