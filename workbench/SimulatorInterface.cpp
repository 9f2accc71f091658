#include "SimulatorInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <optional>

namespace {

template <typename Function> bool resolve(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

std::optional<SimulatorInterface> resolveAll()
{
    // The library the workbench is linked against: loading it again only finds it.
    QLibrary library(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("rvAPI")));
    if (!library.load()) {
        library.setFileName(QStringLiteral("rvAPI"));
        if (!library.load())
            return std::nullopt;
    }
    SimulatorInterface s{};
    const bool complete = resolve(library, "rvsim_reset", s.reset)
                          && resolve(library, "rvsim_use_manual_clock", s.useManualClock)
                          && resolve(library, "rvsim_advance_ms", s.advanceMs)
                          && resolve(library, "rvsim_now_ms", s.nowMs)
                          && resolve(library, "rvsim_path_enable", s.enablePath)
                          && resolve(library, "rvsim_path_count", s.pathCount)
                          && resolve(library, "rvsim_path_point", s.pathPoint);
    if (!complete)
        return std::nullopt;
    return s;
}

} // namespace

const SimulatorInterface* SimulatorInterface::Find()
{
    static const std::optional<SimulatorInterface> found = resolveAll();
    return found ? &*found : nullptr;
}
