#ifndef KURVO_CRDINIT_H
#define KURVO_CRDINIT_H

#include "controller/CrdAddress.h"
#include "crd/CrdRecords.h"

// Sends the coordinate-system record and, with look-ahead open, sets the look-ahead up: its
// set-up, the jerk, the contour-error control and the look-ahead record of `params`. Every call
// is reported in the host's output; a refused set-up or look-ahead record ends the sequence.
// True when it went through.
bool InitCrd(const ControllerAddress& at, const CrdPrm& record, bool lookAheadOpen,
             const CrdFormParams& params);

#endif
