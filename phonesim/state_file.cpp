#include "phonesim/state_file.h"

#include "phonesim/sms_pdu.h"
#include "platform/folders.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <initializer_list>

namespace phonesim {

namespace {

constexpr int kMaxIndex = 9999;

// Reads members strictly: each getter leaves its target alone when the member is missing and
// records the first error, naming the place, when it has the wrong type.
class Reader {
public:
    explicit Reader(QString* error) : m_error(error) {}

    bool ok() const { return m_ok; }

    bool fail(const QString& message)
    {
        if (m_ok && m_error)
            *m_error = message;
        m_ok = false;
        return false;
    }

    bool object(const QJsonValue& value, const QString& path, std::initializer_list<const char*> members, QJsonObject& out)
    {
        if (!value.isObject())
            return fail(QStringLiteral("%1: expected an object").arg(path));
        out = value.toObject();
        for (auto it = out.begin(); it != out.end(); ++it) {
            bool known = false;
            for (const char* member : members)
                known = known || it.key() == QLatin1String(member);
            if (!known)
                return fail(QStringLiteral("%1: unknown member \"%2\"").arg(path, it.key()));
        }
        return true;
    }

    void integer(const QJsonObject& object, const char* key, const QString& path, int& out, int min, int max)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || !m_ok)
            return;
        const double number = value.toDouble(NAN);
        if (!value.isDouble() || std::floor(number) != number || number < min || number > max) {
            fail(QStringLiteral("%1.%2: expected a whole number from %3 to %4").arg(path, QLatin1String(key)).arg(min).arg(max));
            return;
        }
        out = int(number);
    }

    void string(const QJsonObject& object, const char* key, const QString& path, QString& out)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || !m_ok)
            return;
        if (!value.isString()) {
            fail(QStringLiteral("%1.%2: expected a string").arg(path, QLatin1String(key)));
            return;
        }
        out = value.toString();
    }

    void boolean(const QJsonObject& object, const char* key, const QString& path, bool& out)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || !m_ok)
            return;
        if (!value.isBool()) {
            fail(QStringLiteral("%1.%2: expected true or false").arg(path, QLatin1String(key)));
            return;
        }
        out = value.toBool();
    }

    void dateTime(const QJsonObject& object, const char* key, const QString& path, QDateTime& out)
    {
        QString text;
        string(object, key, path, text);
        if (text.isEmpty() || !m_ok)
            return;
        QDateTime parsed = QDateTime::fromString(text, Qt::ISODate);
        if (!parsed.isValid()) {
            fail(QStringLiteral("%1.%2: expected a date and time like 2004-03-07T09:05").arg(path, QLatin1String(key)));
            return;
        }
        parsed.setTimeSpec(Qt::LocalTime);
        out = parsed;
    }

    // The members of an array, each checked by `each` with its path.
    template <typename Each>
    void array(const QJsonObject& object, const char* key, const QString& path, Each each)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || !m_ok)
            return;
        if (!value.isArray()) {
            fail(QStringLiteral("%1.%2: expected an array").arg(path, QLatin1String(key)));
            return;
        }
        const QJsonArray items = value.toArray();
        for (qsizetype i = 0; i < items.size() && m_ok; ++i)
            each(items[i], QStringLiteral("%1.%2[%3]").arg(path, QLatin1String(key)).arg(i));
    }

    // The index of an entry: within the store's range and not taken yet.
    template <typename Map>
    bool index(const QJsonObject& object, const QString& path, int first, int last, const Map& entries, int& out)
    {
        out = -1;
        integer(object, "index", path, out, first, last);
        if (!m_ok)
            return false;
        if (out < 0)
            return fail(QStringLiteral("%1.index: missing").arg(path));
        if (entries.count(out))
            return fail(QStringLiteral("%1.index: %2 is given twice").arg(path).arg(out));
        return true;
    }

private:
    QString* m_error;
    bool m_ok = true;
};

