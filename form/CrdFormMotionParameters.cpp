// The "Motion parameter" group and the coordinate system a new window starts on.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "controller/rvAPI.h"
#include "form/ErrorBoxes.h"
#include "form/MyDoubleValidator.h"
#include "form/NamedWidgets.h"
#include "form/WidgetNames.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int initialDimensionIndex = 2; // "3"

void growAcross(std::initializer_list<QWidget*> widgets)
{
    for (QWidget* widget : widgets)
        widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
}

// A row of widgets with a stretch of 1 after each but the last.
QHBoxLayout* spacedRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    int left = int(widgets.size());
    for (QWidget* widget : widgets) {
        row->addWidget(widget);
        if (--left > 0)
            row->addStretch(1);
    }
    return row;
}

// The controller's count of coordinate systems of `core`; failures are shown and count 0.
short crdCountOf(short core)
{
    short count = 0;
    ShowCommandError("MQN_GetResCount", MQN_GetResCount(core, RV_RES_CRD, &count));
    return count;
}

} // namespace

QGroupBox* CrdForm::CreateMotionParameterGroup()
{
    using namespace WidgetNames;
    ModuleState& state = moduleState();

    lookAheadModeLabel = Named(new QLabel, QLatin1String(WidgetNames::lookAheadModeLabel));
    lookAheadModeLabel->setText(tr("LookAheadMode:"));
    lookAheadModeCombo = new QComboBox;
    lookAheadModeCombo->setObjectName(QLatin1String(WidgetNames::lookAheadModeCombo));
    lookAheadModeCombo->addItems({tr("Close"), tr("Open")});

    dimensionLabel = Named(new QLabel, QLatin1String(WidgetNames::dimensionLabel));
    dimensionCombo = new QComboBox;
    dimensionCombo->setObjectName(QLatin1String(WidgetNames::dimensionCombo));
    for (int dimension = 1; dimension <= axisCount; ++dimension)
        dimensionCombo->addItem(QString::number(dimension));
    dimensionCombo->setCurrentIndex(initialDimensionIndex);
    growAcross({dimensionLabel, dimensionCombo});

    short highestProfile = 0;
    MQN_GetResMax(state.currentCore, RV_RES_CRD, &highestProfile);
    auto* rows = new QVBoxLayout;
    rows->addLayout(spacedRow({lookAheadModeLabel, lookAheadModeCombo}));
    rows->addLayout(spacedRow({dimensionLabel, dimensionCombo}));
    for (int axis = 0; axis < axisCount; ++axis) {
        axisLabels[axis] = Named(new QLabel, perAxis(axisLabel, axis));
        profileCombos[axis] = new QComboBox;
        profileCombos[axis]->setObjectName(perAxis(profileCombo, axis));
        for (int profile = 1; profile <= highestProfile; ++profile)
            profileCombos[axis]->addItem(QString::number(profile));
        profileCombos[axis]->setCurrentIndex(axis + 1);
        scaleLabels[axis] = Named(new QLabel, perAxis(scaleLabel, axis));
        scaleEdits[axis] = NamedEdit(perAxis(scaleEdit, axis), QStringLiteral("10000"),
                                     new MyDoubleValidator(0.0001, 2000000, 5, this));
        scaleLabels[axis]->hide();
        scaleEdits[axis]->hide();
        growAcross({axisLabels[axis], profileCombos[axis], scaleEdits[axis]});
        QHBoxLayout* row = spacedRow(
            {axisLabels[axis], profileCombos[axis], scaleLabels[axis], scaleEdits[axis]});
        row->addStretch(1);
        rows->addLayout(row);
    }
    // Dimension 3 leaves A and C without a profile choice.
    for (int axis = 3; axis < axisCount; ++axis) {
        profileCombos[axis]->setEnabled(false);
        profileCombos[axis]->setCurrentIndex(0);
    }

    synVelMaxLabel = Named(new QLabel, QLatin1String(WidgetNames::synVelMaxLabel));
    synVelMaxEdit = NamedEdit(QLatin1String(WidgetNames::synVelMaxEdit), QStringLiteral("1000"),
                              new MyDoubleValidator(0.0001, 10000, 4, this));
    synAccMaxLabel = Named(new QLabel, QLatin1String(WidgetNames::synAccMaxLabel));
    synAccMaxEdit = NamedEdit(QLatin1String(WidgetNames::synAccMaxEdit), QStringLiteral("5000"),
                              new MyDoubleValidator(0.0001, 20000, 4, this));
    evenTimeLabel = Named(new QLabel, QLatin1String(WidgetNames::evenTimeLabel));
    evenTimeEdit = NamedEdit(QLatin1String(WidgetNames::evenTimeEdit), QStringLiteral("0"),
                             new QIntValidator(0, 2000, this));
    for (QLineEdit* edit : {synVelMaxEdit, synAccMaxEdit, evenTimeEdit})
        edit->setMinimumWidth(35);
    growAcross({synVelMaxLabel, synVelMaxEdit, synAccMaxLabel, synAccMaxEdit, evenTimeLabel,
                evenTimeEdit});
    rows->addLayout(spacedRow({synVelMaxLabel, synVelMaxEdit}));
    rows->addLayout(spacedRow({synAccMaxLabel, synAccMaxEdit}));
    rows->addLayout(spacedRow({evenTimeLabel, evenTimeEdit}));

    originFlagCheck = new QCheckBox;
    originFlagCheck->setObjectName(QLatin1String(WidgetNames::originFlagCheck));
    QHBoxLayout* flagRow = spacedRow({originFlagCheck});
    flagRow->addStretch(1);
    rows->addLayout(flagRow);
    const QString originTexts[axisCount] = {tr("X:"), tr("Y:"), tr("Z:"), tr("A:"), tr("C:")};
    for (int axis = 0; axis < axisCount; ++axis) {
        originLabels[axis] = Named(new QLabel, perAxis(originLabel, axis));
        originLabels[axis]->setText(originTexts[axis]);
        originEdits[axis]
            = NamedEdit(perAxis(originEdit, axis), QString(), new QIntValidator(this));
        for (QWidget* widget : {static_cast<QWidget*>(originLabels[axis]),
                                static_cast<QWidget*>(originEdits[axis])}) {
            widget->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
            widget->setEnabled(false);
        }
        rows->addLayout(spacedRow({originLabels[axis], originEdits[axis]}));
    }
    QTreeWidget* tree = CreateLookAheadTree();
    tree->hide();
    rows->addWidget(tree, 10);
    rows->addStretch(1);
    rows->setContentsMargins(2, 1, 2, 1);

    motionParameterGroup = new QGroupBox;
    motionParameterGroup->setObjectName(QLatin1String(WidgetNames::motionParameterGroup));
    motionParameterGroup->setLayout(rows);
    return motionParameterGroup;
}

CrdResourceRecord CrdForm::PickDefaultCore()
{
    ModuleState& state = moduleState();
    const CrdResourceRecord host = FirstHostRecord();
    if (host.crd > 0) {
        state.cursorCore = host.core;
        state.cursorCrd = host.crd;
        return host;
    }
    if (host.coreCount <= 0)
        return host;

    // The host assigns none: take the coordinate system after the one handed out last.
    short core = state.cursorCore;
    short crd = short(state.cursorCrd + 1);
    if (crd > crdCountOf(state.cursorCore)) {
        crd = 1;
        core = short(state.cursorCore + 1);
        if (core > OfferedCoreCount(host))
            core = 1;
    }
    const short crdCount = crdCountOf(core);
    state.cursorCore = core;
    state.cursorCrd = crd;
    CrdResourceRecord picked{};
    picked.coreCount = host.coreCount;
    picked.crdCount = crdCount;
    picked.core = core;
    picked.crd = crd;
    return picked;
}
