// The editors of a command-table row and the values a new row proposes.
#include "form/CrdForm.h"

#include "controller/ReturnCodes.h"
#include "form/MyDoubleValidator.h"
#include "form/MyLineEdit.h"
#include "form/TableRowTexts.h"

#include <QIntValidator>
#include <QTableWidget>

namespace {} // namespace

QValidator* CrdForm::EditorValidator(CellKind kind)
{
    const std::optional<CellRange> range = EditorRange(kind);
    if (!range)
        return nullptr;
    if (range->decimals > 0)
        return new MyDoubleValidator(range->bottom, range->top, range->decimals, this);
    return new QIntValidator(int(range->bottom), int(range->top), this);
}

short CrdForm::CreateNewColumn(int row, QString type, QTableWidget* table, BufRowValues* values)
{
    const CommandType* command = FindCommandType(type);
    if (!command || command->editors == RowEditors::Unknown)
        return ReturnCode::BadArgument;
    if (command->editors == RowEditors::None)
        return ReturnCode::Success;
    for (std::size_t i = 0; i < command->columns.size(); ++i) {
        const CommandColumn& column = command->columns[i];
        const int at = int(i) + 1;
        if (column.cell == CellKind::HexItem) {
            const short value = column.field == RowField::DoMask ? values->doMask : values->doValue;
            table->setItem(row, at, new QTableWidgetItem(QString::number(quint16(value), 16)));
            continue;
        }
        QValidator* validator = EditorValidator(column.cell);
        if (!validator)
            continue; // the choice of column 1 comes with the row
        auto* editor = new MyLineEdit(InitialText(*values, column.field), nullptr);
        editor->setValidator(validator);
        table->setCellWidget(row, at, editor);
        connect(editor, &MyLineEdit::changeTitle, this, qOverload<>(&CrdForm::OnItemChanged));
    }
    return ReturnCode::Success;
}

void CrdForm::SeedRowValues(int row, QString type, QTableWidget* table, BufRowValues* values)
{
    *values = BufRowValues();
    const CommandType* command = FindCommandType(type);
    if (!command)
        return;
    for (int earlier = row - 1; earlier >= 0; --earlier) {
        const QTableWidgetItem* name = table->item(earlier, 0);
        if (name && name->text() == type) {
            ReadRow(*table, earlier, *command, RowReading::Seeding, *values);
            return;
        }
    }
}
