#pragma once

#include "platform/ole_date_time.h"

#include <QByteArray>
#include <QString>

#include <libical/ical.h>

#include <memory>

namespace pim {

// An .ics file read through libical, with the one component that is the item (the master
// VEVENT, or the VJOURNAL). Everything else in the file is kept for the rewrite.
class ICalDocument {
public:
    // Null when the text holds no component of that kind.
    static std::unique_ptr<ICalDocument> Parse(const QByteArray& bytes, icalcomponent_kind kind);
    // A VCALENDAR (VERSION, PRODID) holding one empty component of that kind.
    static std::unique_ptr<ICalDocument> Create(icalcomponent_kind kind);
    std::unique_ptr<ICalDocument> Clone() const;
    ~ICalDocument();
    ICalDocument(const ICalDocument&) = delete;
    ICalDocument& operator=(const ICalDocument&) = delete;

    icalcomponent* Component() const { return m_item; }
    QByteArray Serialize() const;

    // The first property of that kind as text; empty when missing.
    QString Text(icalproperty_kind kind) const;
    // The UID as it reads back after a rewrite: trimmed, without control characters (a bare
    // CR inside the value does not survive one).
    QString Uid() const;
    bool HasProperty(icalproperty_kind kind) const;
    // Sets the first property of that kind (line breaks become "\n", other control characters
    // but the tab are dropped); an empty text removes it.
    void SetText(icalproperty_kind kind, const QString& text);
    // DTSTAMP := now, in UTC.
    void Stamp();

private:
    ICalDocument(icalcomponent* root, icalcomponent* item) : m_root(root), m_item(item) {}

    icalcomponent* m_root;
    icalcomponent* m_item;
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
