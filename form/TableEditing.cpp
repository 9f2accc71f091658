// Editing the command table: which types are offered, and the header following the row.
#include "form/CrdForm.h"

#include "buffer/CommandCatalogue.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

void CrdForm::OnCrdDimensionChanged(int index)
{
    bufDataTypeCombo->clear();
    for (int axis = 0; axis < axisCount; ++axis) {
        const bool used = axis <= index;
        axisLabels[axis]->setEnabled(used);
        profileCombos[axis]->setEnabled(used);
    }
    const bool closed = lookAheadModeCombo->currentText().contains(tr("Close"));
    bufDataTypeCombo->addItems(OfferedCommandTypes(index + 1, !closed));
}

void CrdForm::OnBufDataTypeChanged(int /*index*/)
{
    Titlechanged(bufDataTypeCombo->currentText());
}

void CrdForm::OnItemChanged(QTableWidgetItem* /*item*/)
{
    const int row = commandTable->currentRow();
    if (row < 0)
        return;
    const QTableWidgetItem* type = commandTable->item(row, 0);
    Titlechanged(type ? type->text() : QString());
}

void CrdForm::OnItemChanged()
{
    // Row editors are cell widgets, so their position is in the table's viewport.
    auto* editor = qobject_cast<QLineEdit*>(sender());
    if (!editor)
        return;
    const int row = commandTable->indexAt(editor->pos()).row();
    if (row < 0)
        return;
    const QTableWidgetItem* type = commandTable->item(row, 0);
    Titlechanged(type ? type->text() : QString());
}
