// The groups of the operator window, but "Motion parameter", which coordinate-system set-up
// builds.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "controller/ReturnCodes.h"
#include "controller/rvAPI.h"
#include "form/MyPushButton.h"
#include "form/NamedWidgets.h"
#include "form/ProgramTextLayout.h"
#include "form/StyleSheets.h"
#include "form/WidgetNames.h"
#include "module/ModuleState.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int tableColumns = 10;

QComboBox* numberChoice(int first, int last)
{
    auto* combo = new QComboBox;
    for (int n = first; n <= last; ++n)
        combo->addItem(QString::number(n));
    return combo;
}

// A row of label, stretch and choice, both growing in every direction.
QHBoxLayout* choiceRow(QLabel* label, QComboBox* choice)
{
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    choice->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(choice);
    return row;
}

MyPushButton* operateButton(const char* name)
{
    const QString noIcon = QStringLiteral(" ");
    auto* button = Named(new MyPushButton(nullptr, 75, noIcon, noIcon), name);
    button->setFixedSize(100, 30);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

MyPushButton* dataButton(const char* name, int styleFlags, const QString& icon = QString(),
                         const QString& hoverIcon = QString())
{
    auto* button = Named(new MyPushButton(nullptr, styleFlags, icon, hoverIcon), name);
    button->setFixedSize(100, 35);
    return button;
}

QLineEdit* pathField(const char* name)
{
    auto* field = Named(new QLineEdit, name);
    field->setMinimumSize(200, 25);
    return field;
}

} // namespace

QGroupBox* CrdForm::CreateCrdParameterGroup()
{
    const CrdResourceRecord record = PickDefaultCore();

    coreIndexLabel = Named(new QLabel, WidgetNames::coreIndexLabel);
    const int offeredCores = OfferedCoreCount(record);
    if (record.coreCount > offeredCores) {
        const QByteArray line = tr("The host reports %1 cores; the window offers cores 1 to %2.")
                                    .arg(record.coreCount)
                                    .arg(offeredCores)
                                    .toUtf8();
        ReportToHost(line.constData(), ReportTextOnly);
    }
    coreIndexCombo = Named(numberChoice(1, offeredCores), WidgetNames::coreIndexCombo);
    if (record.core > 0)
        coreIndexCombo->setCurrentIndex(record.core - 1);
    crdIndexLabel = Named(new QLabel, WidgetNames::crdIndexLabel);
    crdIndexCombo = Named(numberChoice(1, 2), WidgetNames::crdIndexCombo);
    fifoIndexLabel = Named(new QLabel, WidgetNames::fifoIndexLabel);
    fifoIndexCombo = Named(numberChoice(0, 1), WidgetNames::fifoIndexCombo);

    auto* rows = new QVBoxLayout;
    rows->addLayout(choiceRow(coreIndexLabel, coreIndexCombo));
    rows->addLayout(choiceRow(crdIndexLabel, crdIndexCombo));
    rows->addLayout(choiceRow(fifoIndexLabel, fifoIndexCombo));
    rows->addStretch(1);
    crdParameterGroup = Named(new QGroupBox, WidgetNames::crdParameterGroup);
    crdParameterGroup->setLayout(rows);
    return crdParameterGroup;
}

QGroupBox* CrdForm::CreateMotionStatusGroup()
{
    auto* grid = new QGridLayout;
    auto place = [grid](QLabel*& name, QLabel*& value, const QString& nameId,
                        const QString& valueId, int row, int column) {
        name = Named(new QLabel, nameId);
        value = Named(new QLabel, valueId);
        grid->addWidget(name, row, column);
        grid->addWidget(value, row, column + 1);
    };
    // Positions fill the first two column pairs top to bottom: X, Y, Z, then A, C.
    const int rows[axisCount] = {0, 1, 2, 0, 1};
    const int columns[axisCount] = {0, 0, 0, 2, 2};
    for (int axis = 0; axis < axisCount; ++axis)
        place(prfPosLabels[axis], prfPosValues[axis],
              WidgetNames::perAxis(WidgetNames::prfPosLabel, axis),
              WidgetNames::perAxis(WidgetNames::prfPosValue, axis), rows[axis], columns[axis]);
    place(segmentLabel, segmentValue, QLatin1String(WidgetNames::segmentLabel),
          QLatin1String(WidgetNames::segmentValue), 2, 2);
    place(runLabel, runValue, QLatin1String(WidgetNames::runLabel),
          QLatin1String(WidgetNames::runValue), 0, 4);
    place(spaceLabel, spaceValue, QLatin1String(WidgetNames::spaceLabel),
          QLatin1String(WidgetNames::spaceValue), 1, 4);

    motionStatusGroup = Named(new QGroupBox, WidgetNames::motionStatusGroup);
    motionStatusGroup->setLayout(grid);
    return motionStatusGroup;
}

