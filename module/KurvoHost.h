#ifndef KURVO_KURVOHOST_H
#define KURVO_KURVOHOST_H

#include "module/HostTypes.h"

#include <QString>

#include <cstdint>

// What a host knows of the module: its one export, the signals it takes, and what of the
// operator window a host may read by object name or call by slot name.

// The export, resolved by its name "KDV_SIGNAL". Returns 0.
using KdvSignalFunction = int32_t (*)(int16_t signal, void* first, void* second, void* unused);

// The signals the host sends through KDV_SIGNAL.
enum HostSignalCode : int16_t {
    SignalOpenWindow = 1, // first: the host's QMainWindow, second: LanguageChoice*
    SignalReserved = 2,
    SignalDescribe = 3,     // second: ModuleDescriptor* to fill
    SignalSetLanguage = 4,  // first: LanguageChoice*
    SignalAttachHost = 5,   // first: HostMessageCallback, second: HostResourceList
    SignalSetAxisTable = 6, // first: HostAxisTable*
};

namespace OperatorWindow {

inline constexpr char form[] = "crdFrom";
inline constexpr char subWindow[] = "Kurvo";

// Combo boxes: the coordinate system driven, the look-ahead mode (its second entry "Open"), and
// the profile of each axis (perAxis).
inline constexpr char coreIndexCombo[] = "coreIndexCombo";
inline constexpr char crdIndexCombo[] = "crdIndexCombo";
inline constexpr char fifoIndexCombo[] = "fifoIndexCombo";
inline constexpr char lookAheadModeCombo[] = "lookAheadModeCombo";
inline constexpr char profileCombo[] = "profileCombo";
// The program's path, its load button, and its text, shown while the program is streamed.
inline constexpr char programPathEdit[] = "programPathEdit";
inline constexpr char loadCrdFileButton[] = "loadCrdFileButton";
inline constexpr char programTextView[] = "programTextView";

// Slots of the form a host may invoke: set up, start, stop, load the program in the path field.
inline constexpr char initialiseSlot[] = "OnInitBtnClicked";
inline constexpr char startSlot[] = "OnStartBtnClicked";
inline constexpr char stopSlot[] = "OnStopBtnClicked";
inline constexpr char loadProgramSlot[] = "OnLoadFileDataBtnClicked";

inline constexpr int axisCount = 5;

// The name of the widget of `stem` for coordinate-system axis 0 (X) to 4 (C).
inline QString perAxis(const char* stem, int axis)
{
    return QLatin1String(stem) + QLatin1Char("XYZAC"[axis]);
}

} // namespace OperatorWindow

#endif
