// The look-ahead, power-follow, DMA, learning and contour-control parameter tree.
#include "form/CrdForm.h"

#include "controller/ReturnCodes.h"
#include "form/MyDoubleValidator.h"
#include "form/MyPushButton.h"
#include "form/StyleSheets.h"
#include "form/WidgetNames.h"
#include "module/ModuleState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTreeWidget>

namespace {

constexpr int nameColumnWidth = 150;
constexpr int axisEditorMinimumWidth = 60;

QLineEdit* valueEdit(const QString& name, const char* text, QValidator* validator)
{
    auto* edit = new QLineEdit(QLatin1String(text));
    edit->setObjectName(name);
    edit->setValidator(validator);
    return edit;
}

QLineEdit* valueEdit(const char* name, const char* text, QValidator* validator)
{
    return valueEdit(QLatin1String(name), text, validator);
}

// A choice whose entries carry the numbers the controller wants.
QComboBox* codedChoice(const char* name, std::initializer_list<std::pair<QString, int>> entries)
{
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    for (const auto& [text, code] : entries)
        combo->addItem(text, code);
    return combo;
}

class TreeBuilder
{
public:
    explicit TreeBuilder(QTreeWidget* tree)
        : tree(tree)
    {}

    QTreeWidgetItem* topLevel(const QString& name)
    {
        auto* item = new QTreeWidgetItem(QStringList{name});
        QFont bold = item->font(0);
        bold.setBold(true);
        item->setFont(0, bold);
        tops.append(item);
        return item;
    }

    // The editor sits at the right of a small box of its own.
    QWidget* contained(QTreeWidgetItem* parent, const QString& name, QWidget* editor)
    {
        auto* box = new QWidget;
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(2, 1, 2, 1);
        layout->addStretch(1);
        layout->addWidget(editor);
        direct(parent, name, box);
        return box;
    }

    void direct(QTreeWidgetItem* parent, const QString& name, QWidget* editor)
    {
        pending.append({new QTreeWidgetItem(parent, QStringList{name}), editor});
    }

    // Item widgets can only be set once the items belong to the tree.
    void finish()
    {
        tree->addTopLevelItems(tops);
        for (const auto& [item, editor] : pending)
            tree->setItemWidget(item, 1, editor);
    }

private:
    QTreeWidget* tree;
    QList<QTreeWidgetItem*> tops;
    QList<QPair<QTreeWidgetItem*, QWidget*>> pending;
};

} // namespace