void ReadRange(Reader& reader, const QJsonObject& object, const QString& path, int& first, int& last)
{
    reader.integer(object, "first", path, first, 0, kMaxIndex);
    reader.integer(object, "last", path, last, 0, kMaxIndex);
    if (reader.ok() && last < first)
        reader.fail(QStringLiteral("%1: last comes before first").arg(path));
}

void ReadBook(Reader& reader, const QJsonValue& value, const QString& path, Book& book, bool sim)
{
    QJsonObject object;
    const bool parsed = sim
        ? reader.object(value, path, {"first", "last", "numberLength", "nameLength", "fdn", "entries"}, object)
        : reader.object(value, path,
              {"first", "last", "numberLength", "nameLength", "emailLength", "memoLength", "entries"}, object);
    if (!parsed)
        return;
    ReadRange(reader, object, path, book.first, book.last);
    reader.integer(object, "numberLength", path, book.numberLength, 0, 255);
    reader.integer(object, "nameLength", path, book.nameLength, 0, 255);
    if (!sim) {
        reader.integer(object, "emailLength", path, book.emailLength, 0, 255);
        reader.integer(object, "memoLength", path, book.memoLength, 0, 1024);
    }
    book.entries.clear();
    reader.array(object, "entries", path, [&](const QJsonValue& item, const QString& itemPath) {
        QJsonObject entryObject;
        const bool ok = sim ? reader.object(item, itemPath, {"index", "group", "name", "number"}, entryObject)
                            : reader.object(item, itemPath,
                                  {"index", "group", "name", "mobile", "home", "office", "email", "memo"}, entryObject);
        int index = -1;
        if (!ok || !reader.index(entryObject, itemPath, book.first, book.last, book.entries, index))
            return;
        BookEntry entry;
        reader.integer(entryObject, "group", itemPath, entry.group, 0, PhoneState::kGroupCount - 1);
        reader.string(entryObject, "name", itemPath, entry.name);
        reader.string(entryObject, sim ? "number" : "mobile", itemPath, entry.mobile);
        if (!sim) {
            reader.string(entryObject, "home", itemPath, entry.home);
            reader.string(entryObject, "office", itemPath, entry.office);
            reader.string(entryObject, "email", itemPath, entry.email);
            reader.string(entryObject, "memo", itemPath, entry.memo);
        }
        book.entries[index] = entry;
    });
}

void ReadMessages(Reader& reader, const QJsonValue& value, const QString& path, MessageStore& store)
{
    QJsonObject object;
    if (!reader.object(value, path, {"total", "entries"}, object))
        return;
    reader.integer(object, "total", path, store.total, 0, kMaxIndex);
    store.entries.clear();
    reader.array(object, "entries", path, [&](const QJsonValue& item, const QString& itemPath) {
        QJsonObject entryObject;
        int index = -1;
        if (!reader.object(item, itemPath, {"index", "stat", "name", "number", "text", "time", "pdu"}, entryObject)
            || !reader.index(entryObject, itemPath, 1, kMaxIndex, store.entries, index))
            return;
        StoredMessage message;
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
        if (int(store.entries.size()) >= store.total) {
            reader.fail(QStringLiteral("%1: more messages than the storage holds").arg(itemPath));
            return;
        }
        store.entries[index] = message;
    });
}

QJsonArray GroupsJson(const QStringList& groups)
{
    QJsonArray array;
    for (const QString& name : groups)
        array.append(name);
    return array;
}

QJsonObject MessagesJson(const MessageStore& store)
{
    QJsonArray entries;
    for (const auto& [index, message] : store.entries) {
        QJsonObject entry {{"index", index}, {"stat", message.stat}, {"pdu", QString::fromLatin1(message.pdu)}};
        if (!message.alpha.isEmpty())
            entry.insert(QStringLiteral("name"), message.alpha);
        if (!message.number.isEmpty())
            entry.insert(QStringLiteral("number"), message.number);
        if (!message.text.isEmpty())
            entry.insert(QStringLiteral("text"), message.text);
        if (message.time.isValid())
            entry.insert(QStringLiteral("time"), message.time.toString(Qt::ISODate));
        entries.append(entry);
    }
    return {{"total", store.total}, {"entries", entries}};
}

} // namespace

