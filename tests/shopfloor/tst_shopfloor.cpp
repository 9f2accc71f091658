// The shop floor's view of the machine: the MTConnect agent answering over HTTP, as it runs and
// as a job runs, MQTT status through a real broker, and their configuration.
#include "shopfloor/MTConnectAgent.h"
#include "shopfloor/ShopFloor.h"
#include "workbench/MachineWatch.h"
#include "workbench/Workbench.h"

#include "TestHost.h"
#include "WindowTest.h"

#include <QComboBox>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

struct Reply
{
    int status = 0; // 0 when none came
    QByteArray body;
};

// One request as an independent client sends it: the toolkit's own HTTP client, on a connection
// of its own.
Reply Get(quint16 port, const QByteArray& target, const QByteArray& method = "GET")
{
    QNetworkAccessManager client;
    client.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(
        QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port) + QString::fromLatin1(target)));
    request.setTransferTimeout(5000);
    std::unique_ptr<QNetworkReply> reply(client.sendCustomRequest(request, method));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

struct Element
{
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    QString attribute(const char* name) const
    {
        return attributes.value(QLatin1String(name)).toString();
    }
};

// The document's elements in order; empty when it is no well-formed XML.
QList<Element> Elements(const QByteArray& document)
{
    QList<Element> elements;
    QXmlStreamReader xml(document);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            elements.append({xml.qualifiedName().toString(), xml.attributes(), QString()});
        else if (xml.isCharacters() && !xml.isWhitespace() && !elements.isEmpty())
            elements.last().text += xml.text();
    }
    return xml.hasError() ? QList<Element>() : elements;
}

const Element* Find(const QList<Element>& elements, const QString& name)
{
    for (const Element& element : elements) {
        if (element.name == name)
            return &element;
    }
    return nullptr;
}

// The observations of a streams document, by data item: the value, or a condition's level.
QMap<QString, QString> Observed(const QList<Element>& elements)
{
    QMap<QString, QString> values;
    for (const Element& element : elements) {
        const QString item = element.attribute("dataItemId");
        if (!item.isEmpty() && element.name != QLatin1String("DataItem"))
            values[item] = item == QLatin1String("system") ? element.name : element.text;
    }
    return values;
}

QList<quint64> Sequences(const QList<Element>& elements)
{
    QList<quint64> sequences;
    for (const Element& element : elements) {
        if (!element.attribute("sequence").isEmpty())
            sequences << element.attribute("sequence").toULongLong();
    }
    std::sort(sequences.begin(), sequences.end());
    return sequences;
}

quint64 HeaderNumber(const QList<Element>& elements, const char* name)
{
    const Element* header = Find(elements, QStringLiteral("Header"));
    return header ? header->attribute(name).toULongLong() : 0;
}

quint16 FreePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

// A look with the window open and the machine at `x`.
MachineObservation LookAt(double x)
{
    MachineObservation seen;
    seen.windowOpen = true;
    seen.position = PathPoint3{x, 0, 0};
    return seen;
}

} // namespace

