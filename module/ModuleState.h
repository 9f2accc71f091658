#ifndef KURVO_MODULESTATE_H
#define KURVO_MODULESTATE_H

#include "module/HostTypes.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class CrdForm;
class ProgramText;
class QMdiSubWindow;

// What the module keeps between calls, one copy per loaded module. The GUI thread writes it;
// the worker thread reads the host callback and the controller address.
struct ModuleState
{
    HostMessageCallback hostMessage = nullptr;
    HostResourceList hostResources = nullptr;
    const HostAxisTable* axisTable = nullptr;
    int16_t cursorCore = 1; // core and coordinate system last handed to a window
    int16_t cursorCrd = 0;

    int16_t openWindowCount = 0;
    QPointer<QMdiSubWindow> activeSubWindow;
    CrdForm* formTable[1] = {nullptr};

    // The controller address of every controller call: core and crd from 1, FIFO from 0.
    int16_t currentCore = 1;
    int16_t currentCrd = 1;
    int16_t currentFifo = 0;

    // The program a streaming worker sends: set by Start before the worker starts and left
    // alone until the next Start.
    std::shared_ptr<const ProgramText> programLines;
    // The run state the status timer saw last.
    int previousRunState = 0;
    // Where the settings files lie when not in the application's "modules" folder.
    QString settingsFolder;
};

ModuleState& moduleState();

// The first record of the host's resource list; all zero ("no controller") when the host has
// not attached or offers none.
CrdResourceRecord FirstHostRecord();

// Whether lengths show in millimetres; they do until the host hands over its axis table.
bool HostUsesMmUnits();

#endif
