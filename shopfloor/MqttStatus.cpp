#include "shopfloor/MqttStatus.h"

#include <mosquitto.h>

#include <chrono>

namespace {

constexpr int keepAliveSeconds = 10;
constexpr int longestPauseSeconds = 30;
constexpr int qos = 1;
const QString online = QStringLiteral("online");
const QString offline = QStringLiteral("offline");

// The library is set up once for the process, and left set up until it ends.
void InitialiseLibrary()
{
    static const int initialised = mosquitto_lib_init();
    Q_UNUSED(initialised);
}

QString ConnectionTopic(const ShopFloorConfig::Mqtt& config)
{
    return config.topicPrefix + QStringLiteral("/connection");
}

QByteArray Bytes(const QString& text)
{
    return text.toUtf8();
}

} // namespace

MqttStatus::MqttStatus(ShopFloorConfig::Mqtt mqtt, QObject* parent)
    : QObject(parent)
    , config(std::move(mqtt))
    , broker(QStringLiteral("%1:%2").arg(config.host).arg(config.port))
{}

MqttStatus::~MqttStatus()
{
    if (!client)
        return;
    {
        std::lock_guard lock(mutex);
        stopping = true;
        if (connected)
            Send(ConnectionTopic(config), offline);
    }
    wake.notify_all();
    mosquitto_disconnect(client);
    worker.join();
    mosquitto_destroy(client);
}

bool MqttStatus::Start(QString& error)
{
    InitialiseLibrary();
    client = mosquitto_new(nullptr, true, this);
    const auto fail = [&](const QString& what, int code) {
        error = QStringLiteral("MQTT: %1 (%2)")
                    .arg(what, QString::fromUtf8(mosquitto_strerror(code)));
        mosquitto_destroy(client);
        client = nullptr;
        return false;
    };
    if (!client)
        return fail(QStringLiteral("cannot make a client"), MOSQ_ERR_NOMEM);
    mosquitto_threaded_set(client, true);
    mosquitto_connect_callback_set(client, [](mosquitto*, void* self, int code) {
        static_cast<MqttStatus*>(self)->Connected(code);
    });
    const QByteArray will = Bytes(ConnectionTopic(config));
    int code = mosquitto_will_set(client, will.constData(), int(offline.size()),
                                  Bytes(offline).constData(), qos, true);
    if (code != MOSQ_ERR_SUCCESS)
        return fail(QStringLiteral("cannot set the last will"), code);
    if (!config.user.isEmpty()) {
        code = mosquitto_username_pw_set(
            client, Bytes(config.user).constData(),
            config.password.isEmpty() ? nullptr : Bytes(config.password).constData());
        if (code != MOSQ_ERR_SUCCESS)
            return fail(QStringLiteral("cannot set the user"), code);
    }
    if (!config.caFile.isEmpty()) {
        const QByteArray ca = Bytes(config.caFile), cert = Bytes(config.certFile),
                         key = Bytes(config.keyFile);
        code = mosquitto_tls_set(client, ca.constData(), nullptr,
                                 cert.isEmpty() ? nullptr : cert.constData(),
                                 key.isEmpty() ? nullptr : key.constData(), nullptr);
        if (code != MOSQ_ERR_SUCCESS)
            return fail(QStringLiteral("cannot use the TLS files"), code);
    }
    worker = std::thread([this] { Run(); });
    return true;
}

void MqttStatus::Run()
{
    const QByteArray host = Bytes(config.host);
    int code = mosquitto_connect(client, host.constData(), config.port, keepAliveSeconds);
    while (true) {
        if (code == MOSQ_ERR_SUCCESS)
            code = mosquitto_loop(client, 100, 1);
        if (code == MOSQ_ERR_SUCCESS)
            continue;
        std::unique_lock lock(mutex);
        connected = false;
        if (stopping)
            return;
        const int seconds = pauseSeconds;
        pauseSeconds = std::min(2 * pauseSeconds, longestPauseSeconds);
        emit Message(QStringLiteral("MQTT: no connection to %1 (%2); trying again in %3 s")
                         .arg(broker, QString::fromUtf8(mosquitto_strerror(code)))
                         .arg(seconds));
        if (wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return stopping; }))
            return;
        lock.unlock();
        code = mosquitto_reconnect(client);
    }
}

// Called on the client's thread when the broker answers the connection.
void MqttStatus::Connected(int code)
{
    if (code != 0) {
        emit Message(QStringLiteral("MQTT: %1 refused the connection (%2)")
                         .arg(broker, QString::fromUtf8(mosquitto_connack_string(code))));
        return;
    }
    emit Message(
        QStringLiteral("MQTT: publishing to %1 under %2/").arg(broker, config.topicPrefix));
    // Under the lock, so that no newer value the window hands over meanwhile goes out first.
    std::lock_guard lock(mutex);
    pauseSeconds = 1;
    connected = true;
    Send(ConnectionTopic(config), online);
    for (auto item = state.cbegin(); item != state.cend(); ++item)
        Send(config.topicPrefix + QLatin1Char('/') + item.key(), item.value());
}

void MqttStatus::Publish(const QString& item, const QString& value)
{
    std::lock_guard lock(mutex);
    state.insert(item, value);
    if (connected)
        Send(config.topicPrefix + QLatin1Char('/') + item, value);
}

void MqttStatus::Send(const QString& topic, const QString& value)
{
    const QByteArray name = Bytes(topic), payload = Bytes(value);
    mosquitto_publish(client, nullptr, name.constData(), int(payload.size()), payload.constData(),
                      qos, true);
}
