#include "shopfloor/ShopFloor.h"

#include "shopfloor/MTConnectAgent.h"
#include "shopfloor/MqttStatus.h"

#include <QDateTime>

ShopFloor::ShopFloor(ShopFloorConfig shopFloorConfig, QObject* parent)
    : QObject(parent)
    , config(std::move(shopFloorConfig))
    , store(std::make_shared<ObservationStore>(config.agent.bufferSize))
{}

ShopFloor::~ShopFloor() = default;

QStringList ShopFloor::Start()
{
    QStringList problems;
    QString error;
    if (config.agent.enabled) {
        agent = std::make_unique<MTConnectAgent>(store, config.machineName);
        agentPort
            = agent->Listen(QHostAddress(config.agent.address), quint16(config.agent.port), error);
        if (agentPort) {
            emit Message(QStringLiteral("MTConnect agent: http://%1:%2/%3/current")
                             .arg(config.agent.address)
                             .arg(*agentPort)
                             .arg(config.machineName));
        } else {
            problems << error;
            agent.reset();
        }
    }
    if (config.mqtt.enabled) {
        mqtt = new MqttStatus(config.mqtt, this);
        connect(mqtt, &MqttStatus::Message, this, &ShopFloor::Message);
        for (int item = 0; item < MachineDevice::ItemCount; ++item)
            mqtt->Publish(QLatin1String(MachineDevice::DataItems()[std::size_t(item)].id),
                          QStringLiteral("UNAVAILABLE"));
        if (!mqtt->Start(error)) {
            problems << error;
            delete mqtt;
            mqtt = nullptr;
        }
    }
    return problems;
}

void ShopFloor::Observe(const MachineObservation& seen)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const MachineDevice::Values values = reading.Read(seen, now);
    const std::vector<int> changed = store->Record(values, now);
    if (!mqtt)
        return;
    for (int item : changed) {
        mqtt->Publish(QLatin1String(MachineDevice::DataItems()[std::size_t(item)].id),
                      values[std::size_t(item)].text);
    }
}