bool ParsePhoneState(const QByteArray& json, PhoneState& state, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        if (error)
            *error = QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }

    PhoneState loaded = state;
    Reader reader(error);
    QJsonObject root;
    if (!reader.object(document.isObject() ? QJsonValue(document.object()) : QJsonValue(), QStringLiteral("state"),
            {"groups", "handset", "sim", "schedules", "memos", "messages"}, root))
        return false;

    if (root.contains(QLatin1String("groups"))) {
        const QJsonValue groups = root.value(QLatin1String("groups"));
        if (!groups.isArray() || groups.toArray().size() > PhoneState::kGroupCount)
            return reader.fail(QStringLiteral("state.groups: expected an array of up to seven names"));
        loaded.groups.clear();
        for (const QJsonValue& name : groups.toArray()) {
            if (!name.isString())
                return reader.fail(QStringLiteral("state.groups: expected names"));
            loaded.groups << name.toString();
        }
    }
    if (root.contains(QLatin1String("handset")))
        ReadBook(reader, root.value(QLatin1String("handset")), QStringLiteral("state.handset"), loaded.handset, false);
    if (root.contains(QLatin1String("sim"))) {
        ReadBook(reader, root.value(QLatin1String("sim")), QStringLiteral("state.sim"), loaded.sim, true);
        if (reader.ok())
            reader.boolean(root.value(QLatin1String("sim")).toObject(), "fdn", QStringLiteral("state.sim"), loaded.fdn);
    }

    if (root.contains(QLatin1String("schedules"))) {
        const QString path = QStringLiteral("state.schedules");
        QJsonObject object;
        if (reader.object(root.value(QLatin1String("schedules")), path, {"first", "last", "textLength", "entries"}, object)) {
            ScheduleStore& store = loaded.schedules;
            ReadRange(reader, object, path, store.first, store.last);
            reader.integer(object, "textLength", path, store.textLength, 0, 1024);
            store.entries.clear();
            reader.array(object, "entries", path, [&](const QJsonValue& item, const QString& itemPath) {
                QJsonObject entry;
                int index = -1;
                if (!reader.object(item, itemPath, {"index", "start", "repeat", "alarm", "subject"}, entry)
                    || !reader.index(entry, itemPath, store.first, store.last, store.entries, index))
                    return;
                ScheduleItem schedule;
                reader.dateTime(entry, "start", itemPath, schedule.start);
                reader.integer(entry, "repeat", itemPath, schedule.repeat, 0, 4);
                reader.integer(entry, "alarm", itemPath, schedule.alarm, 0, 5);
                reader.string(entry, "subject", itemPath, schedule.subject);
                const int year = schedule.start.date().year();
                if (reader.ok() && (!schedule.start.isValid() || year < 2000 || year > 2099)) {
                    reader.fail(QStringLiteral("%1.start: expected a time in 2000 to 2099").arg(itemPath));
                    return;
                }
                schedule.start.setTime(QTime(schedule.start.time().hour(), schedule.start.time().minute()));
                store.entries[index] = schedule;
            });
        }
    }
    if (root.contains(QLatin1String("memos"))) {
        const QString path = QStringLiteral("state.memos");
        QJsonObject object;
        if (reader.object(root.value(QLatin1String("memos")), path, {"first", "last", "textLength", "entries"}, object)) {
            MemoStore& store = loaded.memos;
            ReadRange(reader, object, path, store.first, store.last);
            reader.integer(object, "textLength", path, store.textLength, 0, 1024);
            store.entries.clear();
            reader.array(object, "entries", path, [&](const QJsonValue& item, const QString& itemPath) {
                QJsonObject entry;
                int index = -1;
                if (!reader.object(item, itemPath, {"index", "text"}, entry)
                    || !reader.index(entry, itemPath, store.first, store.last, store.entries, index))
                    return;
                QString text;
                reader.string(entry, "text", itemPath, text);
                store.entries[index] = text;
            });
        }
    }
    if (root.contains(QLatin1String("messages"))) {
        const QString path = QStringLiteral("state.messages");
        QJsonObject object;
        if (reader.object(root.value(QLatin1String("messages")), path, {"handset", "sim"}, object)) {
            if (object.contains(QLatin1String("handset")))
                ReadMessages(reader, object.value(QLatin1String("handset")), path + QStringLiteral(".handset"), loaded.handsetMessages);
            if (object.contains(QLatin1String("sim")))
                ReadMessages(reader, object.value(QLatin1String("sim")), path + QStringLiteral(".sim"), loaded.simMessages);
        }
    }
    if (!reader.ok())
        return false;
    state = loaded;
    return true;
}

