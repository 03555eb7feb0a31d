// Reads arbitrary bytes as an .ics file of the calendar and of the notes folder: libical's
// parser, the item mapping, the recurrence reading and the rewrite must never crash or hang,
// and what was set must read back from the rewritten file.
#include "platform/pim/appointment_item.h"
#include "platform/pim/note_item.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// A text as it reads back: one "\n" per line break, no other control character but the tab,
// and without the leading blanks that libical's parser drops from every value.
QString asWritten(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    text.removeIf([](QChar c) { return (c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7f; });
    qsizetype blanks = 0;
    while (blanks < text.size() && (text[blanks] == u' ' || text[blanks] == u'\t'))
        ++blanks;
    return text.mid(blanks);
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// The first item of a kind in a file's text, as the store reads its items.
template <class T>
std::unique_ptr<T> firstItem(const QString& kind, const QString& folder, const QString& path, const QByteArray& bytes)
{
    const pim::ComponentFile file(bytes);
    for (const pim::ItemSpans& spans : file.Items(kind)) {
        if (std::unique_ptr<T> item = T::FromSpans(folder, path, file, spans))
            return item;
    }
    return nullptr;
}

// The first item of the file on disk.
std::unique_ptr<pim::Item> readBack(pim::OlDefaultFolders folder, const QString& path)
{
    std::vector<std::unique_ptr<pim::Item>> items = pim::Item::LoadAll(folder, path);
    return items.empty() ? nullptr : std::move(items.front());
}

void fuzzAppointment(const QString& folder, const QByteArray& input)
{
    const QString path = folder + QStringLiteral("/event.ics");
    std::unique_ptr<pim::AppointmentItem> item = firstItem<pim::AppointmentItem>(QStringLiteral("VEVENT"), folder, path, input);
    if (!item)
        return;
    // Everything the exchange reads.
    const QString subject = item->Subject() + QStringLiteral(" ;,\\\nx");
    const bool recurring = item->IsRecurring();
    if (recurring) {
        pim::RecurrencePattern& pattern = item->GetRecurrencePattern();
        (void)pattern.RecurrenceType();
        (void)pattern.Interval();
        (void)pattern.DayOfWeekMask();
        (void)pattern.DayOfMonth();
        (void)pattern.MonthOfYear();
        (void)pattern.Instance();
        (void)pattern.StartTime();
    }
    // And what an update may change: the subject, the reminder, the start, a rule on the
    // start's own weekday.
    item->SetSubject(subject);
    item->SetReminderSet(!item->ReminderSet());
    item->SetReminderMinutesBeforeStart(item->ReminderMinutesBeforeStart() + 15);
    const COleDateTime start = item->Start();
    if (start.GetStatus() == COleDateTime::valid && start.GetDay() > 0)
        item->SetStart(start + COleDateTimeSpan(1, 0, 0, 0));
    if (recurring && item->GetRecurrencePattern().RecurrenceType() == pim::olRecursWeekly)
        item->GetRecurrencePattern().SetDayOfWeekMask(pim::olTuesday);
    if (!item->Save())
        return;
    std::unique_ptr<pim::Item> back = readBack(pim::olFolderCalendar, path);
    auto* reread = dynamic_cast<pim::AppointmentItem*>(back.get());
    check(reread && reread->EntryID() == item->EntryID() && reread->Subject() == asWritten(subject));
}

void fuzzNote(const QString& folder, const QByteArray& input)
{
    const QString path = folder + QStringLiteral("/note.ics");
    std::unique_ptr<pim::NoteItem> item = firstItem<pim::NoteItem>(QStringLiteral("VJOURNAL"), folder, path, input);
    if (!item)
        return;
    const QString body = item->Body() + QStringLiteral("\r\n;,\\");
    item->SetBody(body);
    if (!item->Save())
        return;
    std::unique_ptr<pim::Item> back = readBack(pim::olFolderNotes, path);
    auto* reread = dynamic_cast<pim::NoteItem*>(back.get());
    check(reread && reread->EntryID() == item->EntryID() && reread->Body() == asWritten(body));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    static QTemporaryDir dir;
    fuzzAppointment(dir.path(), input);
    fuzzNote(dir.path(), input);
    return 0;
}
