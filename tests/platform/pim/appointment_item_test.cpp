#include "pim_test_support.h"

#include <cmath>

namespace {

using pim::AppointmentItem;
using pimtest::ReadFile;
using pimtest::ScopedTimeZone;

class AppointmentItemTest : public pimtest::StoreTest {
protected:
    // A one-event calendar with the given lines inside the VEVENT.
    QString PutEvent(const QString& name, const QByteArray& lines)
    {
        return PutText(QStringLiteral("calendar/") + name,
                       "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:" + name.toUtf8() +
                           "\r\nDTSTAMP:20240101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n");
    }

    std::unique_ptr<AppointmentItem> SaveAndReload(AppointmentItem& item)
    {
        pim::Error error;
        EXPECT_TRUE(item.Save(&error)) << error.description.toStdString();
        return Find<AppointmentItem>(item.EntryID());
    }
};

TEST_F(AppointmentItemTest, WrittenByUsReadsBack)
{
    auto item = Create<AppointmentItem>(pim::olAppointmentItem);
    ASSERT_TRUE(item);
    item->SetSubject(QStringLiteral("Dentist, 2nd floor; bring card"));
    item->SetBody(QStringLiteral("Line one\r\nLine two"));
    item->SetStart(COleDateTime(2024, 3, 6, 14, 30, 0));
    item->SetReminderSet(true);
    item->SetReminderMinutesBeforeStart(15);
    pim::RecurrencePattern& pattern = item->GetRecurrencePattern();
    pattern.SetStartTime(item->Start());
    pattern.SetRecurrenceType(pim::olRecursWeekly);
    auto back = SaveAndReload(*item);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Subject(), QStringLiteral("Dentist, 2nd floor; bring card"));
    EXPECT_EQ(back->Body(), QStringLiteral("Line one\nLine two"));
    EXPECT_EQ(back->Start(), COleDateTime(2024, 3, 6, 14, 30, 0));
    EXPECT_TRUE(back->ReminderSet());
    EXPECT_EQ(back->ReminderMinutesBeforeStart(), 15);
    ASSERT_TRUE(back->IsRecurring());
    EXPECT_EQ(back->GetRecurrencePattern().RecurrenceType(), pim::olRecursWeekly);
    EXPECT_EQ(back->GetRecurrencePattern().DayOfWeekMask(), pim::olWednesday);
    EXPECT_EQ(back->GetRecurrencePattern().Interval(), 1);

    const QByteArray file = ReadFile(item->FilePath());
    for (const char* expected :
         {"BEGIN:VCALENDAR\r\n", "\r\nVERSION:2.0\r\n", "\r\nPRODID:", "\r\nBEGIN:VEVENT\r\n", "\r\nDTSTAMP:",
          "\r\nSUMMARY:Dentist\\, 2nd floor\\; bring card\r\n", "\r\nDESCRIPTION:Line one\\nLine two\r\n",
          "\r\nDTSTART:20240306T143000\r\n", "\r\nRRULE:FREQ=WEEKLY;BYDAY=WE\r\n", "\r\nBEGIN:VALARM\r\n",
          "\r\nACTION:DISPLAY\r\n", "\r\nTRIGGER:-PT15M\r\n"})
        EXPECT_TRUE(file.contains(expected)) << expected << "\n" << file.constData();
    EXPECT_TRUE(file.contains("\r\nUID:" + item->EntryID().toUtf8() + "\r\n"));
}

TEST_F(AppointmentItemTest, RemindersReadBackAsMinutes)
{
    const struct {
        bool set;
        long minutes;
        const char* trigger; // in the file, null when there is no alarm
    } cases[] = {
        {false, 15, nullptr}, {true, 0, "TRIGGER:PT0S"},    {true, 15, "TRIGGER:-PT15M"},  {true, 30, "TRIGGER:-PT30M"},
        {true, 60, "TRIGGER:-PT1H"}, {true, 1440, "TRIGGER:-P1D"}, {true, 45, "TRIGGER:-PT45M"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minutes);
        auto item = Create<AppointmentItem>(pim::olAppointmentItem);
        item->SetStart(COleDateTime(2024, 5, 1, 9, 0, 0));
        item->SetReminderSet(c.set);
        if (c.set)
            item->SetReminderMinutesBeforeStart(c.minutes);
        auto back = SaveAndReload(*item);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->ReminderSet(), c.set);
        EXPECT_EQ(back->ReminderMinutesBeforeStart(), c.minutes);
        const QByteArray file = ReadFile(item->FilePath());
        EXPECT_EQ(file.contains("BEGIN:VALARM"), c.trigger != nullptr);
        if (c.trigger) {
            EXPECT_TRUE(file.contains(c.trigger)) << file.constData();
        }
    }
}

