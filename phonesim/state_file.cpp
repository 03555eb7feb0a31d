#include "phonesim/state_file.h"

#include "phonesim/sms_pdu.h"
#include "platform/folders.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <initializer_list>
#include <optional>

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
        const QString expected = QStringLiteral("a whole number from %1 to %2").arg(min).arg(max);
        const std::optional<QJsonValue> value = member(object, key, path, QJsonValue::Double, expected);
        if (!value)
            return;
        const double number = value->toDouble();
        if (std::floor(number) != number || number < min || number > max) {
            failMember(path, key, expected);
            return;
        }
        out = int(number);
    }

    void string(const QJsonObject& object, const char* key, const QString& path, QString& out)
    {
        if (const std::optional<QJsonValue> value = member(object, key, path, QJsonValue::String, QStringLiteral("a string")))
            out = value->toString();
    }

    void boolean(const QJsonObject& object, const char* key, const QString& path, bool& out)
    {
        if (const std::optional<QJsonValue> value = member(object, key, path, QJsonValue::Bool, QStringLiteral("true or false")))
            out = value->toBool();
    }

    void dateTime(const QJsonObject& object, const char* key, const QString& path, QDateTime& out)
    {
        QString text;
        string(object, key, path, text);
        if (text.isEmpty() || !m_ok)
            return;
        QDateTime parsed = QDateTime::fromString(text, Qt::ISODate);
        if (!parsed.isValid()) {
            failMember(path, key, QStringLiteral("a date and time like 2004-03-07T09:05"));
            return;
        }
        parsed.setTimeSpec(Qt::LocalTime);
        out = parsed;
    }

    // The members of an array, each checked by `each` with its path.
    template <typename Each>
    void array(const QJsonObject& object, const char* key, const QString& path, Each each)
    {
        const std::optional<QJsonValue> value = member(object, key, path, QJsonValue::Array, QStringLiteral("an array"));
        if (!value)
            return;
        const QJsonArray items = value->toArray();
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
    // The member when it is there, no error came first and it has the type; the error that
    // names what was expected when it has another.
    std::optional<QJsonValue> member(const QJsonObject& object, const char* key, const QString& path, QJsonValue::Type type,
        const QString& expected)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || !m_ok)
            return std::nullopt;
        if (value.type() != type) {
            failMember(path, key, expected);
            return std::nullopt;
        }
        return value;
    }

    void failMember(const QString& path, const char* key, const QString& expected)
    {
        fail(QStringLiteral("%1.%2: expected %3").arg(path, QLatin1String(key), expected));
    }

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

// The entries of a numbered store: objects with the given members and an index from first to
// last that no other entry has; readEntry reads the rest of one.
template <typename Entry, typename ReadEntry>
void ReadEntries(Reader& reader, const QJsonObject& object, const QString& path, std::map<int, Entry>& entries, int first,
    int last, std::initializer_list<const char*> members, ReadEntry readEntry)
{
    entries.clear();
    reader.array(object, "entries", path, [&](const QJsonValue& item, const QString& itemPath) {
        QJsonObject entryObject;
        int index = -1;
        if (!reader.object(item, itemPath, members, entryObject)
            || !reader.index(entryObject, itemPath, first, last, entries, index))
            return;
        Entry entry;
        readEntry(entryObject, itemPath, entry);
        if (reader.ok())
            entries[index] = entry;
    });
}

// The members a book and its entries may have; the SIM book holds one number and no texts.
constexpr std::initializer_list<const char*> kHandsetMembers = {
    "first", "last", "numberLength", "nameLength", "emailLength", "memoLength", "entries"};
constexpr std::initializer_list<const char*> kSimMembers = {"first", "last", "numberLength", "nameLength", "fdn", "entries"};
constexpr std::initializer_list<const char*> kHandsetEntryMembers = {
    "index", "group", "name", "mobile", "home", "office", "email", "memo"};
constexpr std::initializer_list<const char*> kSimEntryMembers = {"index", "group", "name", "number"};

void ReadBook(Reader& reader, const QJsonValue& value, const QString& path, Book& book, bool sim)
{
    QJsonObject object;
    if (!reader.object(value, path, sim ? kSimMembers : kHandsetMembers, object))
        return;
    ReadRange(reader, object, path, book.first, book.last);
    reader.integer(object, "numberLength", path, book.numberLength, 0, 255);
    reader.integer(object, "nameLength", path, book.nameLength, 0, 255);
    if (!sim) {
        reader.integer(object, "emailLength", path, book.emailLength, 0, 255);
        reader.integer(object, "memoLength", path, book.memoLength, 0, 1024);
    }
    ReadEntries(reader, object, path, book.entries, book.first, book.last, sim ? kSimEntryMembers : kHandsetEntryMembers,
        [&](const QJsonObject& entryObject, const QString& itemPath, BookEntry& entry) {
            reader.integer(entryObject, "group", itemPath, entry.group, 0, PhoneState::kGroupCount - 1);
            reader.string(entryObject, "name", itemPath, entry.name);
            reader.string(entryObject, sim ? "number" : "mobile", itemPath, entry.mobile);
            if (!sim) {
                reader.string(entryObject, "home", itemPath, entry.home);
                reader.string(entryObject, "office", itemPath, entry.office);
                reader.string(entryObject, "email", itemPath, entry.email);
                reader.string(entryObject, "memo", itemPath, entry.memo);
            }
        });
}

