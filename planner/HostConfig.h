#ifndef KURVO_WORKBENCH_HOSTCONFIG_H
#define KURVO_WORKBENCH_HOSTCONFIG_H

#include "module/HostTypes.h"

#include <QString>

#include <array>
#include <memory>

class QSettings;

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
    // read or a value is no number within its key's range.
    static bool load(const QString& path, HostConfig& config, QString& error);
};

// The pulses per millimetre of X, Y and Z on `core` with these profiles, from the host's axis
// table; 1 where it has no usable factor.
std::array<double, 3> PulsesPerMm(const HostAxisTable* table, short core,
                                  const std::array<short, 3>& profiles);

// Reads the numbers of a configuration file, each checked against its key's range. A key that
// is missing leaves the value as it was; the first value that is no number within its range
// becomes the error, naming the file, the key and the value.
class CheckedSettings
{
public:
    CheckedSettings(const QSettings& file, QString path);

    void readInteger(const QString& key, int lowest, int highest, int& value);
    void readReal(const QString& key, double lowest, double highest, double& value);
    bool ok() const { return error.isEmpty(); }
    const QString& Error() const { return error; }

private:
    // Sets `value` from the key's text when `convert` reads a number within the range, else
    // refuses it, naming the range as `range` says ("a number from %1 to %2").
    template <typename Number, typename Convert>
    void read(const QString& key, Number lowest, Number highest, Number& value, Convert convert,
              const char* range);

    const QSettings& file;
    const QString path;
    QString error;
};

#endif
