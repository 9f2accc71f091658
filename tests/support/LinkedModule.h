#ifndef KURVO_TESTS_LINKEDMODULE_H
#define KURVO_TESTS_LINKEDMODULE_H

#include "module/HostSignal.h"

// KDV_SIGNAL of the module's code linked into the test, for a TestHost to talk through.
inline int32_t LinkedKdvSignal(int16_t signal, void* first, void* second, void* /*unused*/)
{
    return HandleHostSignal(signal, first, second);
}

#endif