// A schedule or memo store: its range, its text length and its entries.
template <typename Store, typename ReadEntry>
void ReadTextStore(Reader& reader, const QJsonValue& value, const QString& path, Store& store,
    std::initializer_list<const char*> entryMembers, ReadEntry readEntry)
{
    QJsonObject object;
    if (!reader.object(value, path, {"first", "last", "textLength", "entries"}, object))
        return;
    ReadRange(reader, object, path, store.first, store.last);
    reader.integer(object, "textLength", path, store.textLength, 0, 1024);
    ReadEntries(reader, object, path, store.entries, store.first, store.last, entryMembers, readEntry);
}

void ReadSchedules(Reader& reader, const QJsonValue& value, const QString& path, ScheduleStore& store)
{
    ReadTextStore(reader, value, path, store, {"index", "start", "repeat", "alarm", "subject"},
        [&](const QJsonObject& entry, const QString& itemPath, ScheduleItem& schedule) {
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
        });
}

void ReadMemos(Reader& reader, const QJsonValue& value, const QString& path, MemoStore& store)
{
    ReadTextStore(reader, value, path, store, {"index", "text"},
        [&](const QJsonObject& entry, const QString& itemPath, QString& text) { reader.string(entry, "text", itemPath, text); });
}

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

QJsonArray GroupsJson(const QStringList& groups)
{
    QJsonArray array;
    for (const QString& name : groups)
        array.append(name);
    return array;
}

// The entries of a store, each as entryJson writes it, with its index.
template <typename Entry, typename EntryJson>
QJsonArray EntriesJson(const std::map<int, Entry>& entries, EntryJson entryJson)
{
    QJsonArray array;
    for (const auto& [index, entry] : entries) {
        QJsonObject object = entryJson(entry);
        object.insert(QStringLiteral("index"), index);
        array.append(object);
    }
    return array;
}

QJsonObject BookJson(const Book& book, bool sim)
{
    const QJsonArray entries = EntriesJson(book.entries, [sim](const BookEntry& entry) {
        QJsonObject object {{"group", entry.group}, {"name", entry.name}};
        if (sim) {
            object.insert(QStringLiteral("number"), entry.mobile);
        } else {
            object.insert(QStringLiteral("mobile"), entry.mobile);
            object.insert(QStringLiteral("home"), entry.home);
            object.insert(QStringLiteral("office"), entry.office);
            object.insert(QStringLiteral("email"), entry.email);
            object.insert(QStringLiteral("memo"), entry.memo);
        }
        return object;
    });
    QJsonObject object {{"first", book.first}, {"last", book.last}, {"numberLength", book.numberLength},
        {"nameLength", book.nameLength}, {"entries", entries}};
    if (!sim) {
        object.insert(QStringLiteral("emailLength"), book.emailLength);
        object.insert(QStringLiteral("memoLength"), book.memoLength);
    }
    return object;
}

template <typename Store, typename EntryJson>
QJsonObject TextStoreJson(const Store& store, EntryJson entryJson)
{
    return {{"first", store.first}, {"last", store.last}, {"textLength", store.textLength},
        {"entries", EntriesJson(store.entries, entryJson)}};
}

QJsonObject ScheduleJson(const ScheduleItem& item)
{
    return {{"start", item.start.toString(QStringLiteral("yyyy-MM-ddTHH:mm"))}, {"repeat", item.repeat}, {"alarm", item.alarm},
        {"subject", item.subject}};
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

    if (root.contains(QLatin1String("schedules")))
        ReadSchedules(reader, root.value(QLatin1String("schedules")), QStringLiteral("state.schedules"), loaded.schedules);
    if (root.contains(QLatin1String("memos")))
        ReadMemos(reader, root.value(QLatin1String("memos")), QStringLiteral("state.memos"), loaded.memos);
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
    QJsonObject sim = BookJson(state.sim, true);
    sim.insert(QStringLiteral("fdn"), state.fdn);
    const QJsonObject root {
        {"groups", GroupsJson(state.groups)},
        {"handset", BookJson(state.handset, false)},
        {"sim", sim},
        {"schedules", TextStoreJson(state.schedules, ScheduleJson)},
        {"memos", TextStoreJson(state.memos, [](const QString& text) { return QJsonObject {{"text", text}}; })},
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
