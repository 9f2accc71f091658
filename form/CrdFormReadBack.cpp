// "GetLookAheadPrm": the controller's coordinate-system and look-ahead values back into the form,
// in controller units.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "form/ErrorBoxes.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

QString general(double value)
{
    return QString::number(value, 'g', -1);
}

} // namespace

void CrdForm::OnGetLookAheadPrmBtnClicked()
{
    const ModuleState& state = moduleState();
    CrdPrm prm{};
    if (MQN_GetCrdPrm(state.currentCore, state.currentCrd, &prm) != 0)
        return;

    // A coordinate system never set up has dimension 0: the choice then shows none, and the
    // next Init meets the controller's refusal.
    dimensionCombo->setCurrentIndex(prm.dimension - 1);
    // A profile the choice does not have would blank it: such values are left out.
    for (int entry = 0; entry < 8; ++entry) {
        const int axis = prm.profile[entry];
        if (axis >= 1 && axis <= axisCount && entry < profileCombos[axis - 1]->count())
            profileCombos[axis - 1]->setCurrentIndex(entry);
    }
    synVelMaxEdit->setText(general(prm.synVelMax));
    synAccMaxEdit->setText(general(prm.synAccMax));
    evenTimeEdit->setText(QString::number(prm.evenTime));
    if (prm.setOriginFlag != 0) {
        originFlagCheck->setChecked(true);
        for (int axis = 0; axis < axisCount; ++axis)
            originEdits[axis]->setText(QString::number(prm.originPos[axis]));
    } else {
        originFlagCheck->setChecked(false);
    }

    TreeReadBack readBack;
    ShowCommandError("MQN_GetLookAheadParaEx",
                     MQN_GetLookAheadParaEx(state.currentCore, state.currentCrd, state.currentFifo,
                                            &readBack.lookAhead, 0));
    for (int axis = 0; axis < axisCount; ++axis)
        scaleEdits[axis]->setText(general(readBack.lookAhead.Scale[axis]));
    MQN_GetCrdJerk(state.currentCore, state.currentCrd, &readBack.jerk);
    for (int id = 0; id < treeValueCount; ++id) {
        if (const auto read = TreeValues()[std::size_t(id)].readBack)
            treeEditors.edit(TreeValueId(id))->setText(read(readBack));
    }
}
