// The shared module's one export.
#include "module/HostSignal.h"

#if defined(_WIN32)
#define KURVO_EXPORT __declspec(dllexport)
#define KURVO_CDECL __cdecl
#else
#define KURVO_EXPORT __attribute__((visibility("default")))
#define KURVO_CDECL
#endif

// The host's entry into the module, on its GUI thread: `signal` is a HostSignalCode, `first` and
// `second` its arguments; `unused` is never read. Returns 0.
extern "C" KURVO_EXPORT int32_t KURVO_CDECL KDV_SIGNAL(int16_t signal, void* first, void* second,
                                                       void* /*unused*/)
{
    return HandleHostSignal(signal, first, second);
}
