#include "form/TreeValues.h"

#include "form/WidgetNames.h"

#include <QString>
#include <QtGlobal>

namespace {

#define TREE_LABEL(text) QT_TRANSLATE_NOOP("CrdForm", text)

using Group = TreeGroup;
using P = CrdFormParams;

// Editors of decimals take 4 places; a bottom just below 0 lets 0 itself be typed.
constexpr int places = 4;
constexpr double justBelowZero = -0.0001;

// As the read-back shows every decimal it gets.
QString shortest(double value)
{
    return QString::number(value, 'g', -1);
}

} // namespace

const std::array<TreeValue, treeValueCount>& TreeValues()
{
    using namespace WidgetNames;
    using E = TreeEditor;
    // clang-format off
    static const std::array<TreeValue, treeValueCount> values{{
        {Group::LookAhead, TREE_LABEL("T"), tEdit, E::Number, "0.01", justBelowZero, 5000, places,
         &P::T, {}, "dLookAheadPrmT", 0.01,
         [](const TreeReadBack& r) { return shortest(r.lookAhead.T); }},
        {Group::LookAhead, TREE_LABEL("N"), nEdit, E::Number, "200", justBelowZero, 5000, places,
         &P::N, {}, "dLookAheadPrmN", 200,
         [](const TreeReadBack& r) { return QString::number(r.lookAhead.N); }},
        {Group::LookAhead, TREE_LABEL("RadiusRatio"), radiusRatioEdit, E::Number, "1",
         justBelowZero, 5000, places, &P::RadiusRatio, {}, "dLookAheadPrmRadiusRatio", 1,
         [](const TreeReadBack& r) { return shortest(r.lookAhead.RadiusRatio); }},
        {Group::LookAhead, TREE_LABEL("Jerk"), jerkEdit, E::Number, "1", justBelowZero, 5000,
         places, &P::Jerk, {}, "dCrdJerk", 0.5,
         [](const TreeReadBack& r) { return shortest(r.jerk); }},
        {Group::LookAhead, TREE_LABEL("AccTime"), accTimeEdit, E::Number, "100", -1, 300, 0,
         &P::AccTime, {}, "dCrdAccTime", 100},
        {Group::LookAhead, TREE_LABEL("DccAngle"), dccAngleEdit, E::Number, "180", justBelowZero,
         180.1, places, &P::DccAngle, {}, "dLookAheadPrmDccAngle", 180},
        {Group::PowerFollow, TREE_LABEL("FollowRatio"), followRatioEdit, E::Number, "0.2",
         justBelowZero, 5000, places, &P::FollowRatio},
        {Group::PowerFollow, TREE_LABEL("FollowSource"), followSourceCombo, E::Choice, nullptr,
         0, 0, 0, &P::FollowSource, {{TREE_LABEL("Profile"), 0}, {TREE_LABEL("Encoder"), 1}}},
        {Group::PowerFollow, TREE_LABEL("PowerMax"), powerMaxEdit, E::Number, "96",
         justBelowZero, 100.1, places, &P::PowerMax},
        {Group::PowerFollow, TREE_LABEL("PowerMin"), powerMinEdit, E::Number, "0",
         justBelowZero, 100.1, places, &P::PowerMin},
        {Group::Dma, TREE_LABEL("DMA"), dmaCombo, E::Choice, nullptr, 0, 0, 0, &P::DMA,
         {{TREE_LABEL("Off"), 0}, {TREE_LABEL("On"), 1}}},
        {Group::Dma, TREE_LABEL("Link"), linkEdit, E::Number, "1", -1, 100, 0, &P::Link},
        {Group::Dma, TREE_LABEL("Threhold"), threholdEdit, E::Number, "200", -1, 4000, 0,
         &P::Threhold},
        {Group::Dma, TREE_LABEL("lookAheadInMc"), lookAheadInMcEdit, E::Number, "0", -1, 100, 0,
         &P::lookAheadInMc},
        {Group::Ilc, TREE_LABEL("ILCEnable"), ilcEnableCheck, E::Check, nullptr, 0, 0, 0, {}},
        {Group::Ilc, TREE_LABEL("ILCMode"), ilcModeCombo, E::Choice, nullptr, 0, 0, 0, {},
         {{TREE_LABEL("Learning"), 1}, {TREE_LABEL("Working"), 0}}},
        {Group::Ilc, TREE_LABEL("ILCCount"), ilcCountEdit, E::Number, "0", -1, 1000, 0, {}},
        {Group::Contour, TREE_LABEL("Enable"), contourEnableCheck, E::Check, nullptr, 0, 0, 0,
         &P::contourEnable},
        {Group::Contour, TREE_LABEL("Kp"), kpEdit, E::Number, "80", -1, 300, 0, &P::Kp},
    }};
    // clang-format on
    return values;
}

void StoreText(const TreeValue& value, const QString& text, CrdFormParams& params)
{
    if (const auto* member = std::get_if<double CrdFormParams::*>(&value.member))
        params.*(*member) = text.toDouble();
    else if (const auto* member = std::get_if<short CrdFormParams::*>(&value.member))
        params.*(*member) = text.toShort();
}

void StoreCode(const TreeValue& value, short code, CrdFormParams& params)
{
    if (const auto* member = std::get_if<short CrdFormParams::*>(&value.member))
        params.*(*member) = code;
}

double MemberValue(const TreeValue& value, const CrdFormParams& params)
{
    if (const auto* member = std::get_if<double CrdFormParams::*>(&value.member))
        return params.*(*member);
    if (const auto* member = std::get_if<short CrdFormParams::*>(&value.member))
        return params.*(*member);
    return 0;
}

const std::array<TreeAxisValue, 3>& TreeAxisValues()
{
    static const std::array<TreeAxisValue, 3> values{{
        {TREE_LABEL("VMax"), WidgetNames::vMaxEdit, "1000", &P::VMax},
        {TREE_LABEL("AMax"), WidgetNames::aMaxEdit, "10000", &P::AMax},
        {TREE_LABEL("DVMax"), WidgetNames::dvMaxEdit, "5", &P::DVMax},
    }};
    return values;
}
