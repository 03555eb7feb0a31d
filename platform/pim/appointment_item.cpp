#include "platform/pim/appointment_item.h"

#include "platform/pim/ical_document.h"
#include "platform/pim/recurrence_rule.h"

#include <QDateTime>
#include <QFileInfo>

#include <optional>
#include <vector>

namespace pim {

namespace {

constexpr long kMaxReminderMinutes = 10L * 366 * 24 * 60;
// The last year a calendar file can hold here: libical writes a later one as all zeros, and
// other programs reject such a file.
constexpr int kLastYear = 3000;

struct Reminder {
    bool set = false;
    long minutes = 15;
};

qint64 secondsBetween(const COleDateTime& from, const COleDateTime& to)
{
    return from.ToQDateTime().secsTo(to.ToQDateTime());
}

std::vector<icalcomponent*> alarmsOf(icalcomponent* event)
{
    std::vector<icalcomponent*> alarms;
    for (icalcomponent* a = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT))
        alarms.push_back(a);
    return alarms;
}

// The reminder is the first alarm with a trigger; an alarm after the start counts as on time.
Reminder readReminder(icalcomponent* event, const COleDateTime& start)
{
    for (icalcomponent* alarm : alarmsOf(event)) {
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger)
            continue;
        const icaltriggertype value = icalproperty_get_trigger(trigger);
        qint64 seconds = 0;
        if (!icaltime_is_null_time(value.time)) {
            const COleDateTime at = ToLocalTime(value.time);
            if (at.GetStatus() == COleDateTime::valid && start.GetStatus() == COleDateTime::valid)
                seconds = secondsBetween(start, at);
        } else {
            seconds = icaldurationtype_as_int(value.duration);
            icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
            if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
                seconds += icaldurationtype_as_int(icalcomponent_get_duration(event));
        }
        return {true, seconds < 0 ? long(std::min<qint64>(-seconds / 60, kMaxReminderMinutes)) : 0};
    }
    return {};
}

void removeProperties(icalcomponent* component, icalproperty_kind kind)
{
    std::vector<icalproperty*> found;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p;
         p = icalcomponent_get_next_property(component, kind))
        found.push_back(p);
    for (icalproperty* p : found) {
        icalcomponent_remove_property(component, p);
        icalproperty_free(p);
    }
}

void removeComponent(icalcomponent* parent, icalcomponent* child)
{
    icalcomponent_remove_component(parent, child);
    icalcomponent_free(child);
}

// Sets a date or date-time value; VALUE=DATE goes with the value's kind.
void setTime(icalproperty* property, const icaltimetype& t)
{
    icalproperty_set_value(property, t.is_date ? icalvalue_new_date(t) : icalvalue_new_datetime(t));
    icalproperty_remove_parameter_by_kind(property, ICAL_VALUE_PARAMETER);
    if (t.is_date)
        icalproperty_add_parameter(property, icalparameter_new_value(ICAL_VALUE_DATE));
}

// A date and a time of day, whatever the local time zone makes of them.
bool isDateTime(const COleDateTime& t)
{
    return t.GetStatus() == COleDateTime::valid && t.date().isValid() && t.time().isValid();
}

bool isMidnight(const COleDateTime& t)
{
    return t.GetHour() == 0 && t.GetMinute() == 0 && t.GetSecond() == 0;
}

COleDateTime nowToTheMinute()
{
    COleDateTime now = COleDateTime::GetCurrentTime();
    now.SetDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(), 0);
    return now;
}

} // namespace

AppointmentItem::AppointmentItem(const QString& folderPath)
    : Item(folderPath, QString(), QString()),
      m_document(ICalDocument::Create(ICAL_VEVENT_COMPONENT)),
      m_pattern(*this)
{
    m_now.start = nowToTheMinute();
}

