#ifndef KURVO_HOSTSIGNAL_H
#define KURVO_HOSTSIGNAL_H

#include "module/HostTypes.h"

#include <cstdint>

// The signals the host sends through KDV_SIGNAL.
enum HostSignalCode : int16_t {
    SignalOpenWindow = 1,   // first: the host's QMainWindow, second: LanguageChoice*
    SignalReserved = 2,
    SignalDescribe = 3,     // second: ModuleDescriptor* to fill
    SignalSetLanguage = 4,  // first: LanguageChoice*
    SignalAttachHost = 5,   // first: HostMessageCallback, second: HostResourceList
    SignalSetAxisTable = 6, // first: HostAxisTable*
};

// What the module keeps of the host, one copy per loaded module. GUI thread only, except the
// message callback, which the worker thread reads too.
struct ModuleState
{
    HostMessageCallback hostMessage = nullptr;
    HostResourceList hostResources = nullptr;
    const HostAxisTable* axisTable = nullptr;
    int16_t cursorCore = 1; // core and coordinate system last handed to a window
    int16_t cursorCrd = 0;
};

ModuleState& moduleState();

// Everything KDV_SIGNAL does; always returns 0.
int32_t HandleHostSignal(int16_t signal, void* first, void* second);

#endif
