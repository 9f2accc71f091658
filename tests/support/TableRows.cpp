#include "TableRows.h"

#include "TestHost.h"

#include "form/WidgetNames.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

bool AddRowOfType(TestHost& host, QWidget* form, const QString& type)
{
    auto* choice = host.find<QComboBox>(WidgetNames::bufDataTypeCombo);
    choice->clear();
    choice->addItem(type);
    return QMetaObject::invokeMethod(form, "OnAddDataBtnClicked");
}

void AddTableRow(TestHost& host, QWidget* form, const QString& type, const QStringList& cells)
{
    auto* table = host.find<QTableWidget>(WidgetNames::commandTable);
    table->setCurrentCell(-1, -1);
    AddRowOfType(host, form, type);
    const int row = table->rowCount() - 1;
    for (int i = 0; i < cells.size(); ++i) {
        const int column = i + 1;
        if (cells[i].isEmpty())
            continue;
        if (auto* editor = qobject_cast<QLineEdit*>(table->cellWidget(row, column)))
            editor->setText(cells[i]);
        else if (auto* cellChoice = qobject_cast<QComboBox*>(table->cellWidget(row, column)))
            cellChoice->setCurrentText(cells[i]);
        else
            table->setItem(row, column, new QTableWidgetItem(cells[i]));
    }
}

QStringList TableRowTypes(const TestHost& host)
{
    auto* table = host.find<QTableWidget>(WidgetNames::commandTable);
    QStringList types;
    for (int row = 0; row < table->rowCount(); ++row)
        types << table->item(row, 0)->text();
    return types;
}

QStringList TableRowCells(const TestHost& host, int row, int count)
{
    auto* table = host.find<QTableWidget>(WidgetNames::commandTable);
    QStringList texts;
    for (int column = 1; column <= count; ++column) {
        if (auto* editor = qobject_cast<QLineEdit*>(table->cellWidget(row, column)))
            texts << editor->text();
        else if (auto* choice = qobject_cast<QComboBox*>(table->cellWidget(row, column)))
            texts << QStringLiteral("choice:") + choice->currentText();
        else if (const QTableWidgetItem* item = table->item(row, column))
            texts << QStringLiteral("item:") + item->text();
        else
            texts << QStringLiteral("-");
    }
    return texts;
}
