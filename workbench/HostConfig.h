#ifndef KURVO_WORKBENCH_HOSTCONFIG_H
#define KURVO_WORKBENCH_HOSTCONFIG_H

#include "module/HostTypes.h"

#include <QString>

#include <memory>

// What the workbench hands to the module: its resource list and axis table, read from an INI
// file (see the README) or taken from the defaults.
struct HostConfig
{
    CrdResourceRecord resource{};
    std::unique_ptr<HostAxisTable> axisTable;

    // The defaults: one core with 2 coordinate systems, core 1 and crd 1 assigned, 1000 pulses
    // per mm, velocity factor 1, acceleration factor 0.001, millimetre units.
    static HostConfig defaults();
    // The defaults overridden by what `path` holds; false with `error` set when it cannot be
    // read.
    static bool load(const QString& path, HostConfig& config, QString& error);
};

#endif
