#ifndef KURVO_SHOPFLOOR_MQTTSTATUS_H
#define KURVO_SHOPFLOOR_MQTTSTATUS_H

#include "shopfloor/ShopFloorConfig.h"

#include <QHash>
#include <QObject>

#include <condition_variable>
#include <mutex>
#include <thread>

struct mosquitto;

// Publishes the machine's state through an MQTT broker: each item retained under
// "<prefix>/<item>", "<prefix>/connection" "online" while connected and "offline" as the last
// will. A thread of its own connects, and reconnects with growing pauses when the broker goes
// away; the window's thread only hands values over.
class MqttStatus : public QObject
{
    Q_OBJECT

public:
    explicit MqttStatus(ShopFloorConfig::Mqtt config, QObject* parent = nullptr);
    ~MqttStatus() override;

    // Connects in the background; false with `error` set when the client cannot be set up.
    bool Start(QString& error);
    // The item's value from now on, sent at once when connected, and again at every reconnection.
    void Publish(const QString& item, const QString& value);

signals:
    // What the connection does, for the output pane (from the client's thread).
    void Message(const QString& text);

private:
    void Run();
    void Connected(int code);
    void Send(const QString& topic, const QString& value);

    const ShopFloorConfig::Mqtt config;
    const QString broker; // "host:port", as messages name it
    mosquitto* client = nullptr;
    std::thread worker;
    std::mutex mutex; // guards what follows
    std::condition_variable wake;
    QHash<QString, QString> state;
    bool stopping = false;
    bool connected = false;
    int pauseSeconds = 1;
};

#endif
