#include "phonesim/state_json.h"

#include "phonesim/sms_pdu.h"

#include <QFile>

namespace phonesim {

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
