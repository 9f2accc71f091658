#ifndef KURVO_CRDFORM_H
#define KURVO_CRDFORM_H

#include "buffer/CommandCatalogue.h"
#include "crd/CrdRecords.h"
#include "form/TreeValues.h"
#include "gcode/ProgramText.h"
#include "module/FileAccess.h"
#include "module/HostTypes.h"
#include "run/BufferedJob.h"
#include "run/RunWatch.h"

#include <QPointer>
#include <QTranslator>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class MyPushButton;
class MyThread;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTableWidgetItem;
class QTextDocument;
class QTextEdit;
class QTimer;
class QTreeWidget;
class QValidator;
struct BufRowValues;

// The operator window: drives one coordinate system of the controller. Its operations are
// defined in the folders of their subsystems.
class CrdForm : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(short instanceIndex READ InstanceIndex CONSTANT)

public:
    static constexpr int axisCount = 5; // X, Y, Z, A, C

    CrdForm(QWidget* parent, int width, int height, int language, short instanceIndex);
    ~CrdForm() override;

    void SwitchLanguage(int language);
    short InstanceIndex() const { return instanceIndex; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void OnMotionModelChanged(QString text);
    void OnCobCoreChanged(QString text);
    void OnStartBtnClicked();
    void OnInitBtnClicked();
    void OnStopBtnClicked();
    void OnMotionFinished();
    void OnUpdateWindowTitle(QString title);
    void OnOriginStateChanged(int state);
    void OnCrdDimensionChanged(int index);
    void OnBufDataTypeChanged(int index);
    void OnAddDataBtnClicked();
    void OnLoadFileDataBtnClicked(short isShowAlarm);
    void OnLoadFileDataBtnClicked();
    void OnDeleteDataBtnClicked();
    void OnDeleteAllDataBtnClicked();
    void OnTimer();
    void OnItemChanged(QTableWidgetItem* item);
    void OnItemChanged();
    void OnPauseBtnClicked();
    void OnRestartBtnClicked();
    void Titlechanged(QString strCrdID);
    void OnCobLookAheadModeChanged(int index);
    void OnbtnOpenFileData();
    void OnbtnIlcOpenFileData();
    void OnCrdPrmBoxChanged(int Index);
    void OnILCEnableClicked(bool isCliked);
    void OnGetLookAheadPrmBtnClicked();

private:
    void LoadCatalogue(int language);
    void MakeConnections();
    void RetranslateTexts();

    QGroupBox* CreateCrdParameterGroup();
    QGroupBox* CreateMotionStatusGroup();
    QGroupBox* CreateOperateGroup();
    QGroupBox* CreateMotionParameterGroup();
    QGroupBox* CreateBufferDataGroup();
    QTreeWidget* CreateLookAheadTree();
    static CrdResourceRecord PickDefaultCore();

    short CreateNewColumn(int row, QString type, QTableWidget* table, BufRowValues* values);
    void SeedRowValues(int row, QString type, QTableWidget* table, BufRowValues* values);
    QValidator* EditorValidator(CellKind kind);
    int SendBufferTable();
    std::vector<TableRow> CommandTableRows() const;
    JobContent NextJob();
    void EndStreamingWorker();
    // A program file read once; the view's document is built too when the program is long.
    struct ReadProgram
    {
        std::optional<ProgramText> program;
        std::unique_ptr<QTextDocument> document;
        FileProblem problem = FileProblem::None;
    };
    ReadProgram ReadProgramFile(const QString& path);
    void ReportProgramNotLoaded(const QString& path, FileProblem problem);
    int ShowProgramText(ReadProgram read);
    int LoadProgramIntoTable(const std::optional<ProgramText>& program);

    // Gives up the module's slot for this window, once: at closing, or at destruction when the
    // host deletes the window unclosed.
    void ReleaseModuleSlot();
    bool moduleSlotReleased = false;

    struct CrdSetting;
    std::vector<CrdSetting> CrdSettings();
    void LoadCrdSettings();
    void SaveCrdSettings();
    void ReportSettingsNotSaved(FileProblem problem);

    short BuildCrdPrm();
    void ReadCrdFormParams();
    bool LookAheadOpen() const;
    // Keeps the number chosen in `combo` in `chosen`, 0 while nothing is chosen.
    void FollowChoice(QComboBox* combo, int& chosen);
    void EnableIdleOnlyControls(bool enabled);

    QTranslator translator;
    int preferredWidth = 0;
    int preferredHeight = 0;
    short instanceIndex = 0;
    bool controllerPresent = false;
    // Why Crd.ini could not be read when the window opened; such a file is never saved over.
    FileProblem settingsProblem = FileProblem::None;
    QTimer* statusTimer = nullptr;
    // The dimension and the axes' profiles chosen. The combos list the numbers from 1 in order,
    // so the index tells the number. They are kept as the choices change rather than asked of
    // the combos: the status timer needs them 100 times a second, and an idle poll should touch
    // as little memory as it can (after 10 ms of other work every page it touches is cold).
    int chosenDimension = 0;
    int chosenProfiles[axisCount] = {};
    RunWatch runWatch;
    // What the status fields show now; nothing before the first tick.
    struct ShownStatus
    {
        std::optional<double> positions[axisCount];
        std::optional<int> run;
        std::optional<int32_t> space;
        std::optional<std::array<int32_t, 3>> counters;
    };
    ShownStatus shownStatus;
    short ilcIterationCount = 0;
    QPointer<MyThread> streamingWorker;
    BufferedJob bufferedJob;
    // The long program last loaded, while the view still shows it unchanged.
    std::shared_ptr<const ProgramText> loadedProgram;

    // "Crd parameter"
    QGroupBox* crdParameterGroup = nullptr;
    QLabel* coreIndexLabel = nullptr;
    QComboBox* coreIndexCombo = nullptr;
    QLabel* crdIndexLabel = nullptr;
    QComboBox* crdIndexCombo = nullptr;
    QLabel* fifoIndexLabel = nullptr;
    QComboBox* fifoIndexCombo = nullptr;

    // "Motion Status"
    QGroupBox* motionStatusGroup = nullptr;
    QLabel* prfPosLabels[axisCount] = {};
    QLabel* prfPosValues[axisCount] = {};
    QLabel* runLabel = nullptr;
    QLabel* runValue = nullptr;
    QLabel* spaceLabel = nullptr;
    QLabel* spaceValue = nullptr;
    QLabel* segmentLabel = nullptr;
    QLabel* segmentValue = nullptr;

    // "CrdOperate"
    QGroupBox* operateGroup = nullptr;
    MyPushButton* initCrdButton = nullptr;
    MyPushButton* startCrdButton = nullptr;
    MyPushButton* pauseButton = nullptr;
    MyPushButton* restartButton = nullptr;
    MyPushButton* getLookAheadPrmButton = nullptr;

    // "Motion parameter"
    QGroupBox* motionParameterGroup = nullptr;
    QLabel* lookAheadModeLabel = nullptr;
    QComboBox* lookAheadModeCombo = nullptr;
    QLabel* dimensionLabel = nullptr;
    QComboBox* dimensionCombo = nullptr;
    QLabel* axisLabels[axisCount] = {};
    QComboBox* profileCombos[axisCount] = {};
    QLabel* scaleLabels[axisCount] = {};
    QLineEdit* scaleEdits[axisCount] = {};
    QLabel* synVelMaxLabel = nullptr;
    QLineEdit* synVelMaxEdit = nullptr;
    QLabel* synAccMaxLabel = nullptr;
    QLineEdit* synAccMaxEdit = nullptr;
    QLabel* evenTimeLabel = nullptr;
    QLineEdit* evenTimeEdit = nullptr;
    QCheckBox* originFlagCheck = nullptr;
    QLabel* originLabels[axisCount] = {};
    QLineEdit* originEdits[axisCount] = {};

    // The parameter tree of the "Motion parameter" group: the editors of the per-axis limits
    // in the order of TreeAxisValues(), and of every other value in the order of TreeValues().
    struct TreeEditors
    {
        QTreeWidget* tree = nullptr;
        QLineEdit* axisLimits[3][axisCount] = {};
        QWidget* values[treeValueCount] = {};
        QLineEdit* edit(TreeValueId id) const;
        QComboBox* choice(TreeValueId id) const;
        QCheckBox* check(TreeValueId id) const;
    } treeEditors;

    CrdFormParams params;
    CrdPrm crdPrm{};

    // "Buffer Data"
    QGroupBox* bufferDataGroup = nullptr;
    QLabel* bufDataTypeLabel = nullptr;
    QComboBox* bufDataTypeCombo = nullptr;
    MyPushButton* addDataButton = nullptr;
    MyPushButton* deleteDataButton = nullptr;
    MyPushButton* clearAllButton = nullptr;
    MyPushButton* openFileButton = nullptr;
    QLineEdit* programPathEdit = nullptr;
    MyPushButton* loadCrdFileButton = nullptr;
    MyPushButton* openIlcFileButton = nullptr;
    QLineEdit* ilcPathEdit = nullptr;
    QTableWidget* commandTable = nullptr;
    QTextEdit* programTextView = nullptr;
};

#endif
