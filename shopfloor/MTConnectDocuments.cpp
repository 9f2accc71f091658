#include "shopfloor/MTConnectDocuments.h"

#include <QDateTime>
#include <QXmlStreamWriter>

namespace MTConnectDocuments {

namespace {

using namespace MachineDevice;

constexpr char version[] = "1.7.0";

QString Timestamp(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC).toString(Qt::ISODateWithMs);
}

// Writes one document: the root in the standard's namespace and the workbench's own beside
// it, the header with `attributes` of this kind of document after the common ones, then `body`.
template <typename Attributes, typename Body>
QByteArray Document(const char* kind, const Agent& agent, qint64 utcMs, Attributes attributes,
                    Body body)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    const QString root = QStringLiteral("MTConnect") + QLatin1String(kind);
    const QString standard = QStringLiteral("urn:mtconnect.org:%1:1.7").arg(root);
    xml.writeStartElement(root);
    xml.writeDefaultNamespace(standard);
    xml.writeNamespace(standard, QStringLiteral("m"));
    xml.writeNamespace(QStringLiteral("urn:kurvo:%1:1.7").arg(root), QStringLiteral("x"));
    xml.writeStartElement(QStringLiteral("Header"));
    xml.writeAttribute(QStringLiteral("creationTime"),
                       QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC).toString(Qt::ISODate));
    xml.writeAttribute(QStringLiteral("sender"), agent.sender);
    xml.writeAttribute(QStringLiteral("instanceId"), QString::number(agent.instanceId));
    xml.writeAttribute(QStringLiteral("version"), QLatin1String(version));
    xml.writeAttribute(QStringLiteral("bufferSize"), QString::number(agent.bufferSize));
    attributes(xml);
    xml.writeEndElement();
    body(xml);
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

void WriteOptional(QXmlStreamWriter& xml, const char* name, const char* value)
{
    if (*value)
        xml.writeAttribute(QLatin1String(name), QLatin1String(value));
}

const char* CategoryName(Category category)
{
    switch (category) {
    case Category::Sample:
        return "SAMPLE";
    case Category::Event:
        return "EVENT";
    case Category::Condition:
        break;
    }
    return "CONDITION";
}

void WriteDataItems(QXmlStreamWriter& xml, int component)
{
    bool any = false;
    for (const DataItem& item : DataItems()) {
        if (item.component != component)
            continue;
        if (!any)
            xml.writeStartElement(QStringLiteral("DataItems"));
        any = true;
        xml.writeEmptyElement(QStringLiteral("DataItem"));
        xml.writeAttribute(QStringLiteral("category"), QLatin1String(CategoryName(item.category)));
        xml.writeAttribute(QStringLiteral("id"), QLatin1String(item.id));
        xml.writeAttribute(QStringLiteral("name"), QLatin1String(item.id));
        xml.writeAttribute(QStringLiteral("type"), QLatin1String(item.type));
        WriteOptional(xml, "subType", item.subType);
        WriteOptional(xml, "units", item.units);
    }
    if (any)
        xml.writeEndElement();
}

void WriteComponent(QXmlStreamWriter& xml, int index, const Agent& agent)
{
    const Component& component = Components()[std::size_t(index)];
    xml.writeStartElement(QLatin1String(component.element));
    xml.writeAttribute(QStringLiteral("id"), QLatin1String(component.id));
    if (index == 0) {
        xml.writeAttribute(QStringLiteral("name"), agent.deviceName);
        xml.writeAttribute(QStringLiteral("uuid"), QStringLiteral("kurvo-") + agent.deviceName);
        xml.writeTextElement(QStringLiteral("Description"),
                             QStringLiteral("Kurvo workbench driving one coordinate system of a "
                                            "motion controller"));
    } else {
        xml.writeAttribute(QStringLiteral("name"), QLatin1String(component.name));
    }
    WriteDataItems(xml, index);
    bool any = false;
    for (std::size_t child = 0; child < Components().size(); ++child) {
        if (Components()[child].parent != index)
            continue;
        if (!any)
            xml.writeStartElement(QStringLiteral("Components"));
        any = true;
        WriteComponent(xml, int(child), agent);
    }
    if (any)
        xml.writeEndElement();
    xml.writeEndElement();
}

