#include "buffer/RowSending.h"

#include "controller/ReturnCodes.h"

namespace {

QByteArray labelOf(QString type)
{
    if (type.endsWith(QLatin1String("Ex")))
        type.chop(2);
    return type.toLatin1();
}

} // namespace

AxisFactorSet AxisFactors(const HostAxisTable* table, int core, const int (&profiles)[5])
{
    AxisFactorSet factors;
    for (int axis = 0; axis < 5; ++axis) {
        if (!HostCovers(core, profiles[axis]))
            continue;
        factors.axis[axis] = FactorsOf(table, core, profiles[axis]);
        factors.covered[axis] = UsableFactors(factors.axis[axis]);
    }
    return factors;
}

RowTexts InitialRowTexts(const CommandType& type, const BufRowValues& values)
{
    RowTexts texts;
    for (const CommandColumn& column : type.columns)
        texts.push_back(RowCell{true, InitialText(values, column.field), -1});
    return texts;
}

void SendRows(const std::vector<TableRow>& rows, bool lookAheadOpen, const ControllerAddress& to,
              const AxisFactorSet& factors, const LaserFollow& laser, const RowReport& report)
{
    BufRowValues values;
    for (const TableRow& row : rows) {
        const CommandType* type = FindCommandType(row.type);
        if (!type || type->walk == WalkRule::EndsWalk)
            return;
        values.velEnd = 0;
        if (!ParseRow(row.cells, *type, RowReading::Sending, values)) {
            report(labelOf(row.type), ReturnCode::BadArgument, true);
            continue;
        }
        const RowCall call = lookAheadOpen ? type->exCall : type->plainCall;
        const short code = call ? call(RowSend(values, to, factors, laser)) : 0;
        // Output rows do not report their code.
        report(labelOf(row.type), code, type->family != CommandFamily::Auxiliary);
    }
}