QGroupBox* CrdForm::CreateOperateGroup()
{
    initCrdButton = operateButton(WidgetNames::initCrdButton);
    startCrdButton = operateButton(WidgetNames::startCrdButton);
    pauseButton = operateButton(WidgetNames::pauseButton);
    restartButton = operateButton(WidgetNames::restartButton);
    getLookAheadPrmButton = operateButton(WidgetNames::getLookAheadPrmButton);
    getLookAheadPrmButton->setText(tr("GetLookAheadPrm"));
    startCrdButton->setEnabled(false);
    pauseButton->setEnabled(false);
    restartButton->setEnabled(false);
    restartButton->hide();

    // A controller that does not know the look-ahead read-back cannot offer it.
    const ModuleState& state = moduleState();
    LookAheadPrmEx probe{};
    if (MQN_GetLookAheadParaEx(state.currentCore, state.currentCrd, state.currentFifo, &probe, 0)
        == ReturnCode::UnknownCommand)
        getLookAheadPrmButton->hide();

    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    column->setContentsMargins(1, 1, 1, 1);
    for (MyPushButton* button :
         {initCrdButton, startCrdButton, pauseButton, restartButton, getLookAheadPrmButton})
        column->addWidget(button, 0, Qt::AlignHCenter);
    column->addStretch(1);
    operateGroup = Named(new QGroupBox, WidgetNames::operateGroup);
    operateGroup->setLayout(column);
    return operateGroup;
}

QGroupBox* CrdForm::CreateBufferDataGroup()
{
    bufDataTypeLabel = Named(new QLabel, WidgetNames::bufDataTypeLabel);
    bufDataTypeCombo = Named(new QComboBox, WidgetNames::bufDataTypeCombo);
    bufDataTypeCombo->setStyleSheet(StyleSheets::commandTypeChoice());
    bufDataTypeCombo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (const QString& type : CommandTypesAtStart())
        bufDataTypeCombo->addItem(type, QVariant());
    addDataButton
        = dataButton(WidgetNames::addDataButton, 219, QStringLiteral(":/icon/Resources/plus.png"),
                     QStringLiteral(":/icon/Resources/plus-w.png"));
    deleteDataButton = dataButton(WidgetNames::deleteDataButton, 219,
                                  QStringLiteral(":/icon/Resources/minus.png"),
                                  QStringLiteral(":/icon/Resources/minus-w.png"));
    clearAllButton
        = dataButton(WidgetNames::clearAllButton, 219, QStringLiteral(":/qm/Resources/delete.png"),
                     QStringLiteral(":/icon/Resources/delete-w.png"));
    openFileButton = dataButton(WidgetNames::openFileButton, 75);
    loadCrdFileButton = dataButton(WidgetNames::loadCrdFileButton, 75);
    openIlcFileButton = dataButton(WidgetNames::openIlcFileButton, 75);
    openFileButton->setText(tr("OpenFile"));
    loadCrdFileButton->setText(tr("LoadCrdFile"));
    openIlcFileButton->setText(tr("OpenILCFile"));
    programPathEdit = pathField(WidgetNames::programPathEdit);
    ilcPathEdit = pathField(WidgetNames::ilcPathEdit);
    openIlcFileButton->hide();
    ilcPathEdit->hide();

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(bufDataTypeLabel);
    typeRow->addWidget(bufDataTypeCombo);
    typeRow->addStretch(1);
    typeRow->addWidget(addDataButton);
    typeRow->addWidget(deleteDataButton);
    typeRow->addWidget(clearAllButton);
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(openFileButton);
    programRow->addWidget(programPathEdit);
    programRow->addWidget(loadCrdFileButton);
    auto* ilcRow = new QHBoxLayout;
    ilcRow->addWidget(openIlcFileButton);
    ilcRow->addWidget(ilcPathEdit);

    commandTable = Named(new QTableWidget, WidgetNames::commandTable);
    commandTable->setColumnCount(tableColumns);
    QHeaderView* header = commandTable->horizontalHeader();
    header->setDefaultSectionSize(70);
    header->setSectionsClickable(false);
    QFont headerFont = header->font();
    headerFont.setPointSize(9);
    header->setFont(headerFont);
    header->setFixedHeight(30);
    header->setStretchLastSection(true);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setStyleSheet(StyleSheets::commandTableHeader());
    commandTable->verticalHeader()->setDefaultSectionSize(30);
    QFont tableFont = commandTable->font();
    tableFont.setPointSize(10);
    commandTable->setFont(tableFont);
    commandTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    commandTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    commandTable->setAlternatingRowColors(true);
    commandTable->setFrameShape(QFrame::NoFrame);
    commandTable->setStyleSheet(StyleSheets::commandTable());
    commandTable->setHorizontalHeaderLabels({tr("CrdID      "), tr("X"), tr("Y"), tr("synVel"),
                                             tr("synAcc"), tr("velEnd"), QString(), QString(),
                                             QString(), QString()});
    programTextView = Named(new QTextEdit, WidgetNames::programTextView);
    programTextView->document()->setDocumentLayout(
        new ProgramTextLayout(programTextView->document()));
    programTextView->hide();

    auto* rows = new QVBoxLayout;
    rows->setSpacing(4);
    rows->setContentsMargins(4, 4, 4, 4);
    rows->addSpacing(10);
    rows->addLayout(typeRow);
    rows->addLayout(programRow);
    rows->addLayout(ilcRow);
    rows->addSpacing(5);
    rows->addWidget(commandTable);
    rows->addWidget(programTextView);
    bufferDataGroup = Named(new QGroupBox, WidgetNames::bufferDataGroup);
    bufferDataGroup->setLayout(rows);
    return bufferDataGroup;
}
