#ifndef KURVO_HOSTSIGNAL_H
#define KURVO_HOSTSIGNAL_H

#include "module/KurvoHost.h"
#include "module/ModuleState.h"

#include <cstdint>

// Everything KDV_SIGNAL does, on the host's GUI thread; always returns 0.
int32_t HandleHostSignal(int16_t signal, void* first, void* second);

#endif
