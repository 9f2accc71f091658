// The command table's header follows the type of the row being worked on.
#include "form/CrdForm.h"

#include "buffer/CommandCatalogue.h"
#include "module/ModuleState.h"

#include <QTableWidget>

namespace {
// Lines and buffered I/O blank their header up to this many labels; arcs leave the columns
// after theirs as they were.
constexpr int paddedLabelCount = 9;
} // namespace

void CrdForm::Titlechanged(QString strCrdID)
{
    const CommandType* type = FindCommandType(strCrdID);
    if (!type)
        return;
    const bool mm = HostUsesMmUnits() || LookAheadOpen();
    const QString unitTips[]
        = {QString(), mm ? tr("mm") : tr("pulse"), mm ? tr("mm/s") : tr("pulse/ms"),
           mm ? tr("mm/s^2") : tr("pulse/ms^2"), tr("ms")};

    QStringList labels{type->family == CommandFamily::Auxiliary ? tr("BufID") : tr("CrdID")};
    for (const CommandColumn& column : type->columns)
        labels << tr(column.label);
    if (type->family != CommandFamily::Arc) {
        while (labels.size() < paddedLabelCount)
            labels << QString();
    }
    commandTable->setHorizontalHeaderLabels(labels);
    for (std::size_t i = 0; i < type->columns.size(); ++i) {
        const ColumnUnit unit = type->columns[i].unit;
        if (unit != ColumnUnit::None)
            commandTable->horizontalHeaderItem(int(i) + 1)->setToolTip(unitTips[int(unit)]);
    }
}
