#ifndef KURVO_HOSTSIGNAL_H
#define KURVO_HOSTSIGNAL_H

#include "module/ModuleState.h"

#include <cstdint>

// The signals the host sends through KDV_SIGNAL.
enum HostSignalCode : int16_t {
    SignalOpenWindow = 1, // first: the host's QMainWindow, second: LanguageChoice*
    SignalReserved = 2,
    SignalDescribe = 3,     // second: ModuleDescriptor* to fill
    SignalSetLanguage = 4,  // first: LanguageChoice*
    SignalAttachHost = 5,   // first: HostMessageCallback, second: HostResourceList
    SignalSetAxisTable = 6, // first: HostAxisTable*
};

// Everything KDV_SIGNAL does, on the host's GUI thread; always returns 0.
int32_t HandleHostSignal(int16_t signal, void* first, void* second);

#endif
