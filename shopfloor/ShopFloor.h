#ifndef KURVO_SHOPFLOOR_SHOPFLOOR_H
#define KURVO_SHOPFLOOR_SHOPFLOOR_H

#include "shopfloor/MachineDevice.h"
#include "shopfloor/ShopFloorConfig.h"

#include <QObject>

#include <memory>
#include <optional>

class MTConnectAgent;
class MqttStatus;
class ObservationStore;

// The machine as the shop floor sees it: the watch's looks become data items, which an MTConnect
// agent answers for and MQTT publishes, as the configuration enables them.
class ShopFloor : public QObject
{
    Q_OBJECT

public:
    explicit ShopFloor(ShopFloorConfig config, QObject* parent = nullptr);
    ~ShopFloor() override;

    // Starts what the configuration enables, each on its own; what cannot be started.
    QStringList Start();
    // The port the agent listens on, when it does.
    std::optional<quint16> AgentPort() const { return agentPort; }

public slots:
    void Observe(const MachineObservation& seen);

signals:
    void Message(const QString& text);

private:
    const ShopFloorConfig config;
    MachineDevice::Reading reading;
    std::shared_ptr<ObservationStore> store;
    std::unique_ptr<MTConnectAgent> agent;
    MqttStatus* mqtt = nullptr;
    std::optional<quint16> agentPort;
};

#endif
