// "Crd.ini": the coordinate-system settings kept from one opening of the window to the next,
// one group per core and coordinate system.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "crd/IniFile.h"
#include "crd/SettingsFolder.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>

namespace {

QString settingsPath()
{
    return SettingsFolder() + QStringLiteral("/Crd.ini");
}

QString groupName(short core, short crd)
{
    return QStringLiteral("KurvoCore%1Crd%2").arg(core).arg(crd);
}

bool readable(FileProblem problem)
{
    return problem == FileProblem::None || problem == FileProblem::Missing;
}

// The core and coordinate system of the last group that names both; (1, 1) when its core is
// no number. Groups of other names are skipped.
void chooseLastGroup(const QStringList& groups, ModuleState& state)
{
    state.currentCore = 1;
    state.currentCrd = 1;
    for (const QString& name : groups) {
        if (!name.contains(QLatin1String("KurvoCore")) || !name.contains(QLatin1String("Crd")))
            continue;
        const QStringList address
            = name.split(QStringLiteral("KurvoCore")).value(1).split(QStringLiteral("Crd"));
        bool isNumber = false;
        const short core = address.value(0).toShort(&isNumber);
        state.currentCore = isNumber ? core : short(1);
        state.currentCrd = isNumber ? address.value(1).toShort() : short(1);
    }
}

void readIndex(const QSettings& file, const QString& key, const QVariant& fallback,
               QComboBox* combo)
{
    combo->setCurrentIndex(short(file.value(key, fallback).toInt()));
}

void readText(const QSettings& file, const QString& key, const QVariant& fallback, QLineEdit* edit)
{
    edit->setText(file.value(key, fallback).toString());
}

QString axisKey(const char* name, int axis)
{
    return QLatin1String(name) + QString::number(axis);
}

} // namespace

void CrdForm::LoadCrdSettings()
{
    const QString path = settingsPath();
    settingsProblem = CheckIniFile(path);
    if (!readable(settingsProblem))
        return;
    QSettings file(path, QSettings::IniFormat);
    ModuleState& state = moduleState();
    chooseLastGroup(file.childGroups(), state);
    file.beginGroup(groupName(state.currentCore, state.currentCrd));

    readIndex(file, QStringLiteral("Core"), QVariant(), coreIndexCombo);
    readIndex(file, QStringLiteral("Crd"), QVariant(), crdIndexCombo);
    readIndex(file, QStringLiteral("fifo"), QVariant(), fifoIndexCombo);
    readIndex(file, QStringLiteral("dimension"), 1, dimensionCombo);
    for (int axis = 0; axis < axisCount; ++axis)
        readIndex(file, axisKey("Profile", axis), axis + 1, profileCombos[axis]);
    for (int axis = 0; axis < axisCount; ++axis)
        readText(file, axisKey("Scale", axis), 1000, scaleEdits[axis]);
    readText(file, QStringLiteral("synVelMax"), QString(), synVelMaxEdit);
    readText(file, QStringLiteral("synAccMax"), QString(), synAccMaxEdit);
    readText(file, QStringLiteral("evenTime"), QString(), evenTimeEdit);
    if (file.value(QStringLiteral("setOriginFlag"), 0).toInt() != 0) {
        originFlagCheck->setChecked(true);
        for (int axis = 0; axis < axisCount; ++axis)
            readText(file, axisKey("originPos", axis), QString(), originEdits[axis]);
    }
    OnOriginStateChanged(originFlagCheck->checkState());

    lookAheadModeCombo->setCurrentIndex(lookAheadModeCombo->findText(
        file.value(QStringLiteral("LookAheadMode"), tr("Close")).toString()));
    OnCobLookAheadModeChanged(lookAheadModeCombo->currentIndex());

    for (int id = 0; id < treeValueCount; ++id) {
        const TreeValue& value = TreeValues()[std::size_t(id)];
        if (value.settingsKey) {
            readText(file, QLatin1String(value.settingsKey), value.settingsFallback,
                     treeEditors.edit(TreeValueId(id)));
        }
    }
    readText(file, QStringLiteral("labOpenFileData"), QStringLiteral(" "), programPathEdit);
    if (!programPathEdit->text().isEmpty())
        OnLoadFileDataBtnClicked(0);
    file.endGroup();
}

void CrdForm::SaveCrdSettings()
{
    if (!controllerPresent)
        return;
    // The record is built for its values; a box it shows while closing changes nothing here.
    static_cast<void>(BuildCrdPrm());
    // A file that could not be read at opening is left as it is: the window holds none of it.
    const WriteTarget target = readable(settingsProblem) ? IniFileToWrite(settingsPath())
                                                         : WriteTarget{QString(), settingsProblem};
    if (target.problem != FileProblem::None) {
        ReportSettingsNotSaved(target.problem);
        return;
    }
    const FileProblem written
        = WriteIniFile(target.path, [this](QSettings& file) { WriteCrdSettings(file); });
    if (written != FileProblem::None)
        ReportSettingsNotSaved(written);
}

void CrdForm::WriteCrdSettings(QSettings& file)
{
    const ModuleState& state = moduleState();
    file.beginGroup(groupName(state.currentCore, state.currentCrd));

    file.setValue(QStringLiteral("Core"), coreIndexCombo->currentIndex());
    file.setValue(QStringLiteral("Crd"), crdIndexCombo->currentIndex());
    file.setValue(QStringLiteral("fifo"), fifoIndexCombo->currentIndex());
    file.setValue(QStringLiteral("dimension"), dimensionCombo->currentIndex());
    for (int axis = 0; axis < axisCount; ++axis)
        file.setValue(axisKey("Profile", axis), profileCombos[axis]->currentIndex());
    file.setValue(QStringLiteral("synVelMax"), params.synVelMax);
    file.setValue(QStringLiteral("synAccMax"), params.synAccMax);
    file.setValue(QStringLiteral("evenTime"), int(params.evenTime));
    file.setValue(QStringLiteral("setOriginFlag"), int(params.setOriginFlag));
    for (int axis = 0; axis < axisCount; ++axis)
        file.setValue(axisKey("originPos", axis), params.originPos[axis]);
    file.setValue(QStringLiteral("LookAheadMode"), params.LookAheadMode);
    for (const TreeValue& value : TreeValues()) {
        if (value.settingsKey)
            file.setValue(QLatin1String(value.settingsKey), MemberValue(value, params));
    }
    // No field of the window feeds the look-ahead's AccMax; files of older versions hold it.
    file.setValue(QStringLiteral("dLookAheadPrmAccMax"), 0.0);
    file.setValue(QStringLiteral("labOpenFileData"), programPathEdit->text());
    for (int axis = 0; axis < axisCount; ++axis)
        file.setValue(axisKey("Scale", axis), params.Scale[axis]);
    file.endGroup();
}

void CrdForm::ReportSettingsNotSaved(FileProblem problem)
{
    const QByteArray line = tr("The settings were not saved to %1: %2.")
                                .arg(QDir::toNativeSeparators(settingsPath()),
                                     DescribeFileProblem(problem, largestIniFile))
                                .toUtf8();
    ReportToHost(line.constData(), ReportTextOnly);
}