TEST_F(AppointmentItemTest, PatternsAsTheExchangeWritesThem)
{
    // A Wednesday, as in the weekly case the exchange must write with mask 8.
    const COleDateTime start(2024, 7, 10, 8, 0, 0);
    const struct {
        pim::OlRecurrenceType type;
        const char* rrule;
        long mask, dayOfMonth, monthOfYear;
    } cases[] = {
        {pim::olRecursDaily, "RRULE:FREQ=DAILY\r\n", 0, 0, 0},
        {pim::olRecursWeekly, "RRULE:FREQ=WEEKLY;BYDAY=WE\r\n", 8, 0, 0},
        {pim::olRecursMonthly, "RRULE:FREQ=MONTHLY;BYMONTHDAY=10\r\n", 0, 10, 0},
        {pim::olRecursYearly, "RRULE:FREQ=YEARLY;BYMONTHDAY=10;BYMONTH=7\r\n", 0, 10, 7},
        {pim::olRecursMonthNth, "RRULE:FREQ=MONTHLY;BYDAY=2WE\r\n", 8, 0, 0},
        {pim::olRecursYearNth, "RRULE:FREQ=YEARLY;BYDAY=2WE;BYMONTH=7\r\n", 8, 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rrule);
        auto item = Create<AppointmentItem>(pim::olAppointmentItem);
        item->SetStart(start);
        pim::RecurrencePattern& pattern = item->GetRecurrencePattern();
        pattern.SetStartTime(start);
        pattern.SetRecurrenceType(c.type);
        if (c.type == pim::olRecursWeekly)
            pattern.SetDayOfWeekMask(1L << (start.GetDayOfWeek() - 1));
        auto back = SaveAndReload(*item);
        ASSERT_TRUE(back);
        EXPECT_TRUE(ReadFile(item->FilePath()).contains(c.rrule)) << ReadFile(item->FilePath()).constData();
        ASSERT_TRUE(back->IsRecurring());
        const pim::RecurrencePattern& read = back->GetRecurrencePattern();
        EXPECT_EQ(read.RecurrenceType(), c.type);
        EXPECT_EQ(read.Interval(), 1);
        EXPECT_EQ(read.DayOfWeekMask(), c.mask);
        EXPECT_EQ(read.DayOfMonth(), c.dayOfMonth);
        EXPECT_EQ(read.MonthOfYear(), c.monthOfYear);
    }
}

