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
        if (!type || type->walk == WalkRule::EndsWalk)
            break;
        values.velEnd = 0;
        if (!ReadRow(*commandTable, row, *type, RowReading::Sending, values)) {
            ShowCommandError(labelOf(name).constData(), ReturnCode::BadArgument);
            continue;
        }
        const RowCall call = open ? type->exCall : type->plainCall;
        const short code = call ? call(RowSend(values, to, factors, laser)) : 0;
        // Output rows do not report their code.
        if (type->family != CommandFamily::Auxiliary)
            ShowCommandError(labelOf(name).constData(), code);
    }
    return 0;
}
