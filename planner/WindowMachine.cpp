#include "planner/WindowMachine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

constexpr char format[] = "kurvo-window-machine";
constexpr int version = 1;

template <typename Number, std::size_t N> QJsonArray array(const Number (&values)[N])
{
    QJsonArray json;
    for (const Number value : values)
        json.append(double(value));
    return json;
}

// Reads the fields of one object, each checked; the first problem is kept, with the field's name.
class Fields
{
public:
    Fields(const QJsonObject& object, QString path, QString& error)
        : fields(object)
        , path(std::move(path))
        , error(error)
    {}

    template <typename Whole> void whole(const char* key, Whole& out)
    {
        const QJsonValue value = take(key);
        if (!ok())
            return;
        if (!isWhole<Whole>(value))
            fail(key, QStringLiteral("is no whole number from %1 to %2")
                          .arg(std::numeric_limits<Whole>::min())
                          .arg(std::numeric_limits<Whole>::max()));
        else
            out = Whole(value.toDouble());
    }

    void real(const char* key, double& out)
    {
        const QJsonValue value = take(key);
        if (ok() && !(value.isDouble() && std::isfinite(value.toDouble())))
            fail(key, QStringLiteral("is no finite number"));
        else if (ok())
            out = value.toDouble();
    }

    void flag(const char* key, bool& out)
    {
        const QJsonValue value = take(key);
        if (ok() && !value.isBool())
            fail(key, QStringLiteral("is neither true nor false"));
        else if (ok())
            out = value.toBool();
    }

    template <typename Number, std::size_t N> void numbers(const char* key, Number (&out)[N])
    {
        const QJsonValue value = take(key);
        if (!ok())
            return;
        const QJsonArray items = value.toArray();
        if (!value.isArray() || items.size() != qsizetype(N)) {
            fail(key, QStringLiteral("is no list of %1 numbers").arg(N));
            return;
        }
        for (std::size_t i = 0; i < N && ok(); ++i) {
            const QJsonValue item = items[qsizetype(i)];
            const bool fits = std::is_integral_v<Number>
                                  ? isWhole<Number>(item)
                                  : item.isDouble() && std::isfinite(item.toDouble());
            if (fits)
                out[i] = Number(item.toDouble());
            else
                fail(key, QStringLiteral("has an entry %1 out of its range").arg(i));
        }
    }

    QJsonObject object(const char* key)
    {
        const QJsonValue value = take(key);
        if (ok() && !value.isObject())
            fail(key, QStringLiteral("is no object"));
        return value.toObject();
    }

    // A field checked elsewhere.
    void known(const char* key) { read.insert(QLatin1String(key)); }

    // After the reads: a field nobody read is refused too.
    void noOthers()
    {
        for (const QString& key : fields.keys()) {
            if (ok() && !read.contains(key))
                fail(qPrintable(key), QStringLiteral("is no field of this format"));
        }
    }

    bool ok() const { return error.isEmpty(); }

private:
    template <typename Whole> static bool isWhole(const QJsonValue& value)
    {
        const double number = value.toDouble();
        return value.isDouble() && number == std::trunc(number)
               && number >= double(std::numeric_limits<Whole>::min())
               && number <= double(std::numeric_limits<Whole>::max());
    }

    QJsonValue take(const char* key)
    {
        read.insert(QLatin1String(key));
        if (ok() && !fields.contains(QLatin1String(key)))
            fail(key, QStringLiteral("is missing"));
        return fields.value(QLatin1String(key));
    }

    void fail(const char* key, const QString& what)
    {
        error = QStringLiteral("%1%2 %3").arg(path, QLatin1String(key), what);
    }

    QJsonObject fields;
    QString path;
    QString& error;
    QSet<QString> read;
};

QJsonObject crdPrmJson(const CrdPrm& prm)
{
    return {{QStringLiteral("dimension"), prm.dimension},
            {QStringLiteral("profile"), array(prm.profile)},
            {QStringLiteral("synVelMax"), prm.synVelMax},
            {QStringLiteral("synAccMax"), prm.synAccMax},
            {QStringLiteral("evenTime"), prm.evenTime},
            {QStringLiteral("setOriginFlag"), prm.setOriginFlag},
            {QStringLiteral("originPos"), array(prm.originPos)}};
}

void readCrdPrm(Fields fields, CrdPrm& prm)
{
    fields.whole("dimension", prm.dimension);
    fields.numbers("profile", prm.profile);
    fields.real("synVelMax", prm.synVelMax);
    fields.real("synAccMax", prm.synAccMax);
    fields.whole("evenTime", prm.evenTime);
    fields.whole("setOriginFlag", prm.setOriginFlag);
    fields.numbers("originPos", prm.originPos);
    fields.noOthers();
}

