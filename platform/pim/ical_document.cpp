#include "platform/pim/ical_document.h"

#include <QDateTime>

#include <ctime>

namespace pim {

namespace {

const char kProdId[] = "-//Deskhand//PIM store//EN";

// libical notes what it could not parse as X-LIC-ERROR properties; they are no part of the
// item and must not be written back.
void stripParseErrors(icalcomponent* component)
{
    icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
    while (p) {
        icalproperty* next = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY);
        icalcomponent_remove_property(component, p);
        icalproperty_free(p);
        p = next;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        stripParseErrors(c);
}

void ensureCalendarHeader(icalcomponent* calendar)
{
    if (!icalcomponent_get_first_property(calendar, ICAL_VERSION_PROPERTY))
        icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    if (!icalcomponent_get_first_property(calendar, ICAL_PRODID_PROPERTY))
        icalcomponent_add_property(calendar, icalproperty_new_prodid(kProdId));
}

// The item of a calendar: the first component of the kind without RECURRENCE-ID (the master
// of a recurring event with overridden occurrences), else the first of the kind.
icalcomponent* findItem(icalcomponent* calendar, icalcomponent_kind kind)
{
    icalcomponent* first = nullptr;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, kind); c;
         c = icalcomponent_get_next_component(calendar, kind)) {
        if (!icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            return c;
        if (!first)
            first = c;
    }
    return first;
}

icalcomponent* findItemInRoot(icalcomponent* root, icalcomponent_kind kind)
{
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT)
        return findItem(root, kind);
    if (icalcomponent_isa(root) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT)) {
            if (icalcomponent* item = findItem(c, kind))
                return item;
        }
    }
    return nullptr;
}

QString toText(char* owned)
{
    const QString text = owned ? QString::fromUtf8(owned) : QString();
    if (owned)
        icalmemory_free_buffer(owned);
    return text;
}

QByteArray toBytes(char* owned)
{
    const QByteArray bytes = owned ? QByteArray(owned) : QByteArray();
    if (owned)
        icalmemory_free_buffer(owned);
    return bytes;
}

COleDateTime invalidTime()
{
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    return invalid;
}

} // namespace

std::unique_ptr<ICalDocument> ICalDocument::Parse(const QByteArray& bytes, icalcomponent_kind kind)
{
    icalcomponent* root = icalparser_parse_string(bytes.constData());
    if (!root)
        return nullptr;
    stripParseErrors(root);
    if (icalcomponent_isa(root) == kind) {
        // A bare component without its VCALENDAR: wrap it, so that the rewrite is a valid file.
        icalcomponent* calendar = icalcomponent_new_vcalendar();
        ensureCalendarHeader(calendar);
        icalcomponent_add_component(calendar, root);
        root = calendar;
    }
    icalcomponent* item = findItemInRoot(root, kind);
    if (!item) {
        icalcomponent_free(root);
        return nullptr;
    }
    return std::unique_ptr<ICalDocument>(new ICalDocument(root, item));
}

std::unique_ptr<ICalDocument> ICalDocument::Create(icalcomponent_kind kind)
{
    icalcomponent* calendar = icalcomponent_new_vcalendar();
    ensureCalendarHeader(calendar);
    icalcomponent* item = icalcomponent_new(kind);
    icalcomponent_add_component(calendar, item);
    return std::unique_ptr<ICalDocument>(new ICalDocument(calendar, item));
}

std::unique_ptr<ICalDocument> ICalDocument::Clone() const
{
    icalcomponent* root = icalcomponent_new_clone(m_root);
    return std::unique_ptr<ICalDocument>(new ICalDocument(root, findItemInRoot(root, icalcomponent_isa(m_item))));
}

ICalDocument::~ICalDocument()
{
    icalcomponent_free(m_root);
}

