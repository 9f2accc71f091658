// Editing the command table: which types are offered, and the header following the row.
#include "form/CrdForm.h"

#include "buffer/BufRowValues.h"
#include "buffer/CommandCatalogue.h"
#include "controller/CommandResult.h"
#include "controller/CrdAddress.h"
#include "form/ErrorBoxes.h"
#include "form/MyPushButton.h"
#include "module/ModuleState.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextEdit>

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

void CrdForm::OnAddDataBtnClicked()
{
    commandTable->show();
    programTextView->hide();
    programTextView->clear();
    int current = commandTable->currentRow();
    if (current < 0)
        current = commandTable->rowCount() - 1;
    const int row = current + 1;
    const QString type = bufDataTypeCombo->currentText();
    commandTable->insertRow(row);
    commandTable->setItem(row, 0, new QTableWidgetItem(type));

    const CommandType* command = FindCommandType(type);
    if (command && !command->columnOneChoices.isEmpty()) {
        auto* choice = new QComboBox;
        choice->addItems(command->columnOneChoices);
        commandTable->setCellWidget(row, 1, choice);
    }
    BufRowValues values;
    SeedRowValues(row, type, commandTable, &values);
    ShowCommandError("CreateNewColumn", CreateNewColumn(row, type, commandTable, &values));
}

void CrdForm::OnDeleteDataBtnClicked()
{
    const int row = commandTable->currentRow();
    if (row >= 0)
        commandTable->removeRow(row);
}

void CrdForm::OnDeleteAllDataBtnClicked()
{
    const int rows = commandTable->rowCount();
    for (int row = rows - 1; row >= 0; --row)
        commandTable->removeRow(row);
    if (rows > 0) {
        const ModuleState& state = moduleState();
        const short code = MQN_CrdClear(state.currentCore, CrdMask(state.currentCrd),
                                        FifoOption(state.currentCrd, state.currentFifo));
        ReportToHost("MQN_CrdClear", code);
        if (code == 0)
            bufferedJob.Cleared();
    }
    restartButton->hide();
    pauseButton->show();
}