QJsonObject lookAheadJson(const LookAheadPrmEx& prm)
{
    return {{QStringLiteral("N"), prm.N},
            {QStringLiteral("T"), prm.T},
            {QStringLiteral("RadiusRatio"), prm.RadiusRatio},
            {QStringLiteral("VMax"), array(prm.VMax)},
            {QStringLiteral("AMax"), array(prm.AMax)},
            {QStringLiteral("DVMax"), array(prm.DVMax)},
            {QStringLiteral("Scale"), array(prm.Scale)},
            {QStringLiteral("axisMap"), array(prm.axisMap)}};
}

void readLookAhead(Fields fields, LookAheadPrmEx& prm)
{
    fields.whole("N", prm.N);
    fields.real("T", prm.T);
    fields.real("RadiusRatio", prm.RadiusRatio);
    fields.numbers("VMax", prm.VMax);
    fields.numbers("AMax", prm.AMax);
    fields.numbers("DVMax", prm.DVMax);
    fields.numbers("Scale", prm.Scale);
    fields.numbers("axisMap", prm.axisMap);
    fields.noOthers();
}

} // namespace

std::optional<WindowMachine> WindowMachine::Read(short core, short crd, short fifo,
                                                 bool tableLookAheadOpen)
{
    WindowMachine machine;
    machine.core = core;
    machine.tableLookAheadOpen = tableLookAheadOpen;
    if (MQN_GetCrdPrm(core, crd, &machine.record) != 0 || machine.record.dimension < 1
        || MQN_GetCrdMapBase(core, crd, &machine.mapBase) != 0)
        return std::nullopt;
    machine.lookAhead = MQN_GetLookAheadParaEx(core, crd, fifo, &machine.lookAheadRecord, 0) == 0
                        && machine.lookAheadRecord.N > 0;
    if (MQN_GetCrdJerk(core, crd, &machine.jerk) != 0)
        machine.jerk = 0;
    return machine;
}

QByteArray WindowMachine::Encoded() const
{
    const QJsonObject json{{QStringLiteral("format"), QLatin1String(format)},
                           {QStringLiteral("version"), version},
                           {QStringLiteral("core"), core},
                           {QStringLiteral("mapBase"), mapBase},
                           {QStringLiteral("crdPrm"), crdPrmJson(record)},
                           {QStringLiteral("lookAhead"), lookAhead},
                           {QStringLiteral("lookAheadPrm"), lookAheadJson(lookAheadRecord)},
                           {QStringLiteral("jerk"), jerk},
                           {QStringLiteral("tableLookAheadOpen"), tableLookAheadOpen}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

std::optional<WindowMachine> WindowMachine::Decoded(const QByteArray& text, QString& error)
{
    error.clear();
    QJsonParseError parsing{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &parsing);
    if (!document.isObject()) {
        error = QStringLiteral("the window machine is no JSON object (%1)")
                    .arg(parsing.error == QJsonParseError::NoError ? QStringLiteral("not an object")
                                                                   : parsing.errorString());
        return std::nullopt;
    }
    const QJsonObject json = document.object();
    if (json.value(QStringLiteral("format")) != QLatin1String(format)
        || json.value(QStringLiteral("version")) != version) {
        error = QStringLiteral("the window machine is not of format %1, version %2")
                    .arg(QLatin1String(format))
                    .arg(version);
        return std::nullopt;
    }
    WindowMachine machine;
    Fields fields(json, QString(), error);
    fields.known("format");
    fields.known("version");
    fields.whole("core", machine.core);
    fields.whole("mapBase", machine.mapBase);
    const QJsonObject crdPrm = fields.object("crdPrm");
    if (fields.ok())
        readCrdPrm(Fields(crdPrm, QStringLiteral("crdPrm."), error), machine.record);
    fields.flag("lookAhead", machine.lookAhead);
    const QJsonObject lookAheadPrm = fields.object("lookAheadPrm");
    if (fields.ok())
        readLookAhead(Fields(lookAheadPrm, QStringLiteral("lookAheadPrm."), error),
                      machine.lookAheadRecord);
    fields.real("jerk", machine.jerk);
    fields.flag("tableLookAheadOpen", machine.tableLookAheadOpen);
    fields.noOthers();
    if (!fields.ok())
        return std::nullopt;
    return machine;
}