QByteArray ICalDocument::Serialize() const
{
    if (icalcomponent_isa(m_root) != ICAL_XROOT_COMPONENT)
        return toBytes(icalcomponent_as_ical_string_r(m_root));
    // Several calendars in one file: write them one after the other, as they came.
    QByteArray out;
    for (icalcomponent* c = icalcomponent_get_first_component(m_root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(m_root, ICAL_ANY_COMPONENT))
        out += toBytes(icalcomponent_as_ical_string_r(c));
    return out;
}

QString ICalDocument::Text(icalproperty_kind kind) const
{
    icalproperty* p = icalcomponent_get_first_property(m_item, kind);
    if (!p)
        return {};
    const icalvalue* value = icalproperty_get_value(p);
    if (value && icalvalue_isa(value) == ICAL_TEXT_VALUE)
        return QString::fromUtf8(icalvalue_get_text(value));
    return toText(icalproperty_get_value_as_string_r(p));
}

QString ICalDocument::Uid() const
{
    QString uid = Text(ICAL_UID_PROPERTY);
    uid.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    return uid.trimmed();
}

bool ICalDocument::HasProperty(icalproperty_kind kind) const
{
    return icalcomponent_get_first_property(m_item, kind) != nullptr;
}

void ICalDocument::SetText(icalproperty_kind kind, const QString& text)
{
    icalproperty* p = icalcomponent_get_first_property(m_item, kind);
    if (text.isEmpty()) {
        if (p) {
            icalcomponent_remove_property(m_item, p);
            icalproperty_free(p);
        }
        return;
    }
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    // Text values hold no other control characters, and libical does not keep them all.
    normalized.removeIf([](QChar c) { return (c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7f; });
    if (!p) {
        p = icalproperty_new(kind);
        icalcomponent_add_property(m_item, p);
    }
    icalproperty_set_value(p, icalvalue_new_text(normalized.toUtf8().constData()));
}

void ICalDocument::Stamp()
{
    const time_t now = time_t(QDateTime::currentSecsSinceEpoch());
    icalcomponent_set_dtstamp(m_item, icaltime_from_timet_with_zone(now, 0, icaltimezone_get_utc_timezone()));
}

COleDateTime ToLocalTime(const icaltimetype& t, TimeForm* form)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return invalidTime();
    TimeForm f;
    f.isDate = t.is_date != 0;
    f.utc = !f.isDate && icaltime_is_utc(t);
    f.zone = (!f.isDate && !f.utc) ? t.zone : nullptr;
    if (form)
        *form = f;
    if (f.isDate)
        return COleDateTime(t.year, t.month, t.day, 0, 0, 0);
    if (!f.utc && !f.zone)
        return COleDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
    const time_t seconds = icaltime_as_timet_with_zone(t, f.utc ? icaltimezone_get_utc_timezone() : f.zone);
    return COleDateTime::FromQDateTime(QDateTime::fromSecsSinceEpoch(qint64(seconds)));
}

COleDateTime LocalTimeOf(icalproperty* property, icalcomponent* component, TimeForm* form)
{
    if (!property)
        return invalidTime();
    return ToLocalTime(icalproperty_get_datetime_with_component(property, component), form);
}

icaltimetype ToIcalTime(const COleDateTime& local, const TimeForm& form)
{
    icaltimetype t = icaltime_null_time();
    t.year = local.GetYear();
    t.month = local.GetMonth();
    t.day = local.GetDay();
    if (form.isDate) {
        t.is_date = 1;
        return t;
    }
    t.is_date = 0;
    if (!form.utc && !form.zone) {
        t.hour = local.GetHour();
        t.minute = local.GetMinute();
        t.second = local.GetSecond();
        return t;
    }
    const QDateTime localTime = local.ToQDateTime();
    if (!localTime.isValid())
        return icaltime_null_time(); // a time the local zone skips has no instant to convert
    const time_t seconds = time_t(localTime.toSecsSinceEpoch());
    icaltimezone* zone = form.utc ? icaltimezone_get_utc_timezone() : const_cast<icaltimezone*>(form.zone);
    icaltimetype zoned = icaltime_from_timet_with_zone(seconds, 0, zone);
    if (!form.utc)
        zoned.zone = nullptr; // wall-clock time of the zone; the property keeps its TZID
    return zoned;
}

} // namespace pim
