// Sending the command table into the controller's buffer, row by row.
#include "form/CrdForm.h"

#include "buffer/CommandCalls.h"
#include "controller/CommandResult.h"
#include "controller/ReturnCodes.h"
#include "module/ModuleState.h"

#include <QComboBox>
#include <QTableWidget>

namespace {


// The name a row is reported under: its type without "Ex".
QByteArray labelOf(QString type)
{
    if (type.endsWith(QLatin1String("Ex")))
        type.chop(2);
    return type.toLatin1();
}

} // namespace

int CrdForm::SendBufferTable()
{
    const bool open = LookAheadOpen();
    const ModuleState& state = moduleState();
    const ControllerAddress to{state.currentCore, state.currentCrd, state.currentFifo};
    AxisFactorSet factors;
    for (int axis = 0; axis < axisCount; ++axis) {
        const int profile = profileCombos[axis]->currentText().toShort();
        factors.covered[axis] = to.core >= 1 && to.core <= highestHostCore && profile >= 1
                                && profile <= highestHostProfile;
        if (factors.covered[axis])
            factors.axis[axis] = FactorsOf(state.axisTable, to.core, profile);
        factors.covered[axis] = factors.covered[axis] && UsableFactors(factors.axis[axis]);
    }
    const LaserFollow laser{params.FollowSource, params.FollowRatio, params.PowerMin,
                            params.PowerMax};

    // The working values carry over from row to row, as the columns of a type are read into
    // them; velEnd alone is cleared, so that a type without it sends 0.
    BufRowValues values;
    for (int row = 0; row < commandTable->rowCount(); ++row) {
        const QTableWidgetItem* item = commandTable->item(row, 0);
        const QString name = item ? item->text() : QString();
        const CommandType* type = FindCommandType(name);
        // The walk ends at a name it has no controller command for.
        if (!type || name == QLatin1String("BufLmtsOffEx")
            || name == QLatin1String("BufSetStopIoEx"))
            break;
        values.velEnd = 0;
        if (!ReadRow(*commandTable, row, *type, RowReading::Sending, values)) {
            ShowCommandError(labelOf(name).constData(), ReturnCode::BadArgument);
            continue;
        }
        if (type->family == CommandFamily::Auxiliary)
            SendAuxiliaryRow(name, values, open, to, laser);
        else
            ShowCommandError(labelOf(name).constData(),
                             SendMotionRow(name, values, open, to, factors));
    }
    return 0;
}
