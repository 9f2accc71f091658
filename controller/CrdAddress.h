#ifndef KURVO_CRDADDRESS_H
#define KURVO_CRDADDRESS_H

// Where commands go: a coordinate system of a core (both from 1), and its FIFO (from 0).
struct ControllerAddress
{
    short core = 1;
    short crd = 1;
    short fifo = 0;
};

// Operations that address coordinate systems by bit take a mask with the coordinate system's bit
// (crd counted from 1) and an option word with its FIFO in that bit. A crd outside 1 to 15 has no
// bit in a 16-bit word: both are then 0, which the controller refuses.
inline short CrdMask(short crd)
{
    return crd >= 1 && crd <= 15 ? short(1 << (crd - 1)) : short(0);
}

inline short FifoOption(short crd, short fifo)
{
    return crd >= 1 && crd <= 15 && fifo >= 0 && fifo <= 1 ? short(fifo << (crd - 1)) : short(0);
}

#endif