TEST_F(AppointmentItemTest, RulesOfOtherProgramsAsPatterns)
{
    // DTSTART is Wednesday 10 July 2024.
    const struct {
        const char* rule;
        pim::OlRecurrenceType type;
        long interval, mask, dayOfMonth, monthOfYear, instance;
    } cases[] = {
        {"FREQ=DAILY;INTERVAL=3", pim::olRecursDaily, 3, 0, 0, 0, 0},
        {"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", pim::olRecursWeekly, 1, 62, 0, 0, 0},
        {"FREQ=WEEKLY;INTERVAL=2", pim::olRecursWeekly, 2, 8, 0, 0, 0},
        {"FREQ=WEEKLY;BYDAY=SU,SA;UNTIL=20241231T000000Z", pim::olRecursWeekly, 1, 65, 0, 0, 0},
        {"FREQ=MONTHLY", pim::olRecursMonthly, 1, 0, 10, 0, 0},
        {"FREQ=MONTHLY;BYMONTHDAY=31;COUNT=5", pim::olRecursMonthly, 1, 0, 31, 0, 0},
        {"FREQ=MONTHLY;BYDAY=-1FR", pim::olRecursMonthNth, 1, 32, 0, 0, 5},
        {"FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2", pim::olRecursMonthNth, 1, 4, 0, 0, 2},
        {"FREQ=YEARLY", pim::olRecursYearly, 1, 0, 10, 7, 0},
        {"FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", pim::olRecursYearNth, 1, 16, 0, 11, 4},
        {"FREQ=HOURLY;INTERVAL=4", pim::olRecursOther, 1, 0, 0, 0, 0},
        {"FREQ=MONTHLY;BYMONTHDAY=-1", pim::olRecursOther, 1, 0, 0, 0, 0},
        {"FREQ=MONTHLY;BYMONTHDAY=1,15", pim::olRecursOther, 1, 0, 0, 0, 0},
        {"FREQ=MONTHLY;BYDAY=TU", pim::olRecursOther, 1, 0, 0, 0, 0},
        {"FREQ=WEEKLY;BYHOUR=9,17", pim::olRecursOther, 1, 0, 0, 0, 0},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const QString name = QStringLiteral("rule%1.ics").arg(++n);
        PutEvent(name, "DTSTART:20240710T080000\r\nRRULE:" + QByteArray(c.rule) + "\r\n");
        auto item = Load<AppointmentItem>(QStringLiteral("calendar/") + name);
        ASSERT_TRUE(item);
        ASSERT_TRUE(item->IsRecurring());
        const pim::RecurrencePattern& p = item->GetRecurrencePattern();
        EXPECT_EQ(p.RecurrenceType(), c.type);
        EXPECT_EQ(p.Interval(), c.interval);
        EXPECT_EQ(p.DayOfWeekMask(), c.mask);
        EXPECT_EQ(p.DayOfMonth(), c.dayOfMonth);
        EXPECT_EQ(p.MonthOfYear(), c.monthOfYear);
        EXPECT_EQ(p.Instance(), c.instance);
    }
}

TEST_F(AppointmentItemTest, ARuleSetAgainUnchangedIsKeptAsWritten)
{
    // The exchange clears and sets the pattern on every update; the rule's end and the
    // other program's spelling must survive that.
    PutEvent(QStringLiteral("counted.ics"), "DTSTART:20240710T080000\r\nRRULE:FREQ=WEEKLY;COUNT=10;WKST=SU\r\n"
                                            "EXDATE:20240717T080000\r\n");
    auto item = Load<AppointmentItem>(QStringLiteral("calendar/counted.ics"));
    ASSERT_TRUE(item);
    item->SetSubject(QStringLiteral("renamed"));
    item->ClearRecurrencePattern();
    pim::RecurrencePattern& pattern = item->GetRecurrencePattern();
    pattern.SetStartTime(item->Start());
    pattern.SetRecurrenceType(pim::olRecursWeekly);
    pattern.SetDayOfWeekMask(pim::olWednesday);
    ASSERT_TRUE(item->Save());
    const QByteArray file = ReadFile(item->FilePath());
    EXPECT_TRUE(file.contains("RRULE:FREQ=WEEKLY;COUNT=10;WKST=SU\r\n")) << file.constData();
    EXPECT_TRUE(file.contains("EXDATE:20240717T080000\r\n"));
    EXPECT_TRUE(file.contains("SUMMARY:renamed\r\n"));

    // Asking for a rule no pattern can express leaves it alone as well.
    PutEvent(QStringLiteral("hourly.ics"), "DTSTART:20240710T080000\r\nRRULE:FREQ=HOURLY;INTERVAL=4\r\n");
    auto hourly = Load<AppointmentItem>(QStringLiteral("calendar/hourly.ics"));
    hourly->GetRecurrencePattern().SetInterval(1);
    ASSERT_TRUE(hourly->Save());
    EXPECT_TRUE(ReadFile(hourly->FilePath()).contains("RRULE:FREQ=HOURLY;INTERVAL=4\r\n"));
}

