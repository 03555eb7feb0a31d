#pragma once

// The JSON reading and writing that the state files of both families share.
#include "phonesim/phone_state.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cmath>
#include <initializer_list>
#include <map>
#include <optional>

namespace phonesim {

// The highest index a state file may give.
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

inline void ReadRange(Reader& reader, const QJsonObject& object, const QString& path, int& first, int& last)
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

// The document's root object with the members a family's file may have; false, with the
// error set, for text that is no JSON or no such object.
bool ReadStateRoot(const QByteArray& json, Reader& reader, std::initializer_list<const char*> members, QJsonObject& root,
    QString* error);

// The "messages" member of the root: the handset and SIM storages, each with its total and its
// messages, each given by its PDU or by the number, text and time to build one from.
void ReadMessageStorages(Reader& reader, const QJsonObject& root, PhoneState& state);
QJsonObject MessageStoragesJson(const PhoneState& state);

// Reads a state file with the family's parser; the state stays untouched on failure.
bool LoadStateFile(const QString& path, PhoneState& state, QString* error,
    bool (*parse)(const QByteArray& json, PhoneState& state, QString* error));

} // namespace phonesim
