#ifndef KURVO_SHOPFLOOR_MTCONNECTAGENT_H
#define KURVO_SHOPFLOOR_MTCONNECTAGENT_H

#include "shopfloor/MTConnectDocuments.h"

#include <QHostAddress>
#include <QThread>
#include <QUrlQuery>

#include <memory>
#include <optional>

// What the agent answers a request: an HTTP status and an MTConnect document.
struct AgentAnswer
{
    int status = 200;
    QByteArray document;
};

// Answers a GET of `path` with `query`: /probe, /current and /sample (from, count), also below
// the device's name; MTConnectError for anything else.
AgentAnswer AnswerRequest(const ObservationStore& store, const MTConnectDocuments::Agent& agent,
                          const QString& path, const QUrlQuery& query);

// An MTConnect agent: answers HTTP requests on a thread of its own from the observations of
// `store`, so that no request holds up the window. It only reads.
class MTConnectAgent
{
public:
    MTConnectAgent(std::shared_ptr<const ObservationStore> store, QString deviceName);
    ~MTConnectAgent();

    // Starts listening; the port it listens on, or nothing with `error` set.
    std::optional<quint16> Listen(const QHostAddress& address, quint16 port, QString& error);

private:
    std::shared_ptr<const ObservationStore> store;
    const QString deviceName;
    std::unique_ptr<QThread> thread; // the server and its sockets live and die on it
};

#endif
