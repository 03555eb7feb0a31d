#pragma once

#include "platform/ole_date_time.h"

#include <QByteArray>
#include <QString>

#include <libical/ical.h>

#include <memory>
#include <vector>

namespace pim {

class ComponentFile;

// The components of one item of an .ics file read through libical: the item's own component
// (the series, the journal, or one moved occurrence) and the moved occurrences of its series
// beside it, read with the time zones of their calendar. The rest of the file is never parsed
// here: the item's components are written back into their places (ComponentFile), so that
// everything else stays byte for byte.
class ICalDocument {
public:
    // The components at spans of file (the item's own first), or null when libical does not read
    // each as one component of its kind.
    static std::unique_ptr<ICalDocument> Parse(const ComponentFile& file, const std::vector<size_t>& spans);
    // A VCALENDAR (VERSION, PRODID) holding one empty component of that kind.
    static std::unique_ptr<ICalDocument> Create(icalcomponent_kind kind);
    std::unique_ptr<ICalDocument> Clone() const;
    ~ICalDocument();
    ICalDocument(const ICalDocument&) = delete;
    ICalDocument& operator=(const ICalDocument&) = delete;

    icalcomponent* Component() const { return m_parts.front().component; }
    // The other components read with it, in file order; removed ones are left out.
    std::vector<icalcomponent*> Others() const;
    void Remove(icalcomponent* other);
    // A created item's whole file.
    QByteArray Serialize() const;
    // The text of each span given to Parse as it stands now: as read when the component did not
    // change, empty for a removed one.
    std::vector<QByteArray> SpanTexts() const;
    // After a write: the texts written are the ones read.
    void Committed();

    // The first property of that kind as text; empty when missing.
    QString Text(icalproperty_kind kind) const;
    bool HasProperty(icalproperty_kind kind) const;
    // Sets the first property of that kind (line breaks become "\n", other control characters
    // but the tab are dropped); an empty text removes it.
    void SetText(icalproperty_kind kind, const QString& text);
    // DTSTAMP := now, in UTC.
    void Stamp();

private:
    struct Part {
        icalcomponent* component = nullptr; // null once removed
        QByteArray asRead;                  // the span's bytes
        QByteArray parsed;                  // what libical wrote of it as read; empty for the item's own
    };
    ICalDocument(icalcomponent* root, std::vector<Part> parts) : m_root(root), m_parts(std::move(parts)) {}

    icalcomponent* m_root;
    std::vector<Part> m_parts;
};

// How a date-time property is written: a date, floating local time, UTC, or wall-clock time
// of the zone its TZID names.
struct TimeForm {
    bool isDate = false;
    bool utc = false;
    const icaltimezone* zone = nullptr;
};

// A time as local time (a zoned or UTC time is converted; floating time and dates are taken
// as they stand); invalid when t is not a valid time.
COleDateTime ToLocalTime(const icaltimetype& t, TimeForm* form = nullptr);
// The property's value as local time (a TZID'd or UTC value is converted; floating time and
// dates are taken as they stand). Invalid when the property is missing or unreadable.
COleDateTime LocalTimeOf(icalproperty* property, icalcomponent* component, TimeForm* form = nullptr);
// A local time in the given form: a floating time and a date as they stand. The null time for a
// zoned or UTC form of a local time that does not exist (skipped when the clocks go forward).
icaltimetype ToIcalTime(const COleDateTime& local, const TimeForm& form);

} // namespace pim
