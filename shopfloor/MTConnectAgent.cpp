#include "shopfloor/MTConnectAgent.h"

#include <QDateTime>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>

#include <future>
#include <variant>

namespace {

// No request of the agent's vocabulary comes near this; a longer one is refused unread.
constexpr qsizetype longestTarget = 2048;

struct Refusal
{
    int status;
    const char* code;
    QString text;
};

// The whole number `name` gives, or the refusal of its text.
std::variant<qint64, Refusal> NumberArgument(const QUrlQuery& query, const QString& name)
{
    bool isNumber = false;
    const QString text = query.queryItemValue(name);
    const qint64 value = text.toLongLong(&isNumber);
    if (!isNumber) {
        return Refusal{400, "INVALID_REQUEST",
                       QStringLiteral("'%1' must be a whole number, not '%2'").arg(name, text)};
    }
    return value;
}

std::optional<Refusal> UnknownArgument(const QUrlQuery& query, const QStringList& known)
{
    for (const auto& [name, value] : query.queryItems()) {
        if (!known.contains(name)) {
            return Refusal{
                400, "UNSUPPORTED",
                QStringLiteral("this agent does not support the argument '%1'").arg(name)};
        }
    }
    return std::nullopt;
}

std::variant<ObservationWindow, Refusal> SampleWindow(const ObservationStore& store,
                                                      const QUrlQuery& query)
{
    if (auto refusal = UnknownArgument(query, {QStringLiteral("from"), QStringLiteral("count")}))
        return *refusal;
    const ObservationWindow bounds = store.Bounds();
    qint64 from = qint64(bounds.firstSequence), count = std::min(100, store.Capacity());
    for (auto [name, value] :
         {std::pair{QStringLiteral("from"), &from}, std::pair{QStringLiteral("count"), &count}}) {
        if (!query.hasQueryItem(name))
            continue;
        const auto argument = NumberArgument(query, name);
        if (const Refusal* refusal = std::get_if<Refusal>(&argument))
            return *refusal;
        *value = std::get<qint64>(argument);
    }
    if (count < 1 || count > store.Capacity()) {
        return Refusal{400, "OUT_OF_RANGE",
                       QStringLiteral("'count' must be from 1 to %1, not %2")
                           .arg(store.Capacity())
                           .arg(count)};
    }
    const std::optional<ObservationWindow> window
        = from < 0 ? std::nullopt : store.Sample(quint64(from), int(count));
    if (!window) {
        return Refusal{400, "OUT_OF_RANGE",
                       QStringLiteral("'from' must be from %1 to %2, not %3")
                           .arg(bounds.firstSequence)
                           .arg(bounds.nextSequence)
                           .arg(from)};
    }
    return *window;
}

} // namespace

AgentAnswer AnswerRequest(const ObservationStore& store, const MTConnectDocuments::Agent& agent,
                          const QString& path, const QUrlQuery& query)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto refuse = [&](const Refusal& refusal) {
        return AgentAnswer{refusal.status,
                           MTConnectDocuments::Error(agent, refusal.code, refusal.text, now)};
    };
    QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() == 2) {
        if (parts.constFirst() != agent.deviceName) {
            return refuse({404, "NO_DEVICE",
                           QStringLiteral("no device is named '%1'").arg(parts.constFirst())});
        }
        parts.removeFirst();
    }
    const QString request = parts.size() == 1 ? parts.constFirst() : QString();
    if (request == QLatin1String("probe")) {
        if (auto refusal = UnknownArgument(query, {}))
            return refuse(*refusal);
        return {200, MTConnectDocuments::Probe(agent, now)};
    }
    if (request == QLatin1String("current")) {
        if (auto refusal = UnknownArgument(query, {}))
            return refuse(*refusal);
        return {200, MTConnectDocuments::Streams(agent, store.Current(), now)};
    }
    if (request == QLatin1String("sample")) {
        const auto window = SampleWindow(store, query);
        if (const Refusal* refusal = std::get_if<Refusal>(&window))
            return refuse(*refusal);
        return {200, MTConnectDocuments::Streams(agent, std::get<ObservationWindow>(window), now)};
    }
    return refuse({404, "INVALID_URI",
                   QStringLiteral("'%1' is none of probe, current and sample").arg(path)});
}

namespace {

// Makes the server on its own thread, listens, tells the port (0 when it cannot listen), and
// answers until asked to quit; the server ends with the thread.
class AgentThread : public QThread
{
public:
    AgentThread(std::shared_ptr<const ObservationStore> store, QString deviceName,
                QHostAddress address, quint16 port)
        : store(std::move(store))
        , deviceName(std::move(deviceName))
        , address(std::move(address))
        , port(port)
    {
        setObjectName(QStringLiteral("MTConnect agent"));
    }

    std::future<quint16> Listening() { return listening.get_future(); }

protected:
    void run() override
    {
        QHttpServer server;
        const quint16 listeningOn = server.listen(address, port);
        if (listeningOn != 0) {
            const MTConnectDocuments::Agent agent{
                deviceName, QStringLiteral("%1:%2").arg(address.toString()).arg(listeningOn),
                store->InstanceId(), store->Capacity()};
            // The handler keeps what it reads: the thread's object is destroyed by the thread
            // that made it, once this one has ended.
            server.setMissingHandler([store = store, agent](const QHttpServerRequest& request,
                                                            QHttpServerResponder&& responder) {
                const AgentAnswer answer = Answer(*store, agent, request);
                responder.write(answer.document, "text/xml; charset=utf-8",
                                QHttpServerResponder::StatusCode(answer.status));
            });
        }
        listening.set_value(listeningOn);
        if (listeningOn != 0)
            exec();
    }

private:
    static AgentAnswer Answer(const ObservationStore& store, const MTConnectDocuments::Agent& agent,
                              const QHttpServerRequest& request)
    {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (request.url().toEncoded().size() > longestTarget) {
            return {414,
                    MTConnectDocuments::Error(
                        agent, "INVALID_REQUEST",
                        QStringLiteral("the request is longer than %1 bytes").arg(longestTarget),
                        now)};
        }
        if (request.method() != QHttpServerRequest::Method::Get) {
            return {405, MTConnectDocuments::Error(
                             agent, "UNSUPPORTED",
                             QStringLiteral("the agent only answers GET requests"), now)};
        }
        return AnswerRequest(store, agent, request.url().path(), request.query());
    }

    const std::shared_ptr<const ObservationStore> store;
    const QString deviceName;
    const QHostAddress address;
    const quint16 port;
    std::promise<quint16> listening;
};

} // namespace

MTConnectAgent::MTConnectAgent(std::shared_ptr<const ObservationStore> observations, QString name)
    : store(std::move(observations))
    , deviceName(std::move(name))
{}

MTConnectAgent::~MTConnectAgent()
{
    if (!thread)
        return;
    thread->quit();
    thread->wait();
}

std::optional<quint16> MTConnectAgent::Listen(const QHostAddress& address, quint16 port,
                                              QString& error)
{
    auto agentThread = std::make_unique<AgentThread>(store, deviceName, address, port);
    std::future<quint16> listening = agentThread->Listening();
    agentThread->start();
    const quint16 listeningOn = listening.get();
    thread = std::move(agentThread);
    if (listeningOn == 0) {
        thread->wait();
        error = QStringLiteral("the MTConnect agent cannot listen on %1:%2")
                    .arg(address.toString())
                    .arg(port);
        return std::nullopt;
    }
    return listeningOn;
}