TEST_F(AppointmentItemTest, ChangingOrClearingTheRuleDropsItsExceptions)
{
    Put(QStringLiteral("calendar/overridden_occurrence.ics"));
    auto item = Load<AppointmentItem>(QStringLiteral("calendar/overridden_occurrence.ics"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Subject(), QStringLiteral("Stand-up")) << "the master, not the moved occurrence";
    EXPECT_EQ(item->GetRecurrencePattern().RecurrenceType(), pim::olRecursDaily);
    item->ClearRecurrencePattern();
    ASSERT_TRUE(item->Save());
    const QByteArray file = ReadFile(item->FilePath());
    EXPECT_FALSE(file.contains("RRULE"));
    EXPECT_FALSE(file.contains("EXDATE"));
    EXPECT_FALSE(file.contains("RECURRENCE-ID"));
    EXPECT_FALSE(file.contains("moved"));
    auto back = Load<AppointmentItem>(QStringLiteral("calendar/overridden_occurrence.ics"));
    EXPECT_FALSE(back->IsRecurring());
}

TEST_F(AppointmentItemTest, ZonedAndUtcStartsReadAsLocalTime)
{
    const ScopedTimeZone tokyo("Asia/Tokyo"); // UTC+9 all year
    const struct {
        const char* fixture;
        COleDateTime start;
        bool reminderSet;
        long minutes;
        const char* subject;
    } cases[] = {
        // 09:00 EDT is 13:00 UTC.
        {"calendar/new_york_weekly.ics", COleDateTime(2024, 7, 10, 22, 0, 0), true, 45, "Team call, weekly"},
        // An hour-long event with its alarm 90 minutes before its end.
        {"calendar/utc_start.ics", COleDateTime(2024, 1, 15, 17, 0, 0), true, 30, "Breakfast"},
        // 09:00 CEST (by the file's own VTIMEZONE) is 07:00 UTC; the alarm is absolute, at 06:45 UTC.
        {"calendar/windows_zone.ics", COleDateTime(2024, 7, 10, 16, 0, 0), true, 15, "Besprechung"},
        {"calendar/all_day.ics", COleDateTime(2024, 2, 29, 0, 0, 0), false, 15, "Leap day"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        Put(QString::fromUtf8(c.fixture));
        auto item = Load<AppointmentItem>(QString::fromUtf8(c.fixture));
        ASSERT_TRUE(item);
        EXPECT_EQ(item->Start(), c.start) << item->Start().Format(u"%Y-%m-%d %H:%M:%S").toStdString();
        EXPECT_EQ(item->ReminderSet(), c.reminderSet);
        EXPECT_EQ(item->ReminderMinutesBeforeStart(), c.minutes);
        EXPECT_EQ(item->Subject(), QString::fromUtf8(c.subject));
    }
    auto weekly = Load<AppointmentItem>(QStringLiteral("calendar/new_york_weekly.ics"));
    EXPECT_EQ(weekly->Body(), QStringLiteral("Agenda:\n1. status\n2. plans"));
    EXPECT_EQ(weekly->GetRecurrencePattern().DayOfWeekMask(), pim::olWednesday);
    auto yearly = Load<AppointmentItem>(QStringLiteral("calendar/all_day.ics"));
    EXPECT_EQ(yearly->GetRecurrencePattern().RecurrenceType(), pim::olRecursYearly);
    EXPECT_EQ(yearly->GetRecurrencePattern().MonthOfYear(), 2);
}

TEST_F(AppointmentItemTest, MovingAZonedEventKeepsItsZoneLengthAndEverythingElse)
{
    const ScopedTimeZone tokyo("Asia/Tokyo");
    const QString path = Put(QStringLiteral("calendar/new_york_weekly.ics"));
    auto item = Load<AppointmentItem>(QStringLiteral("calendar/new_york_weekly.ics"));
    ASSERT_TRUE(item);
    // One hour later, seen from Tokyo.
    item->SetStart(COleDateTime(2024, 7, 10, 23, 0, 0));
    item->SetReminderMinutesBeforeStart(60);
    ASSERT_TRUE(item->Save());
    const QByteArray file = ReadFile(path);
    for (const char* expected :
         {"DTSTART;TZID=America/New_York:20240710T100000\r\n", "DTEND;TZID=America/New_York:20240710T113000\r\n",
          "BEGIN:VTIMEZONE\r\n", "TZID:America/New_York\r\n", "CATEGORIES:WORK\r\n", "CATEGORIES:CALLS\r\n",
          "ATTENDEE;CN=Bob:mailto:bob@example.com\r\n", "X-EXAMPLE-COLOR:blue\r\n", "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=WE\r\n",
          "TRIGGER:-PT1H\r\n", "ACTION:EMAIL\r\n", "TRIGGER:-P1D\r\n",
          "SUMMARY:Team call\\, weekly\r\n", "UID:ny-weekly-0001@example.com\r\n"})
        EXPECT_TRUE(file.contains(expected)) << expected << "\n" << file.constData();
    EXPECT_FALSE(file.contains("DTSTAMP:20240601T120000Z")) << "the stamp says when the item was written";

    auto back = Load<AppointmentItem>(QStringLiteral("calendar/new_york_weekly.ics"));
    EXPECT_EQ(back->Start(), COleDateTime(2024, 7, 10, 23, 0, 0));
    EXPECT_EQ(back->ReminderMinutesBeforeStart(), 60);
}

TEST_F(AppointmentItemTest, StartFormsSurviveARewrite)
{
    const ScopedTimeZone tokyo("Asia/Tokyo");
    const struct {
        const char* fixture;
        COleDateTime start;
        const char* dtstart;
        const char* end;
    } cases[] = {
        {"calendar/utc_start.ics", COleDateTime(2024, 1, 16, 18, 30, 0), "DTSTART:20240116T093000Z\r\n", "DURATION:PT1H\r\n"},
        {"calendar/all_day.ics", COleDateTime(2024, 3, 1, 0, 0, 0), "DTSTART;VALUE=DATE:20240301\r\n",
         "DTEND;VALUE=DATE:20240302\r\n"},
        {"calendar/all_day.ics", COleDateTime(2024, 3, 1, 9, 15, 0), "DTSTART:20240301T091500\r\n",
         "DTEND:20240302T091500\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dtstart);
        const QString path = Put(QString::fromUtf8(c.fixture));
        auto item = Load<AppointmentItem>(QString::fromUtf8(c.fixture));
        item->SetStart(c.start);
        ASSERT_TRUE(item->Save());
        const QByteArray file = ReadFile(path);
        EXPECT_TRUE(file.contains(c.dtstart)) << file.constData();
        EXPECT_TRUE(file.contains(c.end)) << file.constData();
        EXPECT_EQ(Load<AppointmentItem>(QString::fromUtf8(c.fixture))->Start(), c.start);
    }
}

TEST_F(AppointmentItemTest, ReminderRemovalAndAnAppointmentWithoutStart)
{
    Put(QStringLiteral("calendar/new_york_weekly.ics"));
    auto item = Load<AppointmentItem>(QStringLiteral("calendar/new_york_weekly.ics"));
    item->SetReminderSet(false);
    ASSERT_TRUE(item->Save());
    EXPECT_FALSE(ReadFile(item->FilePath()).contains("VALARM"));

    // No start at all, and a value marked valid that is no date (a damaged data file).
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    COleDateTime outOfRange;
    outOfRange.m_dt = 1e300;
    COleDateTime notANumber;
    notANumber.m_dt = std::nan("");
    for (const COleDateTime& start : {invalid, outOfRange, notANumber}) {
        auto fresh = Create<AppointmentItem>(pim::olAppointmentItem);
        fresh->SetStart(start);
        pim::Error error;
        EXPECT_FALSE(fresh->Save(&error)) << start.m_dt;
        EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);
        EXPECT_TRUE(fresh->EntryID().isEmpty());
    }
    EXPECT_EQ(QDir(Folder(pim::olFolderCalendar)).entryList(QDir::Files).size(), 1);
}

// A floating start is written as the clock reads, also at an hour the local zone skips; a start
// or end the file cannot hold (a year after 3000, a skipped hour of a zoned event) is refused
// with its reason, and the file stays as it was.
TEST_F(AppointmentItemTest, StartsAreWrittenAsTheyStandOrRefusedWhole)
{
    const ScopedTimeZone berlin("Europe/Berlin");
    const QByteArray floating = "DTSTART:20240301T100000\r\nDTEND:20240301T113000\r\nSUMMARY:Yoga\r\n";
    const QByteArray zoned = "DTSTART:20240301T090000Z\r\nSUMMARY:Yoga\r\n";
    const struct {
        QByteArray lines; // empty for a new appointment
        COleDateTime start;
        std::vector<const char*> written; // empty when refused
        const char* reason;
    } cases[] = {
        {{}, COleDateTime(2024, 3, 31, 2, 30, 0), {"DTSTART:20240331T023000\r\n"}, nullptr},
        {floating, COleDateTime(2024, 3, 31, 2, 30, 0), {"DTSTART:20240331T023000\r\n", "DTEND:20240331T040000\r\n"}, nullptr},
        {{}, COleDateTime(3000, 12, 31, 23, 0, 0), {"DTSTART:30001231T230000\r\n"}, nullptr},
        {{}, COleDateTime(9999, 1, 1, 10, 0, 0), {}, "The appointment \"Yoga\" falls in the year 9999; the calendar holds years up to 3000"},
        {floating, COleDateTime(3000, 12, 31, 23, 0, 0), {}, "The appointment \"Yoga\" falls in the year 3001; the calendar holds years up to 3000"},
        {zoned, COleDateTime(2024, 3, 31, 2, 30, 0), {}, "The appointment \"Yoga\" falls on 2024-03-31 02:30, a time the local time zone skips"},
        {zoned, COleDateTime(2024, 3, 31, 3, 30, 0), {"DTSTART:20240331T013000Z\r\n"}, nullptr},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.Format(u"%Y-%m-%d %H:%M").toStdString() + " " + c.lines.constData());
        std::unique_ptr<AppointmentItem> item;
        QByteArray before;
        if (c.lines.isEmpty()) {
            item = Create<AppointmentItem>(pim::olAppointmentItem);
            item->SetSubject(QStringLiteral("Yoga"));
        } else {
            const QString name = QStringLiteral("e%1.ics").arg(++n);
            before = ReadFile(PutEvent(name, c.lines));
            item = Load<AppointmentItem>(QStringLiteral("calendar/") + name);
        }
        ASSERT_TRUE(item);
        item->SetStart(c.start);
        pim::Error error;
        const bool saved = item->Save(&error);
        EXPECT_EQ(saved, !c.reason) << error.description.toStdString();
        if (c.reason) {
            EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);
            EXPECT_EQ(error.description, QString::fromUtf8(c.reason));
            EXPECT_EQ(item->FilePath().isEmpty() ? QByteArray() : ReadFile(item->FilePath()), before);
            continue;
        }
        const QByteArray file = ReadFile(item->FilePath());
        for (const char* text : c.written)
            EXPECT_TRUE(file.contains(text)) << text << "\n" << file.constData();
        auto back = Find<AppointmentItem>(item->EntryID());
        ASSERT_TRUE(back) << file.constData();
        EXPECT_EQ(back->Start(), c.start);
    }
}

