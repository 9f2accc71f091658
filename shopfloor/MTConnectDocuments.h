#ifndef KURVO_SHOPFLOOR_MTCONNECTDOCUMENTS_H
#define KURVO_SHOPFLOOR_MTCONNECTDOCUMENTS_H

#include "shopfloor/Observations.h"

#include <QByteArray>
#include <QString>

// The MTConnect response documents the agent answers with, in XML.
namespace MTConnectDocuments {

// Who answers: the device's name and the agent's address, as the headers and streams name them.
struct Agent
{
    QString deviceName;
    QString sender;
    quint64 instanceId = 0;
    int bufferSize = 0;
};

// MTConnectDevices: the machine's parts and data items.
QByteArray Probe(const Agent& agent, qint64 utcMs);
// MTConnectStreams: the observations of `window`, each under its part.
QByteArray Streams(const Agent& agent, const ObservationWindow& window, qint64 utcMs);
// MTConnectError with one error, `code` of the standard's (INVALID_REQUEST, OUT_OF_RANGE, …).
QByteArray Error(const Agent& agent, const char* code, const QString& text, qint64 utcMs);

} // namespace MTConnectDocuments

#endif
