#ifndef KURVO_TREEVALUES_H
#define KURVO_TREEVALUES_H

#include "controller/rvAPI.h"
#include "crd/CrdRecords.h"

#include <array>
#include <variant>

// The values of the parameter tree below its per-axis limits, in the tree's order, which is the
// order of TreeValues().
enum class TreeValueId {
    T,
    N,
    RadiusRatio,
    Jerk,
    AccTime,
    DccAngle,
    FollowRatio,
    FollowSource,
    PowerMax,
    PowerMin,
    Dma,
    Link,
    Threhold,
    LookAheadInMc,
    IlcEnable,
    IlcMode,
    IlcCount,
    ContourEnable,
    Kp,
};
constexpr int treeValueCount = int(TreeValueId::Kp) + 1;

enum class TreeGroup { LookAhead, PowerFollow, Dma, Ilc, Contour };
enum class TreeEditor { Number, Choice, Check };

// What the controller hands back at "GetLookAheadPrm", for the values it covers.
struct TreeReadBack
{
    LookAheadPrmEx lookAhead{};
    double jerk = 0;
};

// A choice's entry: its text (translated in the window's context) and the code sent for it.
struct TreeChoiceEntry
{
    const char* text = nullptr;
    short code = 0;
};

// One value of the tree: where it shows and under which label (translated in the window's
// context), its widget's name, what it starts as and accepts, the member of the form's
// parameters it feeds at Init (none for the learning values, which Start reads), and where
// kept, its settings key with what a missing key reads as, and where read back, the text it
// shows of what the controller handed back.
struct TreeValue
{
    TreeGroup group;
    const char* label;
    const char* widgetName;
    TreeEditor editor;
    const char* initialText = nullptr;
    double bottom = 0, top = 0;
    int decimals = 0; // whole numbers at 0
    std::variant<std::monostate, double CrdFormParams::*, short CrdFormParams::*> member;
    TreeChoiceEntry choices[2] = {};
    const char* settingsKey = nullptr;
    double settingsFallback = 0;
    QString (*readBack)(const TreeReadBack&) = nullptr;
};

const std::array<TreeValue, treeValueCount>& TreeValues();

// Sets the value's member from an editor's text: decimal members as numbers, 16-bit members
// as whole numbers (anything else reads as 0). A value without a member sets nothing.
void StoreText(const TreeValue& value, const QString& text, CrdFormParams& params);
// Sets the 16-bit member of a choice or check from its code.
void StoreCode(const TreeValue& value, short code, CrdFormParams& params);
// What the value's member holds; 0 for a value without a member.
double MemberValue(const TreeValue& value, const CrdFormParams& params);

// The per-axis limits of the look-ahead, each an editor per axis.
struct TreeAxisValue
{
    const char* label;
    const char* widgetStem;
    const char* initialText;
    double (CrdFormParams::*member)[8];
};
const std::array<TreeAxisValue, 3>& TreeAxisValues();

#endif