TEST_F(AppointmentItemTest, PatternDefaultsFollowTheStart)
{
    auto item = Create<AppointmentItem>(pim::olAppointmentItem);
    item->SetStart(COleDateTime(2024, 5, 31, 10, 0, 0)); // the last Friday of May
    EXPECT_FALSE(item->IsRecurring());
    pim::RecurrencePattern& p = item->GetRecurrencePattern();
    EXPECT_TRUE(item->IsRecurring());
    EXPECT_EQ(p.RecurrenceType(), pim::olRecursWeekly);
    EXPECT_EQ(p.DayOfWeekMask(), pim::olFriday);
    p.SetRecurrenceType(pim::olRecursMonthNth);
    EXPECT_EQ(p.Instance(), 5);
    p.SetRecurrenceType(pim::olRecursYearly);
    EXPECT_EQ(p.DayOfMonth(), 31);
    EXPECT_EQ(p.MonthOfYear(), 5);
    EXPECT_EQ(p.DayOfWeekMask(), 0);
    p.SetInterval(0);
    p.SetMonthOfYear(13);
    EXPECT_EQ(p.Interval(), 1);
    EXPECT_EQ(p.MonthOfYear(), 5);
    p.SetStartTime(COleDateTime(1899, 12, 30, 7, 45, 0));
    EXPECT_EQ(item->Start(), COleDateTime(2024, 5, 31, 7, 45, 0));
    EXPECT_EQ(p.StartTime(), COleDateTime(1899, 12, 30, 7, 45, 0));
    item->ClearRecurrencePattern();
    EXPECT_FALSE(item->IsRecurring());
    p.SetInterval(2); // a setter on the old pattern starts a fresh one
    EXPECT_TRUE(item->IsRecurring());
    EXPECT_EQ(p.RecurrenceType(), pim::olRecursWeekly);
    EXPECT_EQ(p.Interval(), 2);
}

} // namespace
