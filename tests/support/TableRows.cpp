#include "TableRows.h"

#include "TestHost.h"

#include "form/WidgetNames.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

void AddTableRow(TestHost& host, QWidget* form, const QString& type, const QStringList& cells)
{
    auto* choice = host.find<QComboBox>(WidgetNames::bufDataTypeCombo);
    choice->clear();
    choice->addItem(type);
    auto* table = host.find<QTableWidget>(WidgetNames::commandTable);
    table->setCurrentCell(-1, -1);
    QMetaObject::invokeMethod(form, "OnAddDataBtnClicked");
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
