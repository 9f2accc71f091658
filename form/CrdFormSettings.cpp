// "Crd.ini": the coordinate-system settings kept from one opening of the window to the next,
// one group per core and coordinate system.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "crd/CrdSettings.h"
#include "crd/IniFile.h"
#include "crd/SettingsFolder.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <functional>
#include <vector>

namespace {

QString settingsPath()
{
    return SettingsFolder() + QStringLiteral("/Crd.ini");
}

bool readable(FileProblem problem)
{
    return problem == FileProblem::None || problem == FileProblem::Missing;
}

QString axisKey(const char* name, int axis)
{
    return QLatin1String(name) + QString::number(axis);
}

} // namespace

// A key of the window's group of Crd.ini: what a missing key reads as, how the window takes
// what the file holds (none: a key kept for files of older versions only), and what it writes.
struct CrdForm::CrdSetting
{
    QString key;
    QVariant missing;
    std::function<void(const QVariant&)> load;
    std::function<QVariant()> save;
};

// Every key, in the order the window reads them: the choices first, the origin and the mode
// with the controls they show, the program path last.
std::vector<CrdForm::CrdSetting> CrdForm::CrdSettings()
{
    const auto index = [](QComboBox* combo) {
        return [combo](const QVariant& value) {
            combo->setCurrentIndex(short(value.toInt()));
        };
    };
    const auto chosen = [](QComboBox* combo) {
        return [combo] {
            return QVariant(combo->currentIndex());
        };
    };
    const auto text = [](QLineEdit* edit) {
        return [edit](const QVariant& value) {
            edit->setText(value.toString());
        };
    };
    std::vector<CrdSetting> settings{
        {QStringLiteral("Core"), QVariant(), index(coreIndexCombo), chosen(coreIndexCombo)},
        {QStringLiteral("Crd"), QVariant(), index(crdIndexCombo), chosen(crdIndexCombo)},
        {QStringLiteral("fifo"), QVariant(), index(fifoIndexCombo), chosen(fifoIndexCombo)},
        {QStringLiteral("dimension"), 1, index(dimensionCombo), chosen(dimensionCombo)},
    };
    for (int axis = 0; axis < axisCount; ++axis) {
        settings.push_back({axisKey("Profile", axis), axis + 1, index(profileCombos[axis]),
                            chosen(profileCombos[axis])});
    }
    for (int axis = 0; axis < axisCount; ++axis) {
        settings.push_back({axisKey("Scale", axis), 1000, text(scaleEdits[axis]), [this, axis] {
                                return QVariant(params.Scale[axis]);
                            }});
    }
    settings.push_back({QStringLiteral("synVelMax"), QString(), text(synVelMaxEdit), [this] {
                            return QVariant(params.synVelMax);
                        }});
    settings.push_back({QStringLiteral("synAccMax"), QString(), text(synAccMaxEdit), [this] {
                            return QVariant(params.synAccMax);
                        }});
    settings.push_back({QStringLiteral("evenTime"), QString(), text(evenTimeEdit), [this] {
                            return QVariant(int(params.evenTime));
                        }});
    settings.push_back({QStringLiteral("setOriginFlag"), 0,
                        [this](const QVariant& value) {
                            if (value.toInt() != 0)
                                originFlagCheck->setChecked(true);
                            OnOriginStateChanged(originFlagCheck->checkState());
                        },
                        [this] {
                            return QVariant(int(params.setOriginFlag));
                        }});
    // The origins are read only where the file's flag checked the box.
    for (int axis = 0; axis < axisCount; ++axis) {
        settings.push_back({axisKey("originPos", axis), QString(),
                            [this, axis](const QVariant& value) {
                                if (originFlagCheck->isChecked())
                                    originEdits[axis]->setText(value.toString());
                            },
                            [this, axis] {
                                return QVariant(params.originPos[axis]);
                            }});
    }
    settings.push_back({QStringLiteral("LookAheadMode"), tr("Close"),
                        [this](const QVariant& value) {
                            lookAheadModeCombo->setCurrentIndex(
                                lookAheadModeCombo->findText(value.toString()));
                            OnCobLookAheadModeChanged(lookAheadModeCombo->currentIndex());
                        },
                        [this] {
                            return QVariant(params.LookAheadMode);
                        }});
    for (int id = 0; id < treeValueCount; ++id) {
        const TreeValue& value = TreeValues()[std::size_t(id)];
        if (value.settingsKey) {
            settings.push_back({QLatin1String(value.settingsKey), value.settingsFallback,
                                text(treeEditors.edit(TreeValueId(id))), [this, &value] {
                                    return QVariant(MemberValue(value, params));
                                }});
        }
    }
    // No field of the window feeds the look-ahead's AccMax; files of older versions hold it.
    settings.push_back({QStringLiteral("dLookAheadPrmAccMax"), 0.0, {}, [] {
                            return QVariant(0.0);
                        }});
    settings.push_back(
        {QStringLiteral("labOpenFileData"), QStringLiteral(" "), text(programPathEdit), [this] {
             return QVariant(programPathEdit->text());
         }});
    return settings;
}

void CrdForm::LoadCrdSettings()
{
    const QString path = settingsPath();
    settingsProblem = CheckIniFile(path);
    if (!readable(settingsProblem))
        return;
    const CrdSettingsGroup group = ReadCrdSettings(path);
    ModuleState& state = moduleState();
    state.currentCore = group.core;
    state.currentCrd = group.crd;
    for (const CrdSetting& setting : CrdSettings()) {
        if (setting.load)
            setting.load(group.values.value(setting.key, setting.missing));
    }
    if (!programPathEdit->text().isEmpty())
        OnLoadFileDataBtnClicked(0);
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
    QVariantMap values;
    for (const CrdSetting& setting : CrdSettings())
        values.insert(setting.key, setting.save());
    const ModuleState& state = moduleState();
    const FileProblem written
        = WriteCrdSettings(target.path, state.currentCore, state.currentCrd, values);
    if (written != FileProblem::None)
        ReportSettingsNotSaved(written);
}

void CrdForm::ReportSettingsNotSaved(FileProblem problem)
{
    const QByteArray line = tr("The settings were not saved to %1: %2.")
                                .arg(QDir::toNativeSeparators(settingsPath()),
                                     DescribeFileProblem(problem, largestIniFile))
                                .toUtf8();
    ReportToHost(line.constData(), ReportTextOnly);
}
