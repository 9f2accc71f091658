#ifndef KURVO_HOSTTYPES_H
#define KURVO_HOSTTYPES_H

#include <QString>

// Prints one line in the host's output. The host must accept calls from any thread.
using HostMessageCallback = void (*)(QString line);

#endif