AppointmentItem::AppointmentItem(const QString& folderPath, const QString& path, const QString& entryId,
                                 std::unique_ptr<ICalDocument> document)
    : Item(folderPath, path, entryId), m_document(std::move(document)), m_pattern(*this)
{
    icalcomponent* event = m_document->Component();
    m_now.subject = m_document->Text(ICAL_SUMMARY_PROPERTY);
    m_now.body = m_document->Text(ICAL_DESCRIPTION_PROPERTY);
    m_now.start = LocalTimeOf(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY), event);
    const Reminder reminder = readReminder(event, m_now.start);
    m_now.reminderSet = reminder.set;
    m_now.reminderMinutes = reminder.minutes;
    if (icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)) {
        m_now.recurring = true;
        m_now.pattern = FieldsFromRule(icalproperty_get_rrule(rrule), m_now.start);
    }
    m_saved = m_now;
}

AppointmentItem::AppointmentItem(const AppointmentItem& other)
    : Item(other),
      m_document(other.m_document->Clone()),
      m_now(other.m_now),
      m_saved(other.m_saved),
      m_patternCleared(other.m_patternCleared),
      m_pattern(*this)
{
}

AppointmentItem::~AppointmentItem() = default;

std::unique_ptr<AppointmentItem> AppointmentItem::FromFile(const QString& folderPath, const QString& path,
                                                           const QByteArray& bytes)
{
    std::unique_ptr<ICalDocument> document = ICalDocument::Parse(bytes, ICAL_VEVENT_COMPONENT);
    if (!document)
        return nullptr;
    QString entryId = document->Uid();
    if (entryId.isEmpty())
        entryId = QFileInfo(path).completeBaseName();
    return std::unique_ptr<AppointmentItem>(new AppointmentItem(folderPath, path, entryId, std::move(document)));
}

std::unique_ptr<Item> AppointmentItem::Clone() const
{
    return std::unique_ptr<Item>(new AppointmentItem(*this));
}

void AppointmentItem::SetReminderMinutesBeforeStart(long minutes)
{
    if (minutes >= 0 && minutes <= kMaxReminderMinutes)
        m_now.reminderMinutes = minutes;
}

RecurrencePattern& AppointmentItem::GetRecurrencePattern()
{
    if (!m_now.recurring) {
        m_now.recurring = true;
        m_now.pattern = RecurrenceFields::Defaults(olRecursWeekly, m_now.start);
    }
    return m_pattern;
}

struct AppointmentItem::StartValues {
    icaltimetype start;
    std::optional<icaltimetype> end;
};

bool AppointmentItem::Serialize(const QString& uid, QByteArray& bytes, Error* error)
{
    // A value marked valid may still be no date (read from a damaged file): nothing to write.
    if (!isDateTime(m_now.start))
        return Fail(error, ErrorCode::InvalidArgument, QStringLiteral("The appointment has no valid start"));
    icalcomponent* event = m_document->Component();
    // Checked before anything changes, so that a start the file cannot hold is never written.
    std::optional<StartValues> start;
    if (m_now.start != m_saved.start || !icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY)) {
        start.emplace();
        if (!planStart(*start, error))
            return false;
    }
    if (m_document->Text(ICAL_UID_PROPERTY) != uid)
        m_document->SetText(ICAL_UID_PROPERTY, uid);
    if (m_now.subject != m_saved.subject)
        m_document->SetText(ICAL_SUMMARY_PROPERTY, m_now.subject);
    if (m_now.body != m_saved.body)
        m_document->SetText(ICAL_DESCRIPTION_PROPERTY, m_now.body);
    if (start)
        writeStart(*start);
    if (m_now.reminderSet != m_saved.reminderSet ||
        (m_now.reminderSet && m_now.reminderMinutes != m_saved.reminderMinutes))
        writeReminder();
    if (m_now.recurring != m_saved.recurring || (m_now.recurring && !(m_now.pattern == m_saved.pattern)))
        writeRecurrence();
    m_document->Stamp();
    bytes = m_document->Serialize();
    return true;
}

