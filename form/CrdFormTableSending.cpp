// Sending the command table into the controller's buffer, row by row.
#include "form/CrdForm.h"

#include "buffer/RowSending.h"
#include "controller/CommandResult.h"
#include "form/ErrorBoxes.h"
#include "form/TableRowTexts.h"
#include "module/ModuleState.h"

#include <QComboBox>
#include <QTableWidget>

std::vector<TableRow> CrdForm::CommandTableRows() const
{
    std::vector<TableRow> rows;
    for (int row = 0; row < commandTable->rowCount(); ++row) {
        const QTableWidgetItem* item = commandTable->item(row, 0);
        const QString name = item ? item->text() : QString();
        const CommandType* type = FindCommandType(name);
        rows.push_back({name, type ? TakeRowTexts(*commandTable, row, *type) : RowTexts()});
    }
    return rows;
}

int CrdForm::SendBufferTable()
{
    const ModuleState& state = moduleState();
    const ControllerAddress to{state.currentCore, state.currentCrd, state.currentFifo};
    const LaserFollow laser{params.FollowSource, params.FollowRatio, params.PowerMin,
                            params.PowerMax};
    SendRows(CommandTableRows(), LookAheadOpen(), to,
             AxisFactors(state.axisTable, to.core, chosenProfiles), laser,
             [](const QByteArray& label, short code, bool shown) {
                 if (shown)
                     ShowCommandError(label.constData(), code);
             });
    return 0;
}