class TestShopFloor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Every request the vocabulary has, and those it has not, below the device's name too.
    void agentAnswersRequests_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("answer"); // the root, or the error's code

        const auto row = [](const char* name, const QByteArray& target, int status,
                            const char* answer, const char* method = "GET") {
            QTest::newRow(name) << QByteArray(method) << target << status << QString(answer);
        };
        row("probe", "/probe", 200, "MTConnectDevices");
        row("device's probe", "/m1/probe", 200, "MTConnectDevices");
        row("current", "/current", 200, "MTConnectStreams");
        row("sample", "/m1/sample?from=1&count=5", 200, "MTConnectStreams");
        row("other device", "/m2/current", 404, "NO_DEVICE");
        row("unknown request", "/assets", 404, "INVALID_URI");
        row("root", "/", 404, "INVALID_URI");
        row("deeper path", "/m1/x/current", 404, "INVALID_URI");
        row("from no number", "/sample?from=abc", 400, "INVALID_REQUEST");
        row("count none", "/sample?count=0", 400, "OUT_OF_RANGE");
        row("count beyond buffer", "/sample?count=65", 400, "OUT_OF_RANGE");
        row("from in the future", "/sample?from=99999", 400, "OUT_OF_RANGE");
        row("from negative", "/sample?from=-1", 400, "OUT_OF_RANGE");
        row("from past 64 bits", "/sample?from=99999999999999999999", 400, "INVALID_REQUEST");
        row("streaming", "/sample?interval=100", 400, "UNSUPPORTED");
        row("filter", "/current?path=//Axes", 400, "UNSUPPORTED");
        row("huge request", "/current?x=" + QByteArray(64 * 1024, 'a'), 414, "INVALID_REQUEST");
        row("writing", "/current", 405, "UNSUPPORTED", "PUT");
        row("deleting", "/probe", 405, "UNSUPPORTED", "DELETE");
    }
    void agentAnswersRequests()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, target);
        QFETCH(int, status);
        QFETCH(QString, answer);
        auto store = std::make_shared<ObservationStore>(64);
        MTConnectAgent agent(store, QStringLiteral("m1"));
        QString error;
        const std::optional<quint16> port = agent.Listen(QHostAddress::LocalHost, 0, error);
        QVERIFY2(port, qPrintable(error));

        const Reply reply = Get(*port, target, method);
        QCOMPARE(reply.status, status);
        const QList<Element> document = Elements(reply.body);
        QVERIFY2(!document.isEmpty(), reply.body.constData());
        if (status == 200) {
            QCOMPARE(document.constFirst().name, answer);
        } else {
            QCOMPARE(document.constFirst().name, QStringLiteral("MTConnectError"));
            QCOMPARE(Find(document, QStringLiteral("Error"))->attribute("errorCode"), answer);
        }
    }

    // The device as a dashboard reads it: the axes, the controller with its path, the laser;
    // every data item with a category, a type and an id of its own.
    void probeDescribesTheMachine()
    {
        auto store = std::make_shared<ObservationStore>(64);
        MTConnectAgent agent(store, QStringLiteral("laser-1"));
        QString error;
        const quint16 port = agent.Listen(QHostAddress::LocalHost, 0, error).value_or(0);
        const QList<Element> probe = Elements(Get(port, "/probe").body);

        QStringList components, types, ids;
        for (const Element& element : probe) {
            if (!element.attribute("id").isEmpty())
                ids << element.attribute("id");
            if (element.name == QLatin1String("DataItem")) {
                QVERIFY(QStringList({"SAMPLE", "EVENT", "CONDITION"})
                            .contains(element.attribute("category")));
                types << element.attribute("type");
            } else if (!element.attribute("id").isEmpty()) {
                components << element.name + QLatin1Char(' ') + element.attribute("name");
            }
        }
        QCOMPARE(components,
                 QStringList({"Device laser-1", "Axes base", "Linear X", "Linear Y", "Linear Z",
                              "Controller controller", "Path path", "x:Laser laser"}));
        for (const char* type :
             {"AVAILABILITY", "EXECUTION", "CONTROLLER_MODE", "PROGRAM", "LINE_NUMBER",
              "PART_COUNT", "PATH_POSITION", "PATH_FEEDRATE", "POSITION", "POWER_STATE", "SYSTEM"})
            QVERIFY2(types.contains(QLatin1String(type)), type);
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
        const Element* header = Find(probe, QStringLiteral("Header"));
        QCOMPARE(header->attribute("bufferSize"), QStringLiteral("64"));
        QCOMPARE(header->attribute("instanceId"), QString::number(store->InstanceId()));
    }

    // Sequence numbers as the standard counts them: /sample hands out consecutive windows, each
    // telling the next; once the buffer has turned over, what fell out of it is out of range;
    // /current keeps each item's latest, however old.
    void sampleWindowsFollowTheSequence()
    {
        auto store = std::make_shared<ObservationStore>(32);
        MTConnectAgent agent(store, QStringLiteral("m1"));
        QString error;
        const quint16 port = agent.Listen(QHostAddress::LocalHost, 0, error).value_or(0);
        MachineDevice::Reading reading;
        for (int step = 1; step <= 20; ++step) {
            MachineObservation seen = LookAt(step);
            seen.nowMs = step * 33;
            store->Record(reading.Read(seen, 1000 * step), 1000 * step);
        }
        const ObservationWindow bounds = store->Bounds();
        QVERIFY(bounds.lastSequence > 32);
        QCOMPARE(bounds.firstSequence, bounds.lastSequence - 31);

        QList<quint64> seen;
        quint64 from = bounds.firstSequence;
        while (from <= bounds.lastSequence) {
            const QList<Element> window
                = Elements(Get(port, "/sample?count=5&from=" + QByteArray::number(from)).body);
            const QList<quint64> sequences = Sequences(window);
            QVERIFY(!sequences.isEmpty() && sequences.size() <= 5);
            QCOMPARE(sequences.constFirst(), from);
            QCOMPARE(HeaderNumber(window, "nextSequence"), sequences.constLast() + 1);
            QCOMPARE(HeaderNumber(window, "firstSequence"), bounds.firstSequence);
            seen += sequences;
            from = HeaderNumber(window, "nextSequence");
        }
        QCOMPARE(qsizetype(seen.size()), qsizetype(32));
        QCOMPARE(from, bounds.lastSequence + 1);
        const QList<Element> atTheEnd
            = Elements(Get(port, "/sample?from=" + QByteArray::number(from)).body);
        QVERIFY(Sequences(atTheEnd).isEmpty());
        QCOMPARE(HeaderNumber(atTheEnd, "nextSequence"), from);
        const QByteArray fellOut = "/sample?from=" + QByteArray::number(bounds.firstSequence - 1);
        QCOMPARE(Get(port, fellOut).status, 400);

        const QList<Element> current = Elements(Get(port, "/current").body);
        QCOMPARE(Sequences(current).size(), qsizetype(MachineDevice::ItemCount));
        QCOMPARE(HeaderNumber(current, "nextSequence"), bounds.lastSequence + 1);
        const QMap<QString, QString> values = Observed(current);
        QCOMPARE(values["xpos"], QStringLiteral("20.000"));
        QCOMPARE(values["pathpos"], QStringLiteral("20.000 0.000 0.000"));
        QCOMPARE(values["avail"], QStringLiteral("AVAILABLE"));
        // A millimetre every 33 ms.
        QCOMPARE(values["feed"], QStringLiteral("30.3"));
        QCOMPARE(values["program"], QStringLiteral("UNAVAILABLE"));
    }

    // A streamed job as the agent tells it: active on its program, line and laser, the time
    // left from its plan; stopped after a Stop; a fault while the controller answers an error.
    void agentFollowsAJob()
    {
        // The module keeps its settings beside the application: here, this test's own folder.
        TestHost::WriteNeutralSettings(QCoreApplication::applicationDirPath()
                                           + QStringLiteral("/modules/Crd.ini"),
                                       CrdResourceRecord{1, 2, 1, 1, {}});
        rvsim_reset();
        auto workbench = std::make_unique<Workbench>(HostConfig::defaults());
        QString error;
        QVERIFY2(workbench->loadModule(QStringLiteral(KURVO_MODULE_PATH), error),
                 qPrintable(error));
        workbench->setDryRunExecutable(QStringLiteral(KURVO_WORKBENCH_PATH));
        workbench->setOpeningLanguage(LanguageEnglish);
        workbench->show();
        workbench->openOperatorWindow();
        ShopFloorConfig config = ShopFloorConfig::defaults();
        config.machineName = QStringLiteral("laser-1");
        config.agent.enabled = true;
        config.agent.port = 0;
        ShopFloor shopFloor(config);
        connect(workbench->machineWatch(), &MachineWatch::Observed, &shopFloor,
                &ShopFloor::Observe);
        QCOMPARE(shopFloor.Start(), QStringList());
        const quint16 port = shopFloor.AgentPort().value_or(0);
        const auto current = [port] {
            return Observed(Elements(Get(port, "/current").body));
        };
        QTRY_COMPARE(current()["avail"], QStringLiteral("AVAILABLE"));
        QCOMPARE(current()["execution"], QStringLiteral("READY"));

        rvsim_use_manual_clock(1);
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("job.nc"));
        QVERIFY(
            WriteFile(program, FeedProgram(6000, 100).replace("G1 F100", "G1 F100 H1").toUtf8()));
        auto* mode = workbench->findChild<QComboBox*>(WidgetNames::lookAheadModeCombo);
        mode->setCurrentIndex(mode->findText(QStringLiteral("Open")));
        workbench->openProgram(program);
        workbench->initialiseAndStart();
        rvsim_advance_ms(20);
        QTRY_COMPARE(current()["execution"], QStringLiteral("ACTIVE"));
        rvsim_advance_ms(200);
        QTRY_VERIFY(current()["line"].toInt() > 1);
        QTRY_COMPARE(current()["laser"], QStringLiteral("ON"));
        QTRY_VERIFY(current()["timeleft"].toDouble() > 0);
        QMap<QString, QString> running = current();
        QCOMPARE(running["program"], QStringLiteral("job.nc"));
        QCOMPARE(running["mode"], QStringLiteral("AUTOMATIC"));
        QVERIFY(running["progress"].toInt() < 100);

        rvsim_inject("MQN_CrdStatusEx", 7, -1);
        QTRY_COMPARE(current()["system"], QStringLiteral("Fault"));
        QVERIFY(Get(port, "/current").body.contains("nativeCode=\"7\""));
        rvsim_inject("MQN_CrdStatusEx", 0, 0);
        QTRY_COMPARE(current()["system"], QStringLiteral("Normal"));

        workbench->stopMotion();
        rvsim_advance_ms(500);
        QTRY_COMPARE(current()["execution"], QStringLiteral("STOPPED"));
        QCOMPARE(current()["partcount"], QStringLiteral("0"));
        rvsim_use_manual_clock(0);
    }

    // Through a real broker: the state retained under the machine's prefix, the last will when
    // the workbench is killed, and the state again once a broker is back after going away.
    void mqttPublishesTheState()
    {
        QTemporaryDir folder;
        const quint16 brokerPort = FreePort();
        const QString brokerConfig = folder.filePath(QStringLiteral("mosquitto.conf"));
        QVERIFY(WriteFile(brokerConfig, QStringLiteral("listener %1 127.0.0.1\nallow_anonymous "
                                                       "true\npersistence false\n")
                                            .arg(brokerPort)
                                            .toUtf8()));
        QProcess broker;
        const auto startBroker = [&] {
            broker.start(QStringLiteral("mosquitto"), {QStringLiteral("-c"), brokerConfig});
            return broker.waitForStarted() && WaitForPort(brokerPort);
        };
        QVERIFY(startBroker());
        const QString config = folder.filePath(QStringLiteral("host.ini"));
        QVERIFY(WriteFile(config, QStringLiteral("[machine]\nname=m1\n[mqtt]\nenabled=1\nhost="
                                                 "127.0.0.1\nport=%1\nuser=op\npassword=s3cret-"
                                                 "pw\n")
                                      .arg(brokerPort)
                                      .toUtf8()));
        QProcess workbench;
        const auto startWorkbench = [&] {
            workbench.start(QStringLiteral(KURVO_WORKBENCH_PATH),
                            {QStringLiteral("--config"), config, QStringLiteral("--lang"),
                             QStringLiteral("en")});
            return workbench.waitForStarted();
        };
        QVERIFY(startWorkbench());
        const auto retained = [brokerPort] {
            return RetainedState(brokerPort, "kurvo/m1/#");
        };
        QTRY_VERIFY_WITH_TIMEOUT(retained()["kurvo/m1/execution"] == QLatin1String("READY"), 20000);
        QMap<QString, QString> state = retained();
        QCOMPARE(state["kurvo/m1/connection"], QStringLiteral("online"));
        QCOMPARE(state["kurvo/m1/avail"], QStringLiteral("AVAILABLE"));
        QCOMPARE(state["kurvo/m1/pathpos"], QStringLiteral("0.000 0.000 0.000"));

        workbench.kill();
        workbench.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(retained()["kurvo/m1/connection"], QStringLiteral("offline"),
                                  20000);
        QVERIFY(!workbench.readAll().contains("s3cret-pw"));

        QVERIFY(startWorkbench());
        QTRY_COMPARE_WITH_TIMEOUT(retained()["kurvo/m1/connection"], QStringLiteral("online"),
                                  20000);
        broker.kill();
        broker.waitForFinished();
        QTest::qWait(500);
        QVERIFY(startBroker()); // a new broker, without the retained state
        QTRY_VERIFY_WITH_TIMEOUT(retained()["kurvo/m1/execution"] == QLatin1String("READY"), 20000);
        QCOMPARE(retained()["kurvo/m1/connection"], QStringLiteral("online"));
        workbench.terminate();
        QVERIFY(workbench.waitForFinished(20000));
        QCOMPARE(retained()["kurvo/m1/connection"], QStringLiteral("offline"));
        QVERIFY(!workbench.readAll().contains("s3cret-pw"));
        broker.kill();
        broker.waitForFinished();
    }

    // The groups are checked like the host's keys, and say what is wrong without the password.
    void configurationIsChecked_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("error"); // empty: accepted

        const auto row = [](const char* name, const char* groups, const char* error) {
            QTest::newRow(name) << QString(groups) << QString(error);
        };
        row("none", "", "");
        row("both",
            "[agent]\nenabled=1\naddress=0.0.0.0\nport=5001\n[mqtt]\n"
            "enabled=1\nhost=broker.local\ntopicPrefix=shop/hall-2/m1",
            "");
        row("agent on of two", "[agent]\nenabled=2", "agent/enabled = 2 is not");
        row("port past 65535", "[agent]\nport=70000", "agent/port = 70000 is not");
        row("tiny buffer", "[agent]\nbufferSize=4", "agent/bufferSize = 4 is not");
        row("address no address", "[agent]\naddress=anywhere",
            "agent/address = anywhere is not an IP address");
        row("broker nowhere", "[mqtt]\nenabled=1", "mqtt/host is needed");
        row("wildcard prefix", "[mqtt]\ntopicPrefix=shop/#",
            "mqtt/topicPrefix = shop/# is no topic");
        row("certificate without key", "[mqtt]\ncaFile=ca.pem\ncertFile=c.pem",
            "mqtt/certFile and mqtt/keyFile go together");
        row("name with a blank", "[machine]\nname=laser 1", "machine/name = laser 1 is not a name");
    }
    void configurationIsChecked()
    {
        QFETCH(QString, groups);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("host.ini"));
        QVERIFY(WriteFile(path, (groups + "\n[mqtt]\npassword=s3cret-pw\n").toUtf8()));
        ShopFloorConfig config;
        QString said;
        QCOMPARE(ShopFloorConfig::load(path, config, said), error.isEmpty());
        QVERIFY2(said.contains(error), qPrintable(said));
        QVERIFY(!said.contains(QLatin1String("s3cret-pw")));
        if (QTest::currentDataTag() == QLatin1String("none")) {
            QVERIFY(!config.agent.enabled && !config.mqtt.enabled);
            QCOMPARE(config.agent.address, QStringLiteral("127.0.0.1"));
            QCOMPARE(config.agent.port, 5000);
            QCOMPARE(config.mqtt.port, 1883);
            QCOMPARE(config.mqtt.topicPrefix, QStringLiteral("kurvo/") + config.machineName);
            QCOMPARE(config.mqtt.password, QStringLiteral("s3cret-pw"));
        }
    }

private:
    static bool WaitForPort(quint16 port)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(100))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // What the broker holds retained under `filter`, as a subscriber who comes now receives it.
    static QMap<QString, QString> RetainedState(quint16 port, const char* filter)
    {
        QProcess subscriber;
        subscriber.start(QStringLiteral("mosquitto_sub"),
                         {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                          QString::number(port), QStringLiteral("-t"), QLatin1String(filter),
                          QStringLiteral("-v"), QStringLiteral("--retained-only"),
                          QStringLiteral("-W"), QStringLiteral("1")});
        subscriber.waitForFinished(5000);
        QMap<QString, QString> state;
        for (const QByteArray& line : subscriber.readAllStandardOutput().split('\n')) {
            const qsizetype blank = line.indexOf(' ');
            if (blank > 0)
                state[QString::fromUtf8(line.left(blank))] = QString::fromUtf8(line.mid(blank + 1));
        }
        return state;
    }
};

QTEST_MAIN(TestShopFloor)
#include "tst_shopfloor.moc"
