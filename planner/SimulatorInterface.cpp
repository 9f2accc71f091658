#include "planner/SimulatorInterface.h"

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
    // By its bare name the library the workbench is linked against is found again, the one
    // instance the module drives too; by a path it could be loaded a second time.
    QLibrary library(QStringLiteral("rvAPI"));
    if (!library.load()) {
        library.setFileName(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("rvAPI")));
        if (!library.load())
            return std::nullopt;
    }
    SimulatorInterface s{};
    const bool complete = resolve(library, "rvsim_reset", s.reset)
                          && resolve(library, "rvsim_use_manual_clock", s.useManualClock)
                          && resolve(library, "rvsim_advance_ms", s.advanceMs)
                          && resolve(library, "rvsim_advance_to_ms", s.advanceToMs)
                          && resolve(library, "rvsim_now_ms", s.nowMs)
                          && resolve(library, "rvsim_path_enable", s.enablePath)
                          && resolve(library, "rvsim_path_count", s.pathCount)
                          && resolve(library, "rvsim_path_point", s.pathPoint)
                          && resolve(library, "rvsim_path_point_rapid", s.pathPointRapid)
                          && resolve(library, "rvsim_path_clear", s.clearPath)
                          && resolve(library, "rvsim_path_end_ms", s.pathEndMs)
                          && resolve(library, "rvsim_time_left_ms", s.timeLeftMs)
                          && resolve(library, "rvsim_wait_as_host", s.waitAsHost);
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