QTreeWidget* CrdForm::CreateLookAheadTree()
{
    using namespace WidgetNames;
    TreeEditors& e = treeEditors;
    auto* tree = new QTreeWidget;
    tree->setObjectName(QLatin1String(lookAheadTree));
    tree->setColumnCount(2);
    tree->header()->hide();
    tree->setColumnWidth(0, nameColumnWidth);
    tree->setFrameShape(QFrame::NoFrame);
    QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"));
    style->setParent(tree);
    tree->setStyle(style);
    e.tree = tree;

    TreeBuilder builder(tree);
    QTreeWidgetItem* lookAhead = builder.topLevel(tr("LookAheadPrm"));
    for (int axis = 0; axis < axisCount; ++axis) {
        auto* axisItem = new QTreeWidgetItem(lookAhead, QStringList{tr("Axis%1").arg(axis + 1)});
        auto axisEdit = [&](const char* stem, const char* text) {
            QLineEdit* edit = valueEdit(perAxis(stem, axis), text,
                                        new MyDoubleValidator(0.0001, 20000000, 4, this));
            edit->setMinimumWidth(axisEditorMinimumWidth);
            return edit;
        };
        e.vMax[axis] = axisEdit(vMaxEdit, "1000");
        e.aMax[axis] = axisEdit(aMaxEdit, "10000");
        e.dvMax[axis] = axisEdit(dvMaxEdit, "5");
        builder.direct(axisItem, tr("VMax"), e.vMax[axis]);
        builder.direct(axisItem, tr("AMax"), e.aMax[axis]);
        builder.direct(axisItem, tr("DVMax"), e.dvMax[axis]);
    }
    auto decimal = [this](double bottom, double top) {
        return new MyDoubleValidator(bottom, top, 4, this);
    };
    auto integer = [this](int bottom, int top) {
        return new QIntValidator(bottom, top, this);
    };
    e.t = valueEdit(tEdit, "0.01", decimal(-0.0001, 5000));
    e.n = valueEdit(nEdit, "200", decimal(-0.0001, 5000));
    e.radiusRatio = valueEdit(radiusRatioEdit, "1", decimal(-0.0001, 5000));
    e.jerk = valueEdit(jerkEdit, "1", decimal(-0.0001, 5000));
    e.accTime = valueEdit(accTimeEdit, "100", integer(-1, 300));
    e.dccAngle = valueEdit(dccAngleEdit, "180", decimal(-0.0001, 180.1));
    builder.contained(lookAhead, tr("T"), e.t);
    builder.contained(lookAhead, tr("N"), e.n);
    builder.contained(lookAhead, tr("RadiusRatio"), e.radiusRatio);
    builder.contained(lookAhead, tr("Jerk"), e.jerk);
    builder.contained(lookAhead, tr("AccTime"), e.accTime);
    builder.contained(lookAhead, tr("DccAngle"), e.dccAngle);

    QTreeWidgetItem* powerFollow = builder.topLevel(tr("Power Follow"));
    e.followRatio = valueEdit(followRatioEdit, "0.2", decimal(-0.0001, 5000));
    e.followSource = codedChoice(followSourceCombo, {{tr("Profile"), 0}, {tr("Encoder"), 1}});
    e.followSource->setStyleSheet(StyleSheets::form());
    e.powerMax = valueEdit(powerMaxEdit, "96", decimal(-0.0001, 100.1));
    e.powerMin = valueEdit(powerMinEdit, "0", decimal(-0.0001, 100.1));
    builder.contained(powerFollow, tr("FollowRatio"), e.followRatio);
    builder.contained(powerFollow, tr("FollowSource"), e.followSource);
    builder.contained(powerFollow, tr("PowerMax"), e.powerMax);
    builder.contained(powerFollow, tr("PowerMin"), e.powerMin);

    QTreeWidgetItem* dmaItem = builder.topLevel(tr("DMA"));
    e.dma = codedChoice(dmaCombo, {{tr("Off"), 0}, {tr("On"), 1}});
    e.dma->setStyleSheet(StyleSheets::form());
    e.link = valueEdit(linkEdit, "1", integer(-1, 100));
    e.threhold = valueEdit(threholdEdit, "200", integer(-1, 4000));
    e.lookAheadInMc = valueEdit(lookAheadInMcEdit, "0", integer(-1, 100));
    builder.contained(dmaItem, tr("DMA"), e.dma);
    builder.contained(dmaItem, tr("Link"), e.link);
    builder.contained(dmaItem, tr("Threhold"), e.threhold);
    builder.contained(dmaItem, tr("lookAheadInMc"), e.lookAheadInMc);

    QTreeWidgetItem* ilc = builder.topLevel(tr("ILC"));
    e.ilcEnable = new QCheckBox;
    e.ilcEnable->setObjectName(QLatin1String(ilcEnableCheck));
    e.ilcMode = codedChoice(ilcModeCombo, {{tr("Learning"), 1}, {tr("Working"), 0}});
    e.ilcCount = valueEdit(ilcCountEdit, "0", integer(-1, 1000));
    builder.contained(ilc, tr("ILCEnable"), e.ilcEnable);
    builder.contained(ilc, tr("ILCMode"), e.ilcMode);
    builder.contained(ilc, tr("ILCCount"), e.ilcCount);
    connect(e.ilcEnable, &QCheckBox::clicked, this, &CrdForm::OnILCEnableClicked);

    QTreeWidgetItem* contour = builder.topLevel(tr("ContourControl"));
    e.contourEnable = new QCheckBox;
    e.contourEnable->setObjectName(QLatin1String(contourEnableCheck));
    e.kp = valueEdit(kpEdit, "80", integer(-1, 300));
    e.contourEnableBox = builder.contained(contour, tr("Enable"), e.contourEnable);
    e.kpBox = builder.contained(contour, tr("Kp"), e.kp);

    // A controller without contour-error control does not know the command at all.
    const ModuleState& state = moduleState();
    short enable = 0;
    double kp = 0;
    if (MQN_GetCrdContourErrorControl(state.currentCore, state.currentCrd, &enable, &kp)
        == ReturnCode::UnknownCommand) {
        const QList<QWidget*> contourWidgets{e.contourEnable, e.kp, e.contourEnableBox, e.kpBox};
        for (QWidget* widget : contourWidgets)
            widget->hide();
    }
    builder.finish();
    lookAhead->setExpanded(true);
    return tree;
}

void CrdForm::OnILCEnableClicked(bool /*isCliked*/)
{
    const bool learning = treeEditors.ilcEnable->isChecked();
    openIlcFileButton->setVisible(learning);
    ilcPathEdit->setVisible(learning);
}
