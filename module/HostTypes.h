#ifndef KURVO_HOSTTYPES_H
#define KURVO_HOSTTYPES_H

#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// What the host hands to the module through KDV_SIGNAL, with the memory layouts the host
// shares.

// Prints one line in the host's output. The host must accept calls from any thread.
using HostMessageCallback = void (*)(QString line);

// The window language: 0 Chinese, 1 English.
using LanguageChoice = int32_t;
constexpr LanguageChoice LanguageChinese = 0;
constexpr LanguageChoice LanguageEnglish = 1;

// Filled by the module on request; owned by the host.
struct ModuleDescriptor
{
    QString name;
    QString caption;
    QString shortName;
    int32_t hostCode1;
    int32_t hostCode2;
    char hostFlag;
};

// The host's Qt 4 ABI, where a QString is one pointer. Qt 6 strings are larger, so only a build
// against that ABI can share the descriptor with such a host.
#if Q_PROCESSOR_WORDSIZE == 4 && QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
static_assert(offsetof(ModuleDescriptor, caption) == 4, "caption at 4");
static_assert(offsetof(ModuleDescriptor, shortName) == 8, "shortName at 8");
static_assert(offsetof(ModuleDescriptor, hostCode1) == 12, "hostCode1 at 12");
static_assert(offsetof(ModuleDescriptor, hostCode2) == 16, "hostCode2 at 16");
static_assert(offsetof(ModuleDescriptor, hostFlag) == 20, "hostFlag at 20");
#endif

// One coordinate system the host offers; only the first of the host's list is looked at.
struct CrdResourceRecord
{
    int16_t coreCount; // cores the host has open; 0 or less: no controller
    int16_t crdCount;  // coordinate systems of that core
    int16_t core;      // core assigned by the host, 1-based; 0 none
    int16_t crd;       // coordinate system assigned by the host, 1-based; 0 none
    char hostData[8];  // the host's own, copied along
};

static_assert(sizeof(CrdResourceRecord) == 16, "CrdResourceRecord is 16 bytes");
static_assert(offsetof(CrdResourceRecord, crdCount) == 2, "crdCount at 2");
static_assert(offsetof(CrdResourceRecord, core) == 4, "core at 4");
static_assert(offsetof(CrdResourceRecord, crd) == 6, "crd at 6");
static_assert(offsetof(CrdResourceRecord, hostData) == 8, "host data at 8");

using HostResourceList = QList<CrdResourceRecord> (*)();

// Conversion factors per core (row = core - 1) and profile (column = profile - 1). Owned by the
// host; the module only reads it.
struct HostAxisTable
{
    static constexpr int cores = 16;
    static constexpr int profiles = 16;

    uint8_t useMmUnits; // non-zero: lengths shown in millimetres, else in pulses
    uint8_t unused[7];
    double pulsesPerMm[cores][profiles];
    uint8_t notRead[6144 - sizeof(double) * cores * profiles];
    double velocityFactor[cores][profiles];
    double accelerationFactor[cores][profiles];
};

// A factor turns millimetres into pulses, mm/s into pulse/ms, mm/s^2 into pulse/ms^2; no
// machine's lies outside this range, and one beyond it (1e308, 1e-300, a denormal) turns typed
// values into infinities or next to nothing. The module takes no other.
constexpr double smallestFactor = 1e-12;
constexpr double largestFactor = 1e12;

static_assert(offsetof(HostAxisTable, pulsesPerMm) == 8, "pulsesPerMm at 8");
static_assert(offsetof(HostAxisTable, velocityFactor) == 6152, "velocityFactor at 6152");
static_assert(offsetof(HostAxisTable, accelerationFactor) == 8200, "accelerationFactor at 8200");

#endif
