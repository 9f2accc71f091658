#ifndef KURVO_WIDGETNAMES_H
#define KURVO_WIDGETNAMES_H

#include "module/KurvoHost.h"

// Object names of the operator window's widgets, for tests to find them; those a host may read
// are published with the module.
namespace WidgetNames {

using OperatorWindow::axisCount;
using OperatorWindow::coreIndexCombo;
using OperatorWindow::crdIndexCombo;
using OperatorWindow::fifoIndexCombo;
using OperatorWindow::form;
using OperatorWindow::loadCrdFileButton;
using OperatorWindow::lookAheadModeCombo;
using OperatorWindow::perAxis;
using OperatorWindow::profileCombo;
using OperatorWindow::programPathEdit;
using OperatorWindow::programTextView;
using OperatorWindow::subWindow;

inline constexpr char crdParameterGroup[] = "crdParameterGroup";
inline constexpr char coreIndexLabel[] = "coreIndexLabel";
inline constexpr char crdIndexLabel[] = "crdIndexLabel";
inline constexpr char fifoIndexLabel[] = "fifoIndexLabel";

inline constexpr char motionStatusGroup[] = "motionStatusGroup";
inline constexpr char prfPosLabel[] = "prfPosLabel"; // + axis letter: prfPosLabelX
inline constexpr char prfPosValue[] = "prfPosValue";
inline constexpr char runLabel[] = "runLabel";
inline constexpr char runValue[] = "runValue";
inline constexpr char spaceLabel[] = "spaceLabel";
inline constexpr char spaceValue[] = "spaceValue";
inline constexpr char segmentLabel[] = "segmentLabel";
inline constexpr char segmentValue[] = "segmentValue";

inline constexpr char operateGroup[] = "operateGroup";
inline constexpr char initCrdButton[] = "initCrdButton";
inline constexpr char startCrdButton[] = "startCrdButton";
inline constexpr char pauseButton[] = "pauseButton";
inline constexpr char restartButton[] = "restartButton";
inline constexpr char getLookAheadPrmButton[] = "getLookAheadPrmButton";

inline constexpr char motionParameterGroup[] = "motionParameterGroup";
inline constexpr char lookAheadModeLabel[] = "lookAheadModeLabel";
inline constexpr char dimensionLabel[] = "dimensionLabel";
inline constexpr char dimensionCombo[] = "dimensionCombo";
inline constexpr char axisLabel[] = "axisLabel"; // + axis letter
inline constexpr char scaleLabel[] = "scaleLabel";
inline constexpr char scaleEdit[] = "scaleEdit";
inline constexpr char synVelMaxLabel[] = "synVelMaxLabel";
inline constexpr char synVelMaxEdit[] = "synVelMaxEdit";
inline constexpr char synAccMaxLabel[] = "synAccMaxLabel";
inline constexpr char synAccMaxEdit[] = "synAccMaxEdit";
inline constexpr char evenTimeLabel[] = "evenTimeLabel";
inline constexpr char evenTimeEdit[] = "evenTimeEdit";
inline constexpr char originFlagCheck[] = "originFlagCheck";
inline constexpr char originLabel[] = "originLabel";
inline constexpr char originEdit[] = "originEdit";

inline constexpr char lookAheadTree[] = "lookAheadTree";
inline constexpr char vMaxEdit[] = "vMaxEdit"; // + axis letter
inline constexpr char aMaxEdit[] = "aMaxEdit";
inline constexpr char dvMaxEdit[] = "dvMaxEdit";
inline constexpr char tEdit[] = "tEdit";
inline constexpr char nEdit[] = "nEdit";
inline constexpr char radiusRatioEdit[] = "radiusRatioEdit";
inline constexpr char jerkEdit[] = "jerkEdit";
inline constexpr char accTimeEdit[] = "accTimeEdit";
inline constexpr char dccAngleEdit[] = "dccAngleEdit";
inline constexpr char followRatioEdit[] = "followRatioEdit";
inline constexpr char followSourceCombo[] = "followSourceCombo";
inline constexpr char powerMaxEdit[] = "powerMaxEdit";
inline constexpr char powerMinEdit[] = "powerMinEdit";
inline constexpr char dmaCombo[] = "dmaCombo";
inline constexpr char linkEdit[] = "linkEdit";
inline constexpr char threholdEdit[] = "threholdEdit";
inline constexpr char lookAheadInMcEdit[] = "lookAheadInMcEdit";
inline constexpr char ilcEnableCheck[] = "ilcEnableCheck";
inline constexpr char ilcModeCombo[] = "ilcModeCombo";
inline constexpr char ilcCountEdit[] = "ilcCountEdit";
inline constexpr char contourEnableCheck[] = "contourEnableCheck";
inline constexpr char kpEdit[] = "kpEdit";

inline constexpr char bufferDataGroup[] = "bufferDataGroup";
inline constexpr char bufDataTypeLabel[] = "bufDataTypeLabel";
inline constexpr char bufDataTypeCombo[] = "bufDataTypeCombo";
inline constexpr char addDataButton[] = "addDataButton";
inline constexpr char deleteDataButton[] = "deleteDataButton";
inline constexpr char clearAllButton[] = "clearAllButton";
inline constexpr char openFileButton[] = "openFileButton";
inline constexpr char openIlcFileButton[] = "openIlcFileButton";
inline constexpr char ilcPathEdit[] = "ilcPathEdit";
inline constexpr char commandTable[] = "crdFormTableWidget";

} // namespace WidgetNames

#endif
