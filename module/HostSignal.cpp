#include "module/HostSignal.h"

namespace {

void describe(ModuleDescriptor* descriptor)
{
    if (!descriptor)
        return;
    descriptor->name = QStringLiteral("Kurvo");
    descriptor->caption = QStringLiteral("插补运动");
    descriptor->shortName = QStringLiteral("Crd");
    descriptor->hostCode2 = 2;
    descriptor->hostCode1 = 3;
    descriptor->hostFlag = 1;
}

void attachHost(void* messageCallback, void* resourceList)
{
    ModuleState& state = moduleState();
    state.cursorCore = 1;
    state.cursorCrd = 0;
    state.hostMessage = reinterpret_cast<HostMessageCallback>(messageCallback);
    state.hostResources = reinterpret_cast<HostResourceList>(resourceList);
}

} // namespace

ModuleState& moduleState()
{
    static ModuleState state;
    return state;
}

int32_t HandleHostSignal(int16_t signal, void* first, void* second)
{
    switch (signal) {
    case SignalDescribe:
        describe(static_cast<ModuleDescriptor*>(second));
        break;
    case SignalAttachHost:
        attachHost(first, second);
        break;
    case SignalSetAxisTable:
        moduleState().axisTable = static_cast<const HostAxisTable*>(first);
        break;
    default:
        break;
    }
    return 0;
}