QByteArray SerializePhoneState(const PhoneState& state)
{
    const auto bookJson = [](const Book& book, bool sim) {
        QJsonArray entries;
        for (const auto& [index, entry] : book.entries) {
            QJsonObject object {{"index", index}, {"group", entry.group}, {"name", entry.name}};
            if (sim) {
                object.insert(QStringLiteral("number"), entry.mobile);
            } else {
                object.insert(QStringLiteral("mobile"), entry.mobile);
                object.insert(QStringLiteral("home"), entry.home);
                object.insert(QStringLiteral("office"), entry.office);
                object.insert(QStringLiteral("email"), entry.email);
                object.insert(QStringLiteral("memo"), entry.memo);
            }
            entries.append(object);
        }
        QJsonObject object {{"first", book.first}, {"last", book.last}, {"numberLength", book.numberLength},
            {"nameLength", book.nameLength}, {"entries", entries}};
        if (!sim) {
            object.insert(QStringLiteral("emailLength"), book.emailLength);
            object.insert(QStringLiteral("memoLength"), book.memoLength);
        }
        return object;
    };

    QJsonObject sim = bookJson(state.sim, true);
    sim.insert(QStringLiteral("fdn"), state.fdn);

    QJsonArray schedules;
    for (const auto& [index, item] : state.schedules.entries) {
        schedules.append(QJsonObject {{"index", index}, {"start", item.start.toString(QStringLiteral("yyyy-MM-ddTHH:mm"))},
            {"repeat", item.repeat}, {"alarm", item.alarm}, {"subject", item.subject}});
    }
    QJsonArray memos;
    for (const auto& [index, text] : state.memos.entries)
        memos.append(QJsonObject {{"index", index}, {"text", text}});

    const QJsonObject root {
        {"groups", GroupsJson(state.groups)},
        {"handset", bookJson(state.handset, false)},
        {"sim", sim},
        {"schedules", QJsonObject {{"first", state.schedules.first}, {"last", state.schedules.last},
                          {"textLength", state.schedules.textLength}, {"entries", schedules}}},
        {"memos", QJsonObject {{"first", state.memos.first}, {"last", state.memos.last},
                      {"textLength", state.memos.textLength}, {"entries", memos}}},
        {"messages", QJsonObject {{"handset", MessagesJson(state.handsetMessages)}, {"sim", MessagesJson(state.simMessages)}}},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool LoadPhoneStateFile(const QString& path, PhoneState& state, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QString reason;
    if (!ParsePhoneState(file.readAll(), state, &reason)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, reason);
        return false;
    }
    return true;
}

bool SavePhoneStateFile(const QString& path, const PhoneState& state, QString* error)
{
    return platform::WriteFileAtomically(path, SerializePhoneState(state), error);
}

} // namespace phonesim