bool AppointmentItem::planStart(StartValues& values, Error* error) const
{
    icalcomponent* event = m_document->Component();
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    TimeForm form; // a new start is floating local time
    const COleDateTime oldStart = LocalTimeOf(dtstart, event, &form);
    const COleDateTime& start = m_now.start;
    if (form.isDate && !isMidnight(start))
        form = TimeForm{};

    const auto fits = [&](const icaltimetype& t, const COleDateTime& local) {
        if (icaltime_is_null_time(t))
            return Fail(error, ErrorCode::InvalidArgument,
                        QStringLiteral("The appointment \"%1\" falls on %2, a time the local time zone skips")
                            .arg(m_now.subject, local.Format(u"%Y-%m-%d %H:%M")));
        if (!icaltime_is_valid_time(t))
            return Fail(error, ErrorCode::InvalidArgument,
                        QStringLiteral("The appointment \"%1\" falls in the year %2; the calendar holds years up to %3")
                            .arg(m_now.subject)
                            .arg(local.GetYear())
                            .arg(kLastYear));
        return true;
    };
    values.start = ToIcalTime(start, form);
    if (!fits(values.start, start))
        return false;

    // An end moves with the start, so that the event keeps its length: a floating one (or a date)
    // as the clock reads, a zoned one in real time.
    values.end.reset();
    icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
    if (!dtend || !isDateTime(oldStart))
        return true;
    TimeForm endForm;
    const COleDateTime oldEnd = LocalTimeOf(dtend, event, &endForm);
    if (!isDateTime(oldEnd))
        return true;
    const bool zoned = form.utc || form.zone;
    const COleDateTime end = zoned ? COleDateTime::FromQDateTime(start.ToQDateTime().addSecs(secondsBetween(oldStart, oldEnd)))
                                   : start + (oldEnd - oldStart);
    if (form.isDate)
        endForm = form;
    else if (endForm.isDate)
        endForm = TimeForm{};
    values.end = ToIcalTime(end, endForm);
    return fits(*values.end, end);
}

void AppointmentItem::writeStart(const StartValues& values)
{
    icalcomponent* event = m_document->Component();
    if (values.end)
        setTime(icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY), *values.end);
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!dtstart) {
        dtstart = icalproperty_new(ICAL_DTSTART_PROPERTY);
        icalcomponent_add_property(event, dtstart);
    }
    setTime(dtstart, values.start);
}

void AppointmentItem::writeReminder()
{
    icalcomponent* event = m_document->Component();
    if (!m_now.reminderSet) {
        for (icalcomponent* alarm : alarmsOf(event))
            removeComponent(event, alarm);
        return;
    }
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-int(m_now.reminderMinutes * 60));
    for (icalcomponent* alarm : alarmsOf(event)) {
        if (!icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY))
            continue;
        removeProperties(alarm, ICAL_TRIGGER_PROPERTY);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        return;
    }
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    const QString text = m_now.subject.isEmpty() ? QStringLiteral("Reminder") : m_now.subject;
    icalcomponent_add_property(alarm, icalproperty_new_description(text.toUtf8().constData()));
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(event, alarm);
}

void AppointmentItem::writeRecurrence()
{
    // A rule no pattern can express stays as it was.
    if (m_now.recurring && m_now.pattern.type == olRecursOther)
        return;
    icalcomponent* event = m_document->Component();
    // A pattern changed in place keeps its end (UNTIL or COUNT), as a pattern does; one that
    // was cleared or changed its type starts afresh.
    std::optional<icalrecurrencetype> end;
    if (icalproperty* old = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        old && !m_patternCleared && m_saved.recurring && m_now.recurring && m_saved.pattern.type == m_now.pattern.type)
        end = icalproperty_get_rrule(old);
    removeProperties(event, ICAL_RRULE_PROPERTY);
    removeProperties(event, ICAL_RDATE_PROPERTY);
    removeProperties(event, ICAL_EXDATE_PROPERTY);
    // Overridden occurrences belong to the old rule.
    if (icalcomponent* calendar = icalcomponent_get_parent(event)) {
        std::vector<icalcomponent*> overrides;
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            if (c != event && icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) &&
                QString::fromUtf8(icalcomponent_get_uid(c)) == QString::fromUtf8(icalcomponent_get_uid(event)))
                overrides.push_back(c);
        }
        for (icalcomponent* c : overrides)
            removeComponent(calendar, c);
    }
    if (m_now.recurring) {
        icalrecurrencetype rule = RuleFromFields(m_now.pattern, m_now.start);
        if (end) {
            rule.until = end->until;
            rule.count = end->count;
        }
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
    }
}

} // namespace pim
