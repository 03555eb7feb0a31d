#include "phonesim/dialect2_state_file.h"

#include "phonesim/dialect2_model.h"
#include "phonesim/state_json.h"
#include "platform/folders.h"

#include <QJsonDocument>

namespace phonesim {

namespace {

constexpr int kMaxGroups = 10;

void ReadLine(Reader& reader, const QJsonValue& value, LineStart& line)
{
    const QString path = QStringLiteral("state.line");
    QJsonObject object;
    if (!reader.object(value, path, {"asleep", "atPrompt", "sleepAfterMs"}, object))
        return;
    reader.boolean(object, "asleep", path, line.asleep);
    reader.boolean(object, "atPrompt", path, line.atPrompt);
    reader.integer(object, "sleepAfterMs", path, line.sleepAfterMs, 0, 24 * 3600 * 1000);
}

void ReadGroups(Reader& reader, const QJsonObject& root, std::vector<CallerGroup>& groups)
{
    groups.clear();
    reader.array(root, "groups", QStringLiteral("state"), [&](const QJsonValue& item, const QString& path) {
        QJsonObject object;
        CallerGroup group;
        if (!reader.object(item, path, {"name", "capacity"}, object))
            return;
        reader.string(object, "name", path, group.name);
        reader.integer(object, "capacity", path, group.capacity, 0, 999);
        groups.push_back(group);
    });
    if (reader.ok() && (groups.empty() || groups.size() > size_t(kMaxGroups)))
        reader.fail(QStringLiteral("state.groups: expected 1 to %1 groups").arg(kMaxGroups));
}

// A book's limits and the index of its last place; the first is 1.
template <typename Entry>
void ReadLimits(Reader& reader, const QJsonObject& object, const QString& path, Book2<Entry>& book)
{
    reader.integer(object, "last", path, book.last, 1, kMaxIndex);
    reader.integer(object, "numberLength", path, book.numberLength, 1, 80);
    reader.integer(object, "nameLength", path, book.nameLength, 1, 80);
}

void ReadGroupField(Reader& reader, const QJsonObject& object, const QString& path, const PhoneState& state, int& group)
{
    reader.integer(object, "group", path, group, 0, Dialect2State::kNoGroup);
    if (reader.ok() && group != Dialect2State::kNoGroup && group >= int(state.dialect2.groups.size()))
        reader.fail(QStringLiteral("%1.group: expected a group of the table or 255").arg(path));
}

void ReadNumbers(Reader& reader, const QJsonObject& object, const QString& path, std::array<NumberSlot, 3>& places)
{
    int count = 0;
    reader.array(object, "numbers", path, [&](const QJsonValue& item, const QString& itemPath) {
        QJsonObject slotObject;
        if (count == 3) {
            reader.fail(QStringLiteral("%1: at most three numbers").arg(path));
            return;
        }
        if (!reader.object(item, itemPath, {"number", "kind"}, slotObject))
            return;
        reader.string(slotObject, "number", itemPath, places[count].number);
        reader.integer(slotObject, "kind", itemPath, places[count].kind, 1, 3);
        ++count;
    });
    // The places left over take the kinds no number has.
    for (int kind = 1; kind <= 3 && count < 3; ++kind) {
        if (std::none_of(places.begin(), places.begin() + count, [kind](const NumberSlot& slot) { return slot.kind == kind; }))
            places[count++] = {QString(), kind};
    }
}

void ReadHandset(Reader& reader, const QJsonValue& value, PhoneState& state)
{
    const QString path = QStringLiteral("state.handset");
    Book2<HandsetEntry2>& book = state.dialect2.handset;
    QJsonObject object;
    if (!reader.object(value, path, {"last", "numberLength", "nameLength", "entries"}, object))
        return;
    ReadLimits(reader, object, path, book);
    ReadEntries(reader, object, path, book.entries, book.first, book.last,
        {"index", "name", "numbers", "email", "fax", "group"},
        [&](const QJsonObject& entryObject, const QString& itemPath, HandsetEntry2& entry) {
            reader.string(entryObject, "name", itemPath, entry.name);
            reader.string(entryObject, "email", itemPath, entry.email);
            reader.string(entryObject, "fax", itemPath, entry.fax);
            ReadGroupField(reader, entryObject, itemPath, state, entry.group);
            ReadNumbers(reader, entryObject, itemPath, entry.numbers);
        });
}

void ReadSim(Reader& reader, const QJsonValue& value, PhoneState& state)
{
    const QString path = QStringLiteral("state.sim");
    Book2<SimEntry2>& book = state.dialect2.sim;
    QJsonObject object;
    if (!reader.object(value, path, {"last", "numberLength", "nameLength", "ready", "entries"}, object))
        return;
    ReadLimits(reader, object, path, book);
    reader.boolean(object, "ready", path, state.dialect2.simReady);
    ReadEntries(reader, object, path, book.entries, book.first, book.last, {"index", "name", "number", "group"},
        [&](const QJsonObject& entryObject, const QString& itemPath, SimEntry2& entry) {
            reader.string(entryObject, "name", itemPath, entry.name);
            reader.string(entryObject, "number", itemPath, entry.number);
            ReadGroupField(reader, entryObject, itemPath, state, entry.group);
        });
}

void ReadMoment(Reader& reader, const QJsonObject& object, const char* key, const QString& path, QDateTime& moment)
{
    reader.dateTime(object, key, path, moment);
    const int year = moment.date().year();
    if (reader.ok() && (!moment.isValid() || year < Dialect2State::kFirstYear || year > Dialect2State::kLastYear))
        reader.fail(QStringLiteral("%1.%2: expected a time in %3 to %4").arg(path, QLatin1String(key)).arg(Dialect2State::kFirstYear).arg(Dialect2State::kLastYear));
    moment.setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
}

void ReadOrganizer(Reader& reader, const QJsonObject& root, std::vector<OrganizerEntry>& list)
{
    list.clear();
    reader.array(root, "organizer", QStringLiteral("state"), [&](const QJsonValue& item, const QString& path) {
        QJsonObject object;
        OrganizerEntry entry;
        if (!reader.object(item, path, {"index", "kind", "text", "start", "repeat", "alarm"}, object))
            return;
        entry.index = -1;
        reader.integer(object, "index", path, entry.index, 0, Dialect2State::kOrganizerCapacity - 1);
        reader.integer(object, "kind", path, entry.kind, 1, 2);
        reader.string(object, "text", path, entry.text);
        ReadMoment(reader, object, "start", path, entry.start);
        reader.integer(object, "repeat", path, entry.repeat, 0, 4);
        if (object.contains(QLatin1String("alarm")))
            ReadMoment(reader, object, "alarm", path, entry.alarm.emplace());
        if (!reader.ok())
            return;
        if (entry.index < 0 || !entry.start.isValid())
            reader.fail(QStringLiteral("%1: needs an index and a start").arg(path));
        else if (entry.kind == 2 && (object.contains(QLatin1String("repeat")) || entry.alarm))
            reader.fail(QStringLiteral("%1: a memo has no repeat or alarm").arg(path));
        else if (std::any_of(list.begin(), list.end(), [&](const OrganizerEntry& other) { return other.index == entry.index; }))
            reader.fail(QStringLiteral("%1.index: %2 is given twice").arg(path).arg(entry.index));
        else
            list.push_back(entry);
    });
}

QJsonObject HandsetJson(const Book2<HandsetEntry2>& book)
{
    const QJsonArray entries = EntriesJson(book.entries, [](const HandsetEntry2& entry) {
        QJsonArray numbers;
        for (const NumberSlot& slot : entry.numbers)
            numbers.append(QJsonObject {{"number", slot.number}, {"kind", slot.kind}});
        return QJsonObject {{"name", entry.name}, {"numbers", numbers}, {"email", entry.email}, {"fax", entry.fax},
            {"group", entry.group}};
    });
    return {{"last", book.last}, {"numberLength", book.numberLength}, {"nameLength", book.nameLength}, {"entries", entries}};
}

QJsonObject SimJson(const Book2<SimEntry2>& book, bool ready)
{
    const QJsonArray entries = EntriesJson(book.entries, [](const SimEntry2& entry) {
        return QJsonObject {{"name", entry.name}, {"number", entry.number}, {"group", entry.group}};
    });
    return {{"last", book.last}, {"numberLength", book.numberLength}, {"nameLength", book.nameLength}, {"ready", ready},
        {"entries", entries}};
}

QString MomentJson(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QJsonArray OrganizerJson(const std::vector<OrganizerEntry>& list)
{
    QJsonArray array;
    for (const OrganizerEntry& entry : list) {
        QJsonObject object {{"index", entry.index}, {"kind", entry.kind}, {"text", entry.text}, {"start", MomentJson(entry.start)}};
        if (entry.kind == 1)
            object.insert(QStringLiteral("repeat"), entry.repeat);
        if (entry.alarm)
            object.insert(QStringLiteral("alarm"), MomentJson(*entry.alarm));
        array.append(object);
    }
    return array;
}

} // namespace

bool ParseDialect2State(const QByteArray& json, PhoneState& state, QString* error)
{
    PhoneState loaded = state;
    Dialect2State& phone = loaded.dialect2;
    Reader reader(error);
    QJsonObject root;
    if (!ReadStateRoot(json, reader, {"line", "groups", "handset", "sim", "organizer", "messages"}, root, error))
        return false;

    if (root.contains(QLatin1String("line")))
        ReadLine(reader, root.value(QLatin1String("line")), phone.lineStart);
    if (root.contains(QLatin1String("groups"))) {
        if (!Model2Of(loaded).callerGroups)
            return reader.fail(QStringLiteral("state.groups: model %1 has no caller groups").arg(phone.model));
        ReadGroups(reader, root, phone.groups);
    }
    if (root.contains(QLatin1String("handset")))
        ReadHandset(reader, root.value(QLatin1String("handset")), loaded);
    if (root.contains(QLatin1String("sim")))
        ReadSim(reader, root.value(QLatin1String("sim")), loaded);
    if (root.contains(QLatin1String("organizer")))
        ReadOrganizer(reader, root, phone.organizer);
    ReadMessageStorages(reader, root, loaded);
    if (!reader.ok())
        return false;
    ApplyLineStart(loaded);
    state = loaded;
    return true;
}

QByteArray SerializeDialect2State(const PhoneState& state)
{
    const Dialect2State& phone = state.dialect2;
    const LineStart& line = phone.lineStart;
    QJsonObject root {
        {"line", QJsonObject {{"asleep", line.asleep}, {"atPrompt", line.atPrompt}, {"sleepAfterMs", line.sleepAfterMs}}},
        {"handset", HandsetJson(phone.handset)},
        {"sim", SimJson(phone.sim, phone.simReady)},
        {"organizer", OrganizerJson(phone.organizer)},
        {"messages", MessageStoragesJson(state)},
    };
    if (Model2Of(state).callerGroups) {
        QJsonArray groups;
        for (const CallerGroup& group : phone.groups)
            groups.append(QJsonObject {{"name", group.name}, {"capacity", group.capacity}});
        root.insert(QStringLiteral("groups"), groups);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool LoadDialect2StateFile(const QString& path, PhoneState& state, QString* error)
{
    return LoadStateFile(path, state, error, ParseDialect2State);
}

bool SaveDialect2StateFile(const QString& path, const PhoneState& state, QString* error)
{
    return platform::WriteFileAtomically(path, SerializeDialect2State(state), error);
}

} // namespace phonesim
