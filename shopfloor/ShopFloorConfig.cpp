#include "shopfloor/ShopFloorConfig.h"

#include "planner/HostConfig.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QSettings>
#include <QSysInfo>

namespace {

// A name that can stand in a URL's path and a topic as it is.
bool IsPlainName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._-]{1,64}$"));
    return plain.match(name).hasMatch();
}

QString PlainHostName()
{
    QString name = QSysInfo::machineHostName();
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("-"));
    return IsPlainName(name) ? name : QStringLiteral("kurvo");
}

void ReadText(const QSettings& file, const QString& key, QString& value)
{
    if (file.contains(key))
        value = file.value(key).toString().trimmed();
}

// The first reason the groups read do not make a whole, or nothing.
QString Inconsistency(const ShopFloorConfig& config, const QString& path)
{
    const auto problem = [&path](const QString& what) {
        return QStringLiteral("%1: %2").arg(path, what);
    };
    if (!IsPlainName(config.machineName)) {
        return problem(QStringLiteral("machine/name = %1 is not a name of letters, digits, '.', "
                                      "'_' and '-' (at most 64)")
                           .arg(config.machineName));
    }
    if (QHostAddress(config.agent.address).isNull()) {
        return problem(
            QStringLiteral("agent/address = %1 is not an IP address").arg(config.agent.address));
    }
    const ShopFloorConfig::Mqtt& mqtt = config.mqtt;
    if (mqtt.enabled && mqtt.host.isEmpty())
        return problem(QStringLiteral("mqtt/host is needed when mqtt/enabled = 1"));
    if (mqtt.topicPrefix.isEmpty() || mqtt.topicPrefix.contains(QLatin1Char('#'))
        || mqtt.topicPrefix.contains(QLatin1Char('+')) || mqtt.topicPrefix.endsWith('/')) {
        return problem(QStringLiteral("mqtt/topicPrefix = %1 is no topic to publish under (no "
                                      "'#', '+' or trailing '/')")
                           .arg(mqtt.topicPrefix));
    }
    if (mqtt.certFile.isEmpty() != mqtt.keyFile.isEmpty())
        return problem(QStringLiteral("mqtt/certFile and mqtt/keyFile go together"));
    if (!mqtt.certFile.isEmpty() && mqtt.caFile.isEmpty())
        return problem(QStringLiteral("mqtt/certFile needs mqtt/caFile (TLS)"));
    return QString();
}

} // namespace

ShopFloorConfig ShopFloorConfig::defaults()
{
    ShopFloorConfig config;
    config.machineName = PlainHostName();
    config.mqtt.topicPrefix = QStringLiteral("kurvo/") + config.machineName;
    return config;
}

bool ShopFloorConfig::load(const QString& path, ShopFloorConfig& config, QString& error)
{
    config = defaults();
    const QSettings file(path, QSettings::IniFormat);
    CheckedSettings settings(file, path);
    int agentOn = 0, mqttOn = 0;
    settings.readInteger(QStringLiteral("agent/enabled"), 0, 1, agentOn);
    settings.readInteger(QStringLiteral("agent/port"), 0, 65535, config.agent.port);
    settings.readInteger(QStringLiteral("agent/bufferSize"), 16, 1 << 20, config.agent.bufferSize);
    settings.readInteger(QStringLiteral("mqtt/enabled"), 0, 1, mqttOn);
    settings.readInteger(QStringLiteral("mqtt/port"), 1, 65535, config.mqtt.port);
    if (!settings.ok()) {
        error = settings.Error();
        return false;
    }
    config.agent.enabled = agentOn == 1;
    config.mqtt.enabled = mqttOn == 1;
    ReadText(file, QStringLiteral("machine/name"), config.machineName);
    config.mqtt.topicPrefix = QStringLiteral("kurvo/") + config.machineName;
    ReadText(file, QStringLiteral("agent/address"), config.agent.address);
    Mqtt& mqtt = config.mqtt;
    ReadText(file, QStringLiteral("mqtt/host"), mqtt.host);
    ReadText(file, QStringLiteral("mqtt/topicPrefix"), mqtt.topicPrefix);
    ReadText(file, QStringLiteral("mqtt/user"), mqtt.user);
    if (file.contains(QStringLiteral("mqtt/password")))
        mqtt.password = file.value(QStringLiteral("mqtt/password")).toString();
    ReadText(file, QStringLiteral("mqtt/caFile"), mqtt.caFile);
    ReadText(file, QStringLiteral("mqtt/certFile"), mqtt.certFile);
    ReadText(file, QStringLiteral("mqtt/keyFile"), mqtt.keyFile);
    error = Inconsistency(config, path);
    return error.isEmpty();
}
