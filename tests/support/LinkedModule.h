#ifndef KURVO_TESTS_LINKEDMODULE_H
#define KURVO_TESTS_LINKEDMODULE_H

#include "crd/SettingsFolder.h"
#include "module/HostSignal.h"
#include "module/ModuleState.h"

#include "TestHost.h"
#include "rvsim.h"

#include <memory>

// KDV_SIGNAL of the module's code linked into the test, for a TestHost to talk through.
inline int32_t LinkedKdvSignal(int16_t signal, void* first, void* second, void* /*unused*/)
{
    return HandleHostSignal(signal, first, second);
}

// A test host of the linked module, as freshly loaded, its settings files in a folder of its
// own. No window of an earlier host may still be open.
inline std::unique_ptr<TestHost> LinkedTestHost()
{
    moduleState() = ModuleState();
    return std::make_unique<TestHost>(&LinkedKdvSignal, &SetSettingsFolder);
}

// The same on a virtual controller just powered on, whose time moves only as the test
// advances it.
inline std::unique_ptr<TestHost> LinkedTestHostOnManualClock()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    return LinkedTestHost();
}

#endif
