#include "form/CrdForm.h"

#include "form/MyPushButton.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace {
constexpr int statusFontPointSize = 10;
}

void CrdForm::RetranslateTexts()
{
    startCrdButton->setText(tr("Start Crd"));
    initCrdButton->setText(tr("Init Crd"));
    pauseButton->setText(tr("Pause"));
    restartButton->setText(tr("Restart"));
    motionStatusGroup->setTitle(tr("Motion Status"));
    setWindowTitle(tr("Crd"));
    crdParameterGroup->setTitle(tr("Crd parameter"));
    coreIndexLabel->setText(tr("Core Index:"));
    crdIndexLabel->setText(tr("Crd Index:"));
    fifoIndexLabel->setText(tr("Fifo Index:"));
    motionParameterGroup->setTitle(tr("Motion parameter"));
    dimensionLabel->setText(tr("Crd Dimensions:"));
    operateGroup->setTitle(tr("CrdOperate"));
    const QString axisTexts[axisCount] = {tr("X:"), tr("Y:"), tr("Z:"), tr("A:"), tr("C:")};
    for (int axis = 0; axis < axisCount; ++axis)
        axisLabels[axis]->setText(axisTexts[axis]);
    synVelMaxLabel->setText(tr("synVelMax:"));
    synAccMaxLabel->setText(tr("synAccMax:"));
    evenTimeLabel->setText(tr("EvenTime:"));
    originFlagCheck->setText(tr("OriginFlag:"));
    bufferDataGroup->setTitle(tr("Buffer Data"));
    bufDataTypeLabel->setText(tr("BufData Type:"));
    addDataButton->setText(tr("AddData"));
    deleteDataButton->setText(tr("DeleteData"));
    clearAllButton->setText(tr("ClearAll"));
    for (int axis = 0; axis < axisCount; ++axis) {
        scaleLabels[axis]->setText(tr("Scale"));
        scaleLabels[axis]->setToolTip(tr("1mm transform pulse"));
    }

    QFont statusFont = prfPosLabels[0]->font();
    statusFont.setPointSize(statusFontPointSize);
    motionStatusGroup->setTitle(tr("Motion Status"));
    const QString statusTexts[]
        = {tr("X PrfPos:"), tr("Y PrfPos:"), tr("Z PrfPos:"), tr("A PrfPos:"),
           tr("C PrfPos:"), tr("Run:"),      tr("Space:"),    tr("Segment:")};
    QLabel* statusLabels[] = {prfPosLabels[0], prfPosLabels[1], prfPosLabels[2], prfPosLabels[3],
                              prfPosLabels[4], runLabel,        spaceLabel,      segmentLabel};
    for (int i = 0; i < 8; ++i) {
        statusLabels[i]->setText(statusTexts[i]);
        statusLabels[i]->setFont(statusFont);
    }

    Titlechanged(bufDataTypeCombo->currentText());

    const bool mm = HostUsesMmUnits();
    const QString length = mm ? tr("mm") : tr("pulse");
    for (int axis = 0; axis < axisCount; ++axis) {
        axisLabels[axis]->setToolTip(length);
        originLabels[axis]->setToolTip(length);
    }
    synVelMaxLabel->setToolTip(mm ? tr("mm/s") : tr("pulse/ms"));
    synAccMaxLabel->setToolTip(mm ? tr("mm/s^2") : tr("pulse/ms^2"));
}