void WriteObservation(QXmlStreamWriter& xml, const Observation& observation)
{
    const DataItem& item = DataItems()[std::size_t(observation.item)];
    const Value& value = observation.value;
    const bool condition = item.category == Category::Condition;
    const QString element = condition ? ElementOf(qPrintable(value.text)) : ElementOf(item.type);
    xml.writeStartElement(element);
    xml.writeAttribute(QStringLiteral("dataItemId"), QLatin1String(item.id));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(item.id));
    xml.writeAttribute(QStringLiteral("sequence"), QString::number(observation.sequence));
    xml.writeAttribute(QStringLiteral("timestamp"), Timestamp(observation.utcMs));
    WriteOptional(xml, "subType", item.subType);
    if (condition) {
        xml.writeAttribute(QStringLiteral("type"), QLatin1String(item.type));
        if (!value.nativeCode.isEmpty())
            xml.writeAttribute(QStringLiteral("nativeCode"), value.nativeCode);
        if (!value.message.isEmpty())
            xml.writeCharacters(value.message);
    } else {
        xml.writeCharacters(value.text);
    }
    xml.writeEndElement();
}

void WriteComponentStream(QXmlStreamWriter& xml, int index, const Agent& agent,
                          const std::vector<Observation>& observations)
{
    const Component& component = Components()[std::size_t(index)];
    QString element = QLatin1String(component.element);
    element.remove(QStringLiteral("x:"));
    xml.writeStartElement(QStringLiteral("ComponentStream"));
    xml.writeAttribute(QStringLiteral("component"), element);
    xml.writeAttribute(QStringLiteral("name"),
                       index == 0 ? agent.deviceName : QLatin1String(component.name));
    xml.writeAttribute(QStringLiteral("componentId"), QLatin1String(component.id));
    const std::pair<Category, const char*> groups[] = {{Category::Sample, "Samples"},
                                                       {Category::Event, "Events"},
                                                       {Category::Condition, "Condition"}};
    for (const auto& [category, group] : groups) {
        bool any = false;
        for (const Observation& observation : observations) {
            const DataItem& item = DataItems()[std::size_t(observation.item)];
            if (item.component != index || item.category != category)
                continue;
            if (!any)
                xml.writeStartElement(QLatin1String(group));
            any = true;
            WriteObservation(xml, observation);
        }
        if (any)
            xml.writeEndElement();
    }
    xml.writeEndElement();
}

} // namespace

QByteArray Probe(const Agent& agent, qint64 utcMs)
{
    return Document(
        "Devices", agent, utcMs,
        [](QXmlStreamWriter& xml) {
            xml.writeAttribute(QStringLiteral("assetBufferSize"), QStringLiteral("0"));
            xml.writeAttribute(QStringLiteral("assetCount"), QStringLiteral("0"));
        },
        [&agent](QXmlStreamWriter& xml) {
            xml.writeStartElement(QStringLiteral("Devices"));
            WriteComponent(xml, 0, agent);
            xml.writeEndElement();
        });
}

QByteArray Streams(const Agent& agent, const ObservationWindow& window, qint64 utcMs)
{
    return Document(
        "Streams", agent, utcMs,
        [&window](QXmlStreamWriter& xml) {
            xml.writeAttribute(QStringLiteral("nextSequence"),
                               QString::number(window.nextSequence));
            xml.writeAttribute(QStringLiteral("firstSequence"),
                               QString::number(window.firstSequence));
            xml.writeAttribute(QStringLiteral("lastSequence"),
                               QString::number(window.lastSequence));
        },
        [&](QXmlStreamWriter& xml) {
            xml.writeStartElement(QStringLiteral("Streams"));
            xml.writeStartElement(QStringLiteral("DeviceStream"));
            xml.writeAttribute(QStringLiteral("name"), agent.deviceName);
            xml.writeAttribute(QStringLiteral("uuid"), QStringLiteral("kurvo-") + agent.deviceName);
            std::vector<bool> reported(Components().size());
            for (const Observation& observation : window.observations)
                reported[std::size_t(DataItems()[std::size_t(observation.item)].component)] = true;
            for (std::size_t component = 0; component < Components().size(); ++component) {
                if (reported[component])
                    WriteComponentStream(xml, int(component), agent, window.observations);
            }
            xml.writeEndElement();
            xml.writeEndElement();
        });
}

QByteArray Error(const Agent& agent, const char* code, const QString& text, qint64 utcMs)
{
    return Document(
        "Error", agent, utcMs, [](QXmlStreamWriter&) {},
        [&](QXmlStreamWriter& xml) {
            xml.writeStartElement(QStringLiteral("Errors"));
            xml.writeStartElement(QStringLiteral("Error"));
            xml.writeAttribute(QStringLiteral("errorCode"), QLatin1String(code));
            xml.writeCharacters(text);
            xml.writeEndElement();
            xml.writeEndElement();
        });
}

} // namespace MTConnectDocuments
