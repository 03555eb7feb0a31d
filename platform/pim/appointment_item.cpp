#include "platform/pim/appointment_item.h"

#include "platform/pim/ical_document.h"
#include "platform/pim/recurrence_rule.h"
#include "platform/pim/series_move.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
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
    : Item(folderPath), m_document(ICalDocument::Create(ICAL_VEVENT_COMPONENT)), m_pattern(*this)
{
    m_now.start = nowToTheMinute();
}

AppointmentItem::AppointmentItem(const QString& folderPath, const QString& path, const ComponentFile& file,
                                 const ItemSpans& spans, std::unique_ptr<ICalDocument> document)
    : Item(folderPath, path, file, spans.spans, spans.occurrence), m_document(std::move(document)), m_pattern(*this)
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

std::unique_ptr<AppointmentItem> AppointmentItem::FromSpans(const QString& folderPath, const QString& path,
                                                            const ComponentFile& file, const ItemSpans& spans)
{
    std::unique_ptr<ICalDocument> document = ICalDocument::Parse(file, spans.spans);
    if (!document)
        return nullptr;
    return std::unique_ptr<AppointmentItem>(new AppointmentItem(folderPath, path, file, spans, std::move(document)));
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
    TimeForm form;
    std::optional<icaltimetype> end;
};

bool AppointmentItem::SerializeNew(const QString& uid, QByteArray& bytes, Error* error)
{
    m_written = m_document->Clone();
    if (!applyChanges(*m_written, uid, error))
        return false;
    bytes = m_written->Serialize();
    return true;
}

bool AppointmentItem::SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error* error)
{
    m_written = m_document->Clone();
    if (!applyChanges(*m_written, uid, error))
        return false;
    texts = m_written->SpanTexts();
    return true;
}

void AppointmentItem::Saved()
{
    if (m_written)
        m_document = std::move(m_written);
    m_document->Committed();
    m_saved = m_now;
    m_patternCleared = false;
    m_move.reset();
    m_occurrences = Occurrences::Stay;
}

bool AppointmentItem::applyChanges(ICalDocument& document, const QString& uid, Error* error)
{
    m_move.reset();
    m_occurrences = Occurrences::Stay;
    // A value marked valid may still be no date (read from a damaged file): nothing to write.
    if (!isDateTime(m_now.start))
        return Fail(error, ErrorCode::InvalidArgument, QStringLiteral("The appointment has no valid start"));
    if (IsOccurrence() && m_now.recurring)
        return Fail(error, ErrorCode::InvalidArgument,
                    QStringLiteral("The appointment \"%1\" is one moved occurrence of a series; it cannot repeat on its own")
                        .arg(m_now.subject));
    icalcomponent* event = document.Component();
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    // Checked before anything changes, so that a start the file cannot hold is never written.
    std::optional<StartValues> start;
    if (m_now.start != m_saved.start || !dtstart) {
        start.emplace();
        if (!planStart(document, *start, error))
            return false;
    }
    const bool ruleWritten = m_now.recurring != m_saved.recurring ||
                             (m_now.recurring && !(m_now.pattern == m_saved.pattern));
    // A start moved with a repeat of the same kind takes the series along; a new rule does not.
    const bool follows = start && dtstart && m_saved.recurring == m_now.recurring &&
                         (!m_now.recurring || (m_now.pattern.type == m_saved.pattern.type &&
                                               m_now.pattern.interval == m_saved.pattern.interval));
    if (start && dtstart && (follows || !ruleWritten)) {
        TimeForm oldForm;
        LocalTimeOf(dtstart, event, &oldForm);
        m_move = std::make_shared<SeriesMove>(icalproperty_get_datetime_with_component(dtstart, event), oldForm,
                                              start->start, start->form);
    }

    if (!uid.isEmpty() && document.Text(ICAL_UID_PROPERTY).isEmpty())
        document.SetText(ICAL_UID_PROPERTY, uid);
    if (m_now.subject != m_saved.subject)
        document.SetText(ICAL_SUMMARY_PROPERTY, m_now.subject);
    if (m_now.body != m_saved.body)
        document.SetText(ICAL_DESCRIPTION_PROPERTY, m_now.body);
    if (start)
        writeStart(document, *start);
    if (m_now.reminderSet != m_saved.reminderSet ||
        (m_now.reminderSet && m_now.reminderMinutes != m_saved.reminderMinutes))
        writeReminder(document);
    if (ruleWritten) {
        // A rule that followed the moved start (a weekly one to its new weekday) keeps its end and
        // its exceptions, which move with it. Any other changed rule keeps its end only when it
        // was changed in place (a pattern does), and its exceptions belong to the old rule.
        const bool followsStart = m_move && follows;
        writeRecurrence(document,
                        followsStart || (!m_patternCleared && m_saved.recurring && m_now.recurring &&
                                         m_saved.pattern.type == m_now.pattern.type),
                        followsStart);
        if (!followsStart && !(m_now.recurring && m_now.pattern.type == olRecursOther))
            m_occurrences = Occurrences::Drop;
    }
    if (m_move && m_occurrences != Occurrences::Drop) {
        if (!moveExceptions(document, error))
            return false;
        m_occurrences = Occurrences::Move;
    }
    document.Stamp();
    return true;
}

