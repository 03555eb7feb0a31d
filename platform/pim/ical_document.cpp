#include "platform/pim/ical_document.h"

#include "platform/pim/component_file.h"

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

std::unique_ptr<ICalDocument> ICalDocument::Parse(const ComponentFile& file, const std::vector<size_t>& spans)
{
    if (spans.empty())
        return nullptr;
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (size_t zone : file.TimeZonesBeside(spans.front()))
        text += file.SpanText(zone);
    for (size_t span : spans)
        text += file.SpanText(span);
    text += "END:VCALENDAR\r\n";
    icalcomponent* root = icalparser_parse_string(text.constData());
    if (!root)
        return nullptr;
    if (icalcomponent_isa(root) != ICAL_VCALENDAR_COMPONENT) {
        icalcomponent_free(root);
        return nullptr;
    }
    stripParseErrors(root);
    std::vector<Part> parts;
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT)) {
        // The item's own component is written whenever it is saved (its DTSTAMP changes); the
        // others only when they changed, which what libical makes of them tells.
        if (icalcomponent_isa(c) != ICAL_VTIMEZONE_COMPONENT)
            parts.push_back({c, {}, parts.empty() ? QByteArray() : toBytes(icalcomponent_as_ical_string_r(c))});
    }
    // Each span one component of its kind, or the item cannot be written back in its place.
    bool whole = parts.size() == spans.size();
    for (size_t i = 0; whole && i < parts.size(); ++i) {
        parts[i].asRead = file.SpanText(spans[i]);
        whole = QString::fromLatin1(icalcomponent_kind_to_string(icalcomponent_isa(parts[i].component))) ==
                file.Spans()[spans[i]].key.kind;
    }
    if (!whole) {
        icalcomponent_free(root);
        return nullptr;
    }
    return std::unique_ptr<ICalDocument>(new ICalDocument(root, std::move(parts)));
}

std::unique_ptr<ICalDocument> ICalDocument::Create(icalcomponent_kind kind)
{
    icalcomponent* calendar = icalcomponent_new_vcalendar();
    ensureCalendarHeader(calendar);
    icalcomponent* item = icalcomponent_new(kind);
    icalcomponent_add_component(calendar, item);
    return std::unique_ptr<ICalDocument>(new ICalDocument(calendar, {Part{item, {}, {}}}));
}

std::unique_ptr<ICalDocument> ICalDocument::Clone() const
{
    icalcomponent* root = icalcomponent_new_clone(m_root);
    // The clone holds the same components in the same order; removed ones are gone from both.
    std::vector<icalcomponent*> copies;
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT)) {
        if (icalcomponent_isa(c) != ICAL_VTIMEZONE_COMPONENT)
            copies.push_back(c);
    }
    std::vector<Part> parts = m_parts;
    size_t next = 0;
    for (Part& part : parts) {
        if (part.component)
            part.component = next < copies.size() ? copies[next++] : nullptr;
    }
    return std::unique_ptr<ICalDocument>(new ICalDocument(root, std::move(parts)));
}

ICalDocument::~ICalDocument()
{
    icalcomponent_free(m_root);
}

std::vector<icalcomponent*> ICalDocument::Others() const
{
    std::vector<icalcomponent*> others;
    for (size_t i = 1; i < m_parts.size(); ++i) {
        if (m_parts[i].component)
            others.push_back(m_parts[i].component);
    }
    return others;
}

void ICalDocument::Remove(icalcomponent* other)
{
    for (size_t i = 1; i < m_parts.size(); ++i) {
        if (m_parts[i].component == other) {
            icalcomponent_remove_component(m_root, other);
            icalcomponent_free(other);
            m_parts[i].component = nullptr;
        }
    }
}

QByteArray ICalDocument::Serialize() const
{
    return toBytes(icalcomponent_as_ical_string_r(m_root));
}

std::vector<QByteArray> ICalDocument::SpanTexts() const
{
    std::vector<QByteArray> texts;
    for (const Part& part : m_parts) {
        if (!part.component) {
            texts.emplace_back();
            continue;
        }
        QByteArray now = toBytes(icalcomponent_as_ical_string_r(part.component));
        texts.push_back(!part.parsed.isEmpty() && now == part.parsed ? part.asRead : std::move(now));
    }
    return texts;
}

void ICalDocument::Committed()
{
    const std::vector<QByteArray> texts = SpanTexts();
    std::vector<Part> kept;
    for (size_t i = 0; i < m_parts.size(); ++i) {
        if (!m_parts[i].component)
            continue;
        Part part = m_parts[i];
        part.asRead = texts[i];
        part.parsed = i == 0 ? QByteArray() : toBytes(icalcomponent_as_ical_string_r(part.component));
        kept.push_back(std::move(part));
    }
    m_parts = std::move(kept);
}

QString ICalDocument::Text(icalproperty_kind kind) const
{
    icalproperty* p = icalcomponent_get_first_property(Component(), kind);
    if (!p)
        return {};
    const icalvalue* value = icalproperty_get_value(p);
    if (value && icalvalue_isa(value) == ICAL_TEXT_VALUE)
        return QString::fromUtf8(icalvalue_get_text(value));
    return toText(icalproperty_get_value_as_string_r(p));
}

bool ICalDocument::HasProperty(icalproperty_kind kind) const
{
    return icalcomponent_get_first_property(Component(), kind) != nullptr;
}

void ICalDocument::SetText(icalproperty_kind kind, const QString& text)
{
    icalproperty* p = icalcomponent_get_first_property(Component(), kind);
    if (text.isEmpty()) {
        if (p) {
            icalcomponent_remove_property(Component(), p);
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
        icalcomponent_add_property(Component(), p);
    }
    icalproperty_set_value(p, icalvalue_new_text(normalized.toUtf8().constData()));
}

void ICalDocument::Stamp()
{
    const time_t now = time_t(QDateTime::currentSecsSinceEpoch());
    icalcomponent_set_dtstamp(Component(), icaltime_from_timet_with_zone(now, 0, icaltimezone_get_utc_timezone()));
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
