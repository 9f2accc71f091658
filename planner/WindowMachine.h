#ifndef KURVO_WORKBENCH_WINDOWMACHINE_H
#define KURVO_WORKBENCH_WINDOWMACHINE_H

#include "controller/rvAPI.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The coordinate system as the operator window last set it up, as the controller holds it:
// its record, axis base, look-ahead and jerk; the core whose host factors its table rows take,
// and whether the window sends its table with look-ahead open.
struct WindowMachine
{
    short core = 1;
    CrdPrm record{};
    short mapBase = 1;
    bool lookAhead = false; // the controller holds an initialised look-ahead
    LookAheadPrmEx lookAheadRecord{};
    double jerk = 0;
    bool tableLookAheadOpen = false;

    // Crd `crd` of `core` as the controller holds it; nothing when it has none set up.
    static std::optional<WindowMachine> Read(short core, short crd, short fifo,
                                             bool tableLookAheadOpen);

    // As the workbench hands it to a dry run in a process of its own: a JSON object of named
    // fields, {"format": "kurvo-window-machine", "version": 1, "core", "mapBase", "crdPrm":
    // {the record's fields by their names}, "lookAhead", "lookAheadPrm": {likewise}, "jerk",
    // "tableLookAheadOpen"}; whole numbers within their fields' ranges, finite numbers, true or
    // false. Nothing else reads back: a missing, unknown or out-of-range field is refused, with
    // `error` naming it.
    QByteArray Encoded() const;
    static std::optional<WindowMachine> Decoded(const QByteArray& json, QString& error);
};

#endif
