// Reading the "Motion parameter" group into the coordinate-system record, and "Init Crd".
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "controller/ReturnCodes.h"
#include "crd/Blending.h"
#include "crd/CrdInit.h"
#include "form/ErrorBoxes.h"
#include "form/MyPushButton.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int originChecked = Qt::Checked;

double number(const QLineEdit* edit)
{
    return edit->text().toDouble();
}

short shortNumber(const QLineEdit* edit)
{
    return edit->text().toShort();
}

short itemData(const QComboBox* combo)
{
    return short(combo->currentData().toInt());
}

} // namespace

bool CrdForm::LookAheadOpen() const
{
    return lookAheadModeCombo->currentText().contains(tr("Open"));
}

void CrdForm::ReadCrdFormParams()
{
    CrdFormParams& p = params;
    p.dimension = short(chosenDimension);
    p.synVelMax = number(synVelMaxEdit);
    p.synAccMax = number(synAccMaxEdit);
    p.evenTime = shortNumber(evenTimeEdit);
    p.setOriginFlag = originFlagCheck->isChecked() ? 1 : 0;
    if (p.setOriginFlag) {
        for (int axis = 0; axis < axisCount; ++axis)
            p.originPos[axis] = number(originEdits[axis]);
    }
    p.LookAheadMode = lookAheadModeCombo->currentText();
    for (std::size_t limit = 0; limit < TreeAxisValues().size(); ++limit) {
        for (int axis = 0; axis < axisCount; ++axis) {
            (p.*TreeAxisValues()[limit].member)[axis] = number(treeEditors.axisLimits[limit][axis]);
        }
    }
    for (int axis = 0; axis < axisCount; ++axis)
        p.Scale[axis] = number(scaleEdits[axis]);
    for (int id = 0; id < treeValueCount; ++id) {
        const TreeValue& value = TreeValues()[std::size_t(id)];
        const auto which = TreeValueId(id);
        switch (value.editor) {
        case TreeEditor::Number:
            StoreText(value, treeEditors.edit(which)->text(), p);
            break;
        case TreeEditor::Choice:
            StoreCode(value, itemData(treeEditors.choice(which)), p);
            break;
        case TreeEditor::Check:
            StoreCode(value, treeEditors.check(which)->isChecked() ? 1 : 0, p);
            break;
        }
    }
}

short CrdForm::BuildCrdPrm()
{
    ModuleState& state = moduleState();
    state.currentCore = short(coreIndexCombo->currentIndex() + 1);
    state.currentCrd = short(crdIndexCombo->currentIndex() + 1);
    state.currentFifo = short(fifoIndexCombo->currentIndex());
    ReadCrdFormParams();

    const CrdRecordOutcome outcome
        = BuildCrdRecord(params, chosenProfiles, state.currentCore, state.axisTable, crdPrm);

    switch (outcome.problem) {
    case CrdRecordProblem::CoreOutOfRange:
        ShowProblem(tr("The core must lie between 1 and %1.").arg(highestHostCore));
        return ReturnCode::BadArgument;
    case CrdRecordProblem::ProfileOutOfRange:
        ShowProblem(tr("The profile of axis %1 must lie between 1 and %2.")
                        .arg(QLatin1Char("XYZAC"[outcome.axis]))
                        .arg(highestHostProfile));
        return ReturnCode::BadArgument;
    case CrdRecordProblem::UnusableHostFactors:
        ShowProblem(tr("The host's axis table has no usable factors for core %1, profile %2.")
                        .arg(state.currentCore)
                        .arg(chosenProfiles[outcome.axis]));
        return ReturnCode::BadArgument;
    case CrdRecordProblem::UnconvertibleSpeeds:
        ShowProblem(
            tr("synVelMax and synAccMax do not convert with the host's factors for core %1, "
               "profile %2.")
                .arg(state.currentCore)
                .arg(chosenProfiles[outcome.axis]));
        return ReturnCode::BadArgument;
    case CrdRecordProblem::SpanTooLarge:
        ShowProblem(QObject::tr("MaxAxisIndex - MinAxisIndex >8"));
        return ReturnCode::BadArgument;
    case CrdRecordProblem::None:
        break;
    }
    MQN_SetCrdMapBase(state.currentCore, state.currentCrd, outcome.mapBase);
    return 0;
}

void CrdForm::OnInitBtnClicked()
{
    if (BuildCrdPrm() != 0)
        return;
    const ModuleState& state = moduleState();
    if (!InitCrd({state.currentCore, state.currentCrd, state.currentFifo}, crdPrm, LookAheadOpen(),
                 params))
        return;
    bufferDataGroup->setEnabled(true);
    startCrdButton->setEnabled(true);
    restartButton->setEnabled(false);
    pauseButton->setEnabled(false);
    ShowProblem(ApplyFilterPrm());
}

void CrdForm::OnCobLookAheadModeChanged(int /*index*/)
{
    const bool open = LookAheadOpen();
    for (int axis = 0; axis < axisCount; ++axis) {
        scaleLabels[axis]->setVisible(open);
        scaleEdits[axis]->setVisible(open);
    }
    treeEditors.tree->setVisible(open);
    OnCrdDimensionChanged(dimensionCombo->currentIndex());
}

void CrdForm::OnOriginStateChanged(int state)
{
    const bool shown = state == originChecked;
    for (int axis = 0; axis < axisCount; ++axis) {
        for (QWidget* widget : {static_cast<QWidget*>(originLabels[axis]),
                                static_cast<QWidget*>(originEdits[axis])}) {
            widget->setVisible(shown);
            widget->setEnabled(shown);
        }
    }
}
