#include "module/ModuleState.h"

ModuleState& moduleState()
{
    static ModuleState state;
    return state;
}

CrdResourceRecord FirstHostRecord()
{
    const HostResourceList list = moduleState().hostResources;
    if (!list)
        return CrdResourceRecord{};
    return list().value(0, CrdResourceRecord{});
}

bool HostUsesMmUnits()
{
    const HostAxisTable* table = moduleState().axisTable;
    return !table || table->useMmUnits != 0;
}