bool AppointmentItem::planStart(const ICalDocument& document, StartValues& values, Error* error) const
{
    icalcomponent* event = document.Component();
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
    values.form = form;
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

void AppointmentItem::writeStart(ICalDocument& document, const StartValues& values) const
{
    icalcomponent* event = document.Component();
    if (values.end)
        setTime(icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY), *values.end);
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!dtstart) {
        dtstart = icalproperty_new(ICAL_DTSTART_PROPERTY);
        icalcomponent_add_property(event, dtstart);
    }
    setTime(dtstart, values.start);
}

void AppointmentItem::writeReminder(ICalDocument& document) const
{
    icalcomponent* event = document.Component();
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

void AppointmentItem::writeRecurrence(ICalDocument& document, bool keepEnd, bool keepExceptions) const
{
    // A rule no pattern can express stays as it was.
    if (m_now.recurring && m_now.pattern.type == olRecursOther)
        return;
    icalcomponent* event = document.Component();
    std::optional<icalrecurrencetype> end;
    if (icalproperty* old = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); old && keepEnd)
        end = icalproperty_get_rrule(old);
    removeProperties(event, ICAL_RRULE_PROPERTY);
    if (!keepExceptions) {
        removeProperties(event, ICAL_RDATE_PROPERTY);
        removeProperties(event, ICAL_EXDATE_PROPERTY);
        for (icalcomponent* occurrence : document.Others())
            document.Remove(occurrence);
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

bool AppointmentItem::moveExceptions(ICalDocument& document, Error* error) const
{
    icalcomponent* event = document.Component();
    for (const icalproperty_kind kind : {ICAL_EXDATE_PROPERTY, ICAL_RDATE_PROPERTY}) {
        for (icalproperty* p = icalcomponent_get_first_property(event, kind); p;
             p = icalcomponent_get_next_property(event, kind))
            m_move->Move(p, event);
    }
    m_move->SetSeries(event);
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        if (!m_move->Names(p, event))
            return Fail(error, ErrorCode::InvalidArgument,
                        QStringLiteral("The appointment \"%1\" cannot move: its cancelled occurrence, moved to %2, "
                                       "would fall on no occurrence of the moved series")
                            .arg(m_now.subject, m_move->Describe(p, event)));
    }
    for (icalcomponent* occurrence : document.Others()) {
        icalproperty* id = icalcomponent_get_first_property(occurrence, ICAL_RECURRENCEID_PROPERTY);
        if (!id)
            continue;
        m_move->Move(id, occurrence);
        if (!movedOccurrenceFits(id, occurrence, error))
            return false;
    }
    return true;
}

bool AppointmentItem::movedOccurrenceFits(icalproperty* recurrenceId, icalcomponent* occurrence, Error* error) const
{
    if (m_move->Names(recurrenceId, occurrence))
        return true;
    return Fail(error, ErrorCode::InvalidArgument,
                QStringLiteral("The appointment \"%1\" cannot move: its changed occurrence, moved to %2, would fall "
                               "on no occurrence of the moved series")
                    .arg(m_now.subject, m_move->Describe(recurrenceId, occurrence)));
}

bool AppointmentItem::OtherFileChanges(bool deleting, std::vector<FileChange>& changes, Error* error)
{
    // Only a series has occurrences elsewhere, and only what a save moves or drops changes them.
    icalcomponent* event = m_document->Component();
    const bool series = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                        icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    if (IsOccurrence() || (deleting ? !series : m_occurrences == Occurrences::Stay))
        return true;
    const QString uid = File().Spans()[Spans().front()].key.uid;
    if (uid.isEmpty())
        return true;
    QDir dir(FolderPath());
    QStringList names = dir.entryList(QStringList{QStringLiteral("*.ics")}, QDir::Files | QDir::Readable);
    std::sort(names.begin(), names.end());
    std::vector<FileChange> found;
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path) == QFileInfo(FilePath()))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const ComponentFile components(file.readAll());
        FileChange change{path, components, {}};
        for (size_t i = 0; i < components.Spans().size(); ++i) {
            const ComponentKey& key = components.Spans()[i].key;
            if (key.kind != u"VEVENT" || key.uid != uid)
                continue;
            // Another copy of the series: its occurrences may be its own, and stay.
            if (key.recurrenceId.isEmpty())
                return true;
            change.texts.emplace_back(i, QByteArray());
        }
        if (!change.texts.empty())
            found.push_back(std::move(change));
    }
    if (!deleting && m_occurrences == Occurrences::Move) {
        for (FileChange& change : found) {
            for (auto& [index, text] : change.texts) {
                std::unique_ptr<ICalDocument> occurrence = ICalDocument::Parse(change.asRead, {index});
                icalproperty* id = occurrence ? icalcomponent_get_first_property(occurrence->Component(), ICAL_RECURRENCEID_PROPERTY)
                                              : nullptr;
                if (!id) {
                    text = change.asRead.SpanText(index); // unreadable: left as it is
                    continue;
                }
                m_move->Move(id, occurrence->Component());
                if (!movedOccurrenceFits(id, occurrence->Component(), error))
                    return false;
                text = occurrence->SpanTexts().front();
            }
        }
    }
    for (FileChange& change : found)
        changes.push_back(std::move(change));
    return true;
}

} // namespace pim
