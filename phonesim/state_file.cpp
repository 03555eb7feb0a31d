#include "phonesim/state_file.h"

#include "phonesim/state_json.h"
#include "platform/folders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <initializer_list>

namespace phonesim {

namespace {

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

QJsonArray GroupsJson(const QStringList& groups)
{
    QJsonArray array;
    for (const QString& name : groups)
        array.append(name);
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

} // namespace

bool ParsePhoneState(const QByteArray& json, PhoneState& state, QString* error)
{
    PhoneState loaded = state;
    Reader reader(error);
    QJsonObject root;
    if (!ReadStateRoot(json, reader, {"groups", "handset", "sim", "schedules", "memos", "messages"}, root, error))
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
    ReadMessageStorages(reader, root, loaded);
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
        {"messages", MessageStoragesJson(state)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool LoadPhoneStateFile(const QString& path, PhoneState& state, QString* error)
{
    return LoadStateFile(path, state, error, ParsePhoneState);
}

bool SavePhoneStateFile(const QString& path, const PhoneState& state, QString* error)
{
    return platform::WriteFileAtomically(path, SerializePhoneState(state), error);
}

} // namespace phonesim
