// The look-ahead, power-follow, DMA, learning and contour-control parameter tree.
#include "form/CrdForm.h"

#include "controller/ReturnCodes.h"
#include "form/MyDoubleValidator.h"
#include "form/MyPushButton.h"
#include "form/NamedWidgets.h"
#include "form/StyleSheets.h"
#include "form/TreeValues.h"
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
    TreeEditors& e = treeEditors;
    auto* tree = new QTreeWidget;
    tree->setObjectName(QLatin1String(WidgetNames::lookAheadTree));
    tree->setColumnCount(2);
    tree->header()->hide();
    tree->setColumnWidth(0, nameColumnWidth);
    tree->setFrameShape(QFrame::NoFrame);
    QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"));
    style->setParent(tree);
    tree->setStyle(style);
    e.tree = tree;

    TreeBuilder builder(tree);
    const QList<QTreeWidgetItem*> groups{builder.topLevel(tr("LookAheadPrm")),
                                         builder.topLevel(tr("Power Follow")),
                                         builder.topLevel(tr("DMA")), builder.topLevel(tr("ILC")),
                                         builder.topLevel(tr("ContourControl"))};
    QTreeWidgetItem* lookAhead = groups[int(TreeGroup::LookAhead)];
    for (int axis = 0; axis < axisCount; ++axis) {
        auto* axisItem = new QTreeWidgetItem(lookAhead, QStringList{tr("Axis%1").arg(axis + 1)});
        for (std::size_t limit = 0; limit < TreeAxisValues().size(); ++limit) {
            const TreeAxisValue& value = TreeAxisValues()[limit];
            QLineEdit* edit = NamedEdit(WidgetNames::perAxis(value.widgetStem, axis),
                                        QLatin1String(value.initialText),
                                        new MyDoubleValidator(0.0001, 20000000, 4, this));
            edit->setMinimumWidth(axisEditorMinimumWidth);
            e.axisLimits[limit][axis] = edit;
            builder.direct(axisItem, tr(value.label), edit);
        }
    }

    QList<QWidget*> contourWidgets;
    for (int id = 0; id < treeValueCount; ++id) {
        const TreeValue& value = TreeValues()[std::size_t(id)];
        QWidget* editor = nullptr;
        switch (value.editor) {
        case TreeEditor::Number:
            editor = NamedEdit(QLatin1String(value.widgetName), QLatin1String(value.initialText),
                               value.decimals > 0
                                   ? static_cast<QValidator*>(new MyDoubleValidator(
                                       value.bottom, value.top, value.decimals, this))
                                   : new QIntValidator(int(value.bottom), int(value.top), this));
            break;
        case TreeEditor::Choice: {
            auto* combo = new QComboBox;
            for (const TreeChoiceEntry& entry : value.choices)
                combo->addItem(tr(entry.text), entry.code);
            // The choices Init sends carry the form's style sheet; the learning mode, which
            // Start reads, has none.
            if (!std::holds_alternative<std::monostate>(value.member))
                combo->setStyleSheet(StyleSheets::form());
            editor = combo;
            break;
        }
        case TreeEditor::Check:
            editor = new QCheckBox;
            break;
        }
        editor->setObjectName(QLatin1String(value.widgetName));
        e.values[id] = editor;
        QWidget* box = builder.contained(groups[int(value.group)], tr(value.label), editor);
        if (value.group == TreeGroup::Contour)
            contourWidgets << editor << box;
    }
    connect(e.check(TreeValueId::IlcEnable), &QCheckBox::clicked, this,
            &CrdForm::OnILCEnableClicked);

    // A controller without contour-error control does not know the command at all.
    const ModuleState& state = moduleState();
    short enable = 0;
    double kp = 0;
    if (MQN_GetCrdContourErrorControl(state.currentCore, state.currentCrd, &enable, &kp)
        == ReturnCode::UnknownCommand) {
        for (QWidget* widget : std::as_const(contourWidgets))
            widget->hide();
    }
    builder.finish();
    lookAhead->setExpanded(true);
    return tree;
}

QLineEdit* CrdForm::TreeEditors::edit(TreeValueId id) const
{
    return qobject_cast<QLineEdit*>(values[int(id)]);
}

QComboBox* CrdForm::TreeEditors::choice(TreeValueId id) const
{
    return qobject_cast<QComboBox*>(values[int(id)]);
}

QCheckBox* CrdForm::TreeEditors::check(TreeValueId id) const
{
    return qobject_cast<QCheckBox*>(values[int(id)]);
}

void CrdForm::OnILCEnableClicked(bool /*isCliked*/)
{
    const bool learning = treeEditors.check(TreeValueId::IlcEnable)->isChecked();
    openIlcFileButton->setVisible(learning);
    ilcPathEdit->setVisible(learning);
}
