#ifndef KURVO_SHOPFLOOR_SHOPFLOORCONFIG_H
#define KURVO_SHOPFLOOR_SHOPFLOORCONFIG_H

#include <QString>

// How the workbench is seen from the shop floor, from its configuration file: both ways are off
// unless the file enables them.
struct ShopFloorConfig
{
    // The machine's name: the MTConnect device's and the last part of the MQTT topic prefix.
    QString machineName;

    struct Agent
    {
        bool enabled = false;
        QString address = QStringLiteral("127.0.0.1");
        int port = 5000; // 0: any free port
        int bufferSize = 4096;
    } agent;

    struct Mqtt
    {
        bool enabled = false;
        QString host;
        int port = 1883;
        QString topicPrefix; // "kurvo/<machine name>" unless set
        QString user;
        QString password; // never shown
        QString caFile;   // TLS when set
        QString certFile;
        QString keyFile;
    } mqtt;

    // Off, and named after this computer.
    static ShopFloorConfig defaults();
    // The defaults overridden by the [machine], [agent] and [mqtt] groups of `path`; false with
    // `error` set when a value is out of its range or the groups do not fit together.
    static bool load(const QString& path, ShopFloorConfig& config, QString& error);
};

#endif
