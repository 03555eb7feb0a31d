#include "phonesim/state_json.h"

#include "phonesim/sms_pdu.h"

#include <QFile>

#include <QJsonDocument>

namespace phonesim {

namespace {

void ReadMessages(Reader& reader, const QJsonValue& value, const QString& path, MessageStore& store)
{
    QJsonObject object;
    if (!reader.object(value, path, {"total", "entries"}, object))
        return;
    reader.integer(object, "total", path, store.total, 0, kMaxIndex);
    ReadEntries(reader, object, path, store.entries, 1, kMaxIndex, {"index", "stat", "name", "number", "text", "time", "pdu"},
        [&](const QJsonObject& entryObject, const QString& itemPath, StoredMessage& message) {
            QString pdu;
            reader.integer(entryObject, "stat", itemPath, message.stat, 0, 3);
            reader.string(entryObject, "name", itemPath, message.alpha);
            reader.string(entryObject, "number", itemPath, message.number);
            reader.string(entryObject, "text", itemPath, message.text);
            reader.dateTime(entryObject, "time", itemPath, message.time);
            reader.string(entryObject, "pdu", itemPath, pdu);
            if (!reader.ok())
                return;
            if (!pdu.isEmpty()) {
                message.pdu = pdu.toLatin1().toUpper();
                if (TpduLength(message.pdu) < 0 || QByteArray::fromHex(message.pdu).toHex().toUpper() != message.pdu) {
                    reader.fail(QStringLiteral("%1.pdu: expected hexadecimal octets").arg(itemPath));
                    return;
                }
            } else if (!message.number.isEmpty() || !message.text.isEmpty()) {
                message.pdu = message.stat >= 2 ? MakeSubmitPdu(message.number, message.text)
                                                : MakeDeliverPdu(message.number, message.text, message.time);
            } else {
                reader.fail(QStringLiteral("%1: needs a pdu, or a number and a text").arg(itemPath));
                return;
            }
            if (int(store.entries.size()) >= store.total)
                reader.fail(QStringLiteral("%1: more messages than the storage holds").arg(itemPath));
        });
}

QJsonObject MessagesJson(const MessageStore& store)
{
    const QJsonArray entries = EntriesJson(store.entries, [](const StoredMessage& message) {
        QJsonObject entry {{"stat", message.stat}, {"pdu", QString::fromLatin1(message.pdu)}};
        if (!message.alpha.isEmpty())
            entry.insert(QStringLiteral("name"), message.alpha);
        if (!message.number.isEmpty())
            entry.insert(QStringLiteral("number"), message.number);
        if (!message.text.isEmpty())
            entry.insert(QStringLiteral("text"), message.text);
        if (message.time.isValid())
            entry.insert(QStringLiteral("time"), message.time.toString(Qt::ISODate));
        return entry;
    });
    return {{"total", store.total}, {"entries", entries}};
}

} // namespace

bool ReadStateRoot(const QByteArray& json, Reader& reader, std::initializer_list<const char*> members, QJsonObject& root,
    QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        if (error)
            *error = QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }
    return reader.object(document.isObject() ? QJsonValue(document.object()) : QJsonValue(), QStringLiteral("state"), members,
        root);
}

void ReadMessageStorages(Reader& reader, const QJsonObject& root, PhoneState& state)
{
    if (!root.contains(QLatin1String("messages")))
        return;
    const QString path = QStringLiteral("state.messages");
    QJsonObject object;
    if (!reader.object(root.value(QLatin1String("messages")), path, {"handset", "sim"}, object))
        return;
    if (object.contains(QLatin1String("handset")))
        ReadMessages(reader, object.value(QLatin1String("handset")), path + QStringLiteral(".handset"), state.handsetMessages);
    if (object.contains(QLatin1String("sim")))
        ReadMessages(reader, object.value(QLatin1String("sim")), path + QStringLiteral(".sim"), state.simMessages);
}

QJsonObject MessageStoragesJson(const PhoneState& state)
{
    return {{"handset", MessagesJson(state.handsetMessages)}, {"sim", MessagesJson(state.simMessages)}};
}

bool LoadStateFile(const QString& path, PhoneState& state, QString* error,
    bool (*parse)(const QByteArray& json, PhoneState& state, QString* error))
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QString reason;
    if (!parse(file.readAll(), state, &reason)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, reason);
        return false;
    }
    return true;
}

} // namespace phonesim
