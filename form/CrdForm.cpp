#include "form/CrdForm.h"

#include "form/MyPushButton.h"
#include "form/StyleSheets.h"
#include "module/ModuleState.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <iterator>

namespace {
constexpr int statusPeriodMs = 10;
}

CrdForm::CrdForm(QWidget* parent, int width, int height, int language, short instanceIndex)
    : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    LoadCatalogue(language);
    setStyleSheet(StyleSheets::form());
    controllerPresent = FirstHostRecord().coreCount > 0;

    auto* topRow = new QHBoxLayout;
    topRow->addWidget(CreateCrdParameterGroup(), 1);
    topRow->addWidget(CreateMotionStatusGroup(), 4);
    topRow->addWidget(CreateOperateGroup(), 1);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(CreateMotionParameterGroup(), 2);
    bottomRow->addWidget(CreateBufferDataGroup(), 5);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(topRow, 1);
    rows->addLayout(bottomRow, 5);

    MakeConnections();
    setMouseTracking(true);
    RetranslateTexts();
    preferredWidth = width;
    preferredHeight = height;
    setWindowTitle(tr("Crd"));
    LoadCrdSettings();
    this->instanceIndex = instanceIndex;

    statusTimer = new QTimer(this);
    connect(statusTimer, &QTimer::timeout, this, &CrdForm::OnTimer);
    statusTimer->start(statusPeriodMs);
    bufferDataGroup->setEnabled(false);
    ilcIterationCount = 0;
}

// Destroying the translator takes the catalogue out of the application again. A host may delete
// its windows without closing this one first: the module must not keep the freed form.
CrdForm::~CrdForm()
{
    ReleaseModuleSlot();
}

void CrdForm::LoadCatalogue(int language)
{
    const QString catalogue = language == LanguageEnglish ? QStringLiteral(":/qm/kurvo_en.qm")
                                                          : QStringLiteral(":/qm/kurvo_zh.qm");
    // A catalogue that does not load leaves the translator empty: the source texts show.
    static_cast<void>(translator.load(catalogue));
    QCoreApplication::installTranslator(&translator);
}

void CrdForm::SwitchLanguage(int language)
{
    LoadCatalogue(language);
    RetranslateTexts();
}

void CrdForm::MakeConnections()
{
    FollowChoice(dimensionCombo, chosenDimension);
    for (int axis = 0; axis < axisCount; ++axis)
        FollowChoice(profileCombos[axis], chosenProfiles[axis]);
    connect(originFlagCheck, &QCheckBox::stateChanged, this, &CrdForm::OnOriginStateChanged);
    connect(lookAheadModeCombo, &QComboBox::activated, this, &CrdForm::OnCobLookAheadModeChanged);
    connect(dimensionCombo, &QComboBox::activated, this, &CrdForm::OnCrdDimensionChanged);
    connect(bufDataTypeCombo, &QComboBox::activated, this, &CrdForm::OnBufDataTypeChanged);
    connect(addDataButton, &QPushButton::clicked, this, &CrdForm::OnAddDataBtnClicked);
    connect(deleteDataButton, &QPushButton::clicked, this, &CrdForm::OnDeleteDataBtnClicked);
    connect(clearAllButton, &QPushButton::clicked, this, &CrdForm::OnDeleteAllDataBtnClicked);
    // Start takes a program's lines once for as long as the view shows them unchanged.
    connect(programTextView, &QTextEdit::textChanged, this, [this] { loadedProgram.reset(); });
    connect(commandTable, &QTableWidget::itemClicked, this,
            qOverload<QTableWidgetItem*>(&CrdForm::OnItemChanged));
    connect(loadCrdFileButton, &QPushButton::clicked, this,
            qOverload<>(&CrdForm::OnLoadFileDataBtnClicked));
    connect(openFileButton, &QPushButton::clicked, this, &CrdForm::OnbtnOpenFileData);
    connect(openIlcFileButton, &QPushButton::clicked, this, &CrdForm::OnbtnIlcOpenFileData);
    connect(initCrdButton, &QPushButton::clicked, this, &CrdForm::OnInitBtnClicked);
    connect(startCrdButton, &QPushButton::clicked, this, &CrdForm::OnStartBtnClicked);
    connect(pauseButton, &QPushButton::clicked, this, &CrdForm::OnPauseBtnClicked);
    connect(restartButton, &QPushButton::clicked, this, &CrdForm::OnRestartBtnClicked);
    connect(getLookAheadPrmButton, &QPushButton::clicked, this,
            &CrdForm::OnGetLookAheadPrmBtnClicked);
}

void CrdForm::FollowChoice(QComboBox* combo, int& chosen)
{
    chosen = combo->currentIndex() + 1;
    connect(combo, &QComboBox::currentIndexChanged, this,
            [&chosen](int index) { chosen = index + 1; });
}

QSize CrdForm::sizeHint() const
{
    return QSize(preferredWidth, preferredHeight);
}

void CrdForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
}

void CrdForm::closeEvent(QCloseEvent* event)
{
    SaveCrdSettings();
    ReleaseModuleSlot();
    event->accept();
}

void CrdForm::ReleaseModuleSlot()
{
    if (moduleSlotReleased)
        return;
    moduleSlotReleased = true;
    ModuleState& state = moduleState();
    if (state.openWindowCount > 0)
        --state.openWindowCount;
    if (instanceIndex >= 0 && instanceIndex < short(std::size(state.formTable))
        && state.formTable[instanceIndex] == this)
        state.formTable[instanceIndex] = nullptr;
}

// The host's older signals, kept in the slot table with nothing to do.
void CrdForm::OnMotionModelChanged(QString) {}
void CrdForm::OnCobCoreChanged(QString) {}
void CrdForm::OnMotionFinished() {}
void CrdForm::OnUpdateWindowTitle(QString) {}
void CrdForm::OnCrdPrmBoxChanged(int) {}
