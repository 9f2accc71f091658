#include "form/TableRowTexts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

RowTexts TakeRowTexts(const QTableWidget& table, int row, const CommandType& type)
{
    RowTexts texts(type.columns.size());
    for (std::size_t i = 0; i < type.columns.size(); ++i) {
        RowCell& cell = texts[i];
        const int column = int(i) + 1;
        switch (type.columns[i].cell) {
        case CellKind::AxisChoice:
        case CellKind::DoTypeChoice:
            // A choice always sits in column 1.
            if (const auto* choice = qobject_cast<const QComboBox*>(table.cellWidget(row, 1)))
                cell = {true, choice->currentText(), choice->currentIndex()};
            break;
        case CellKind::HexItem:
        case CellKind::TypedItem:
            if (const QTableWidgetItem* item = table.item(row, column))
                cell = {true, item->text().trimmed()};
            break;
        default:
            if (const auto* editor = qobject_cast<const QLineEdit*>(table.cellWidget(row, column)))
                cell = {true, editor->text()};
            break;
        }
    }
    return texts;
}

bool ReadRow(const QTableWidget& table, int row, const CommandType& type, RowReading reading,
             BufRowValues& values)
{
    return ParseRow(TakeRowTexts(table, row, type), type, reading, values);
}
