#include "document/mvsync_doc.h"
#include "document/outlook_sync.h"

#include "link/globals.h"
#include "link/progress_view.h"
#include "platform/pim/application.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/name_space.h"
#include "platform/pim/note_item.h"
#include "platform/string_table.h"
#include "support/recording_progress.h"
#include "support/recording_ui_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dh1;

namespace {

// Writes stop at a file size of zero for the lifetime of the guard, for every user.
class NoFileGrowth {
public:
    NoFileGrowth()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~NoFileGrowth()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old {};
    void (*m_handler)(int) = nullptr;
};

class PimExchange : public ::testing::Test {
protected:
    PimExchange()
    {
        qputenv("DESKHAND_PIM_DIR", dir.path().toUtf8());
        g_bUserAbort = false;
        g_nLastError = 0;
    }
    ~PimExchange() override { qunsetenv("DESKHAND_PIM_DIR"); }

    // Items written straight into the store, as another program would.
    QString addContact(const QString& name, const QString& mobile)
    {
        pim::Application app(dir.path());
        auto ns = app.GetNamespace(QStringLiteral("MAPI"));
        ns->Logon();
        auto item = pim::ItemCast<pim::ContactItem>(app.CreateItem(pim::olContactItem));
        item->SetFullName(name);
        item->SetMobileTelephoneNumber(mobile);
        EXPECT_TRUE(item->Save());
        return item->EntryID();
    }

    std::unique_ptr<pim::AppointmentItem> appointment(const QString& entryId)
    {
        pim::Application app(dir.path());
        auto ns = app.GetNamespace(QStringLiteral("MAPI"));
        ns->Logon();
        return pim::ItemCast<pim::AppointmentItem>(ns->GetItemFromID(entryId));
    }

    int fileCount(const char* folder) const
    {
        return int(QDir(dir.filePath(QLatin1String(folder))).entryList(QDir::Files).size());
    }

    // A file of the store as another program writes it ("calendar/x.ics").
    void put(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(dir.filePath(relative)).absolutePath());
        QFile file(dir.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray get(const QString& relative) const
    {
        QFile file(dir.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingUi recording;
    QTemporaryDir dir;
    testsupport::ProgressLog progress;
    CMVsyncDoc doc;

private:
    testsupport::ScopedRecordingProgress m_progress {&progress};
};

TEST_F(PimExchange, ContactImportSkipsEntriesWithoutNameOrNumberAndKeepsPhoneLinks)
{
    const QString ann = addContact(QStringLiteral("Ann"), QStringLiteral("0123"));
    addContact(QStringLiteral("No Numbers"), QString());
    addContact(QString(), QStringLiteral("555"));

    auto old = std::make_unique<CPhoneEntry>();
    old->m_strEntryID = ann;
    old->m_nIndex = 12;
    old->m_nList = 3;
    old->m_nSimIndex = 4;
    old->m_nState = CSyncRecord::StateDeleted;
    doc.m_outlookContacts.push_back(std::move(old));

    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_EQ(doc.m_outlookContacts.size(), 1u);
    const CPhoneEntry& e = *doc.m_outlookContacts[0];
    EXPECT_EQ(e.m_strName, QStringLiteral("Ann"));
    EXPECT_EQ(e.m_strMobile, QStringLiteral("0123"));
    EXPECT_EQ(e.m_nIndex, 12);
    EXPECT_EQ(e.m_nList, 3);
    EXPECT_EQ(e.m_nSimIndex, 4);
    EXPECT_EQ(e.m_nState, 0);
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Loading data... 0")));
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Log off")));
    EXPECT_FALSE(doc.IsBusy());
}

TEST_F(PimExchange, ExportFollowsTheStateTable)
{
    const QString kept = addContact(QStringLiteral("Kept"), QStringLiteral("1"));
    const QString changed = addContact(QStringLiteral("Changed"), QStringLiteral("2"));
    const QString removed = addContact(QStringLiteral("Removed"), QStringLiteral("3"));
    auto record = [&](const char* name, const QString& id, int state) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = QLatin1String(name);
        e->m_strMobile = QStringLiteral("9");
        e->m_strEntryID = id;
        e->m_nState = state;
        doc.m_outlookContacts.push_back(std::move(e));
    };
    record("Kept but edited here", kept, CSyncRecord::StateUnchanged);
    record("Changed now", changed, CSyncRecord::StateChanged);
    record("Removed", removed, CSyncRecord::StateDeleted);
    record("Never sent", QString(), CSyncRecord::StateDeleted);
    record("New", QString(), CSyncRecord::StateNew);

    ASSERT_TRUE(doc.ExportOutlookContacts());
    ASSERT_EQ(doc.m_outlookContacts.size(), 3u);
    EXPECT_EQ(doc.m_outlookContacts[1]->m_nState, 0);
    EXPECT_FALSE(doc.m_outlookContacts[2]->m_strEntryID.isEmpty());
    EXPECT_EQ(fileCount("contacts"), 3);

    ASSERT_TRUE(doc.ImportOutlookContacts());
    QStringList names;
    for (const auto& e : doc.m_outlookContacts)
        names << e->m_strName;
    names.sort();
    EXPECT_EQ(names, (QStringList{"Changed now", "Kept", "New"}));
}

TEST_F(PimExchange, AppointmentTablesBothWays)
{
    struct Case {
        int repeat, alarm;
        COleDateTime start;
    };
    const Case cases[] = {
        {0, 0, COleDateTime(2004, 3, 7, 9, 5, 0)},   {1, 1, COleDateTime(2004, 3, 8, 10, 0, 0)},
        {2, 2, COleDateTime(2004, 3, 10, 11, 0, 0)}, {3, 3, COleDateTime(2004, 3, 31, 12, 0, 0)},
        {4, 4, COleDateTime(2004, 2, 29, 13, 0, 0)}, {0, 5, COleDateTime(2004, 3, 12, 14, 0, 0)},
    };
    for (const Case& c : cases) {
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = QStringLiteral("S%1%2").arg(c.repeat).arg(c.alarm);
        e->m_dtStart = c.start;
        e->m_nRepeat = c.repeat;
        e->m_nAlarm = c.alarm;
        e->m_nState = CSyncRecord::StateNew;
        doc.m_outlookSchedules.push_back(std::move(e));
    }
    ASSERT_TRUE(doc.ExportOutlookSchedules());

    // Alarm 1 is a reminder at 0 minutes; a weekly entry on a Wednesday has the mask 8.
    auto onTime = appointment(doc.m_outlookSchedules[1]->m_strEntryID);
    ASSERT_TRUE(onTime);
    EXPECT_TRUE(onTime->ReminderSet());
    EXPECT_EQ(onTime->ReminderMinutesBeforeStart(), 0);
    EXPECT_EQ(onTime->Body(), QStringLiteral("S11"));
    auto weekly = appointment(doc.m_outlookSchedules[2]->m_strEntryID);
    ASSERT_TRUE(weekly && weekly->IsRecurring());
    EXPECT_EQ(weekly->GetRecurrencePattern().RecurrenceType(), pim::olRecursWeekly);
    EXPECT_EQ(weekly->GetRecurrencePattern().DayOfWeekMask(), 8);

    ASSERT_TRUE(doc.ImportOutlookSchedules());
    ASSERT_EQ(doc.m_outlookSchedules.size(), 6u);
    for (const auto& e : doc.m_outlookSchedules) {
        const QString subject = e->m_strSubject;
        EXPECT_EQ(e->m_nRepeat, subject.mid(1, 1).toInt()) << subject.toStdString();
        EXPECT_EQ(e->m_nAlarm, subject.mid(2, 1).toInt()) << subject.toStdString();
    }

    // Every second week, a 45-minute reminder and grave accents in the subject.
    auto odd = appointment(doc.m_outlookSchedules[0]->m_strEntryID);
    odd->SetSubject(QStringLiteral("It`s odd"));
    odd->GetRecurrencePattern().SetRecurrenceType(pim::olRecursWeekly);
    odd->GetRecurrencePattern().SetInterval(2);
    odd->SetReminderSet(true);
    odd->SetReminderMinutesBeforeStart(45);
    ASSERT_TRUE(odd->Save());
    ASSERT_TRUE(doc.ImportOutlookSchedules());
    for (const auto& e : doc.m_outlookSchedules) {
        if (e->m_strEntryID != odd->EntryID())
            continue;
        EXPECT_EQ(e->m_strSubject, QStringLiteral("Its odd"));
        EXPECT_EQ(e->m_nRepeat, 0);
        EXPECT_EQ(e->m_nAlarm, 0);
    }
}

TEST_F(PimExchange, NotesThatVanishedComeBackAndDeletedItemsCountAsDone)
{
    auto note = std::make_unique<CMemoEntry>();
    note->m_strText = QStringLiteral("remember");
    note->m_nState = CSyncRecord::StateNew;
    doc.m_outlookMemos.push_back(std::move(note));
    ASSERT_TRUE(doc.ExportOutlookNotes());
    const QString first = doc.m_outlookMemos[0]->m_strEntryID;
    ASSERT_FALSE(first.isEmpty());

    // Another program removed the note; an update makes it anew.
    for (const QString& name : QDir(dir.filePath(QStringLiteral("notes"))).entryList(QDir::Files))
        QFile::remove(dir.filePath(QStringLiteral("notes/")) + name);
    doc.m_outlookMemos[0]->m_nState = CSyncRecord::StateChanged;
    ASSERT_TRUE(doc.ExportOutlookNotes());
    EXPECT_NE(doc.m_outlookMemos[0]->m_strEntryID, first);
    EXPECT_EQ(fileCount("notes"), 1);

    // Deleting an item that is already gone succeeds and drops the record.
    auto gone = std::make_unique<CMemoEntry>();
    gone->m_strEntryID = QStringLiteral("no-such-item");
    gone->m_nState = CSyncRecord::StateDeleted;
    doc.m_outlookMemos.push_back(std::move(gone));
    EXPECT_TRUE(doc.ExportOutlookNotes());
    EXPECT_EQ(doc.m_outlookMemos.size(), 1u);
}

TEST_F(PimExchange, FailedSavesFailTheWriteAndKeepTheStates)
{
    const QString id = addContact(QStringLiteral("Ann"), QStringLiteral("1"));
    auto changed = std::make_unique<CPhoneEntry>();
    changed->m_strName = QStringLiteral("Ann B");
    changed->m_strEntryID = id;
    changed->m_nState = CSyncRecord::StateChanged;
    auto fresh = std::make_unique<CPhoneEntry>();
    fresh->m_strName = QStringLiteral("New");
    fresh->m_nState = CSyncRecord::StateNew;
    doc.m_outlookContacts.push_back(std::move(changed));
    doc.m_outlookContacts.push_back(std::move(fresh));
    {
        NoFileGrowth full;
        EXPECT_FALSE(doc.ExportOutlookContacts());
    }
    EXPECT_EQ(doc.m_outlookContacts[0]->m_nState, CSyncRecord::StateChanged);
    EXPECT_TRUE(doc.m_outlookContacts[1]->m_strEntryID.isEmpty());
    // One box, and it names the store's reason.
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_TRUE(recording.ui.boxTexts()[0].startsWith(QStringLiteral("Failed to write data. - Cannot write ")))
        << recording.ui.boxTexts()[0].toStdString();

    // Once the store takes writes again, the same export goes through.
    EXPECT_TRUE(doc.ExportOutlookContacts());
    EXPECT_EQ(doc.m_outlookContacts[0]->m_nState, 0);
    EXPECT_FALSE(doc.m_outlookContacts[1]->m_strEntryID.isEmpty());
}

TEST_F(PimExchange, AStoreThatCannotExistRefusesTheLogOn)
{
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    qputenv("DESKHAND_PIM_DIR", dir.filePath(QStringLiteral("plain/pim")).toUtf8());
    doc.m_outlookContacts.push_back(std::make_unique<CPhoneEntry>());
    EXPECT_FALSE(doc.ImportOutlookContacts());
    EXPECT_EQ(doc.m_outlookContacts.size(), 1u);
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_EQ(recording.ui.boxTexts()[0], QStringLiteral("Failed to read data. - %1 is not a folder").arg(plain.fileName()));
}

TEST_F(PimExchange, AbortClosesTheWindowButKeepsTheMainWindowDisabledUntilTheEnd)
{
    for (int i = 0; i < 3; ++i)
        addContact(QStringLiteral("C%1").arg(i), QStringLiteral("%1").arg(i));
    bool busyDuringRun = false;
    bool enabledDuringRun = false;
    recording.ui.onPump = [&](int pump) {
        busyDuringRun = busyDuringRun || doc.IsBusy();
        enabledDuringRun = enabledDuringRun || !recording.ui.enableCalls.empty();
        if (pump == 2)
            g_bUserAbort = true;
    };
    recording.ui.enableCalls.clear();
    ASSERT_TRUE(doc.ImportOutlookContacts());
    EXPECT_TRUE(busyDuringRun);
    EXPECT_EQ(doc.m_outlookContacts.size(), 3u);
    // Nothing re-enabled the main window before the exchange ended; its end did.
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_EQ(recording.ui.enableCalls, std::vector<bool>{true});
    EXPECT_LE(progress.steps.size(), 3);
    EXPECT_FALSE(g_bUserAbort);
}

TEST_F(PimExchange, StoringOntoAPimEntryMarksItChanged)
{
    auto pim = std::make_unique<CPhoneEntry>();
    pim->m_strEntryID = QStringLiteral("id");
    pim->m_nIndex = 5;
    pim->m_nList = 3;
    doc.m_outlookContacts.push_back(std::move(pim));
    CPhoneEntry fromPhone;
    fromPhone.m_nIndex = 5;
    fromPhone.m_nList = 3;
    fromPhone.m_strName = QStringLiteral("From the phone");
    doc.StoreContact(CMVsyncDoc::ListOutlook, fromPhone);
    EXPECT_EQ(doc.m_outlookContacts[0]->m_nState, CSyncRecord::StateChanged);
    doc.StoreContact(CMVsyncDoc::ListPc, fromPhone);
    EXPECT_EQ(doc.m_pcContacts[0]->m_nState, 0);
}

TEST_F(PimExchange, AScheduleWithoutADateFailsItsWriteCleanly)
{
    // A start marked invalid, and one marked valid that holds no date (a damaged data file).
    const struct {
        COleDateTime::DateTimeStatus status;
        int repeat;
    } cases[] = {
        {COleDateTime::invalid, CScheduleEntry::RepeatNone},
        {COleDateTime::invalid, CScheduleEntry::RepeatWeekly},
        {COleDateTime::valid, CScheduleEntry::RepeatNone},
        {COleDateTime::valid, CScheduleEntry::RepeatWeekly},
    };
    for (const auto& c : cases) {
        doc.m_outlookSchedules.clear();
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = QStringLiteral("Garbled");
        e->m_dtStart.m_dt = 1e300;
        e->m_dtStart.SetStatus(c.status);
        e->m_nRepeat = c.repeat;
        e->m_nState = CSyncRecord::StateNew;
        doc.m_outlookSchedules.push_back(std::move(e));
        EXPECT_FALSE(doc.ExportOutlookSchedules());
        EXPECT_TRUE(doc.m_outlookSchedules[0]->m_strEntryID.isEmpty());
        EXPECT_EQ(fileCount("calendar"), 0);
    }
}

TEST_F(PimExchange, MovingAYearlyEntryMovesItsRecurrence)
{
    auto e = std::make_unique<CScheduleEntry>();
    e->m_strSubject = QStringLiteral("Anniversary");
    e->m_dtStart = COleDateTime(2004, 3, 7, 9, 0, 0);
    e->m_nRepeat = CScheduleEntry::RepeatYearly;
    e->m_nState = CSyncRecord::StateNew;
    doc.m_outlookSchedules.push_back(std::move(e));
    ASSERT_TRUE(doc.ExportOutlookSchedules());

    CScheduleEntry& moved = *doc.m_outlookSchedules[0];
    moved.m_dtStart = COleDateTime(2004, 4, 10, 9, 0, 0);
    moved.m_nState = CSyncRecord::StateChanged;
    ASSERT_TRUE(doc.ExportOutlookSchedules());

    // Every 10 April, not 7 April after a first occurrence on the 10th.
    auto item = appointment(moved.m_strEntryID);
    ASSERT_TRUE(item && item->IsRecurring());
    EXPECT_EQ(item->Start(), COleDateTime(2004, 4, 10, 9, 0, 0));
    EXPECT_EQ(item->GetRecurrencePattern().RecurrenceType(), pim::olRecursYearly);
    EXPECT_EQ(item->GetRecurrencePattern().MonthOfYear(), 4);
    EXPECT_EQ(item->GetRecurrencePattern().DayOfMonth(), 10);
}

QByteArray calendarWith(const QByteArray& uid, const QByteArray& lines, const QByteArray& after = {})
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
           + "\r\nDTSTAMP:20240101T000000Z\r\n" + lines + "END:VEVENT\r\n" + after + "END:VCALENDAR\r\n";
}

TEST_F(PimExchange, AnItemOfAnotherKindWithTheSameUidIsLeftAlone)
{
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:same\r\nFN:Ann\r\nTEL;TYPE=CELL:1\r\nEND:VCARD\r\n";
    put(QStringLiteral("contacts/same.vcf"), card);
    put(QStringLiteral("notes/same.ics"), "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VJOURNAL\r\n"
                                          "UID:same\r\nDESCRIPTION:old\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n");
    auto note = std::make_unique<CMemoEntry>();
    note->m_strEntryID = QStringLiteral("same");
    note->m_strText = QStringLiteral("new");
    note->m_nState = CSyncRecord::StateChanged;
    doc.m_outlookMemos.push_back(std::move(note));

    ASSERT_TRUE(doc.ExportOutlookNotes());
    EXPECT_TRUE(get(QStringLiteral("notes/same.ics")).contains("DESCRIPTION:new"));
    doc.m_outlookMemos[0]->m_nState = CSyncRecord::StateDeleted;
    ASSERT_TRUE(doc.ExportOutlookNotes());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("notes/same.ics"))));
    EXPECT_EQ(get(QStringLiteral("contacts/same.vcf")), card);
}

// Events as other programs write them, read, edited here in one field, changed by another
// program in the meantime, and written back.
TEST_F(PimExchange, AnUpdateChangesOnlyWhatTheUserChanged)
{
    const QByteArray everyOtherDay = "DTSTART:20240102T100000\r\nRRULE:FREQ=DAILY;INTERVAL=2\r\nSUMMARY:Gym\r\n";
    const struct {
        const char* name;
        QByteArray lines, after;
        int repeatRead;
        std::function<void(CScheduleEntry&)> edit;
        std::vector<QByteArray> present, absent;
    } cases[] = {
        {"every_other_day", everyOtherDay, {}, CScheduleEntry::RepeatNone,
         [](CScheduleEntry& e) { e.m_strSubject = QStringLiteral("Gym!"); },
         {"RRULE:FREQ=DAILY;INTERVAL=2", "SUMMARY:Gym!", "DTSTART:20240102T100000"}, {}},
        {"second_sunday", "DTSTART:20240114T090000\r\nRRULE:FREQ=MONTHLY;BYDAY=2SU\r\nSUMMARY:Brunch\r\n", {},
         CScheduleEntry::RepeatNone, [](CScheduleEntry& e) { e.m_nAlarm = CScheduleEntry::Alarm15Min; },
         {"RRULE:FREQ=MONTHLY;BYDAY=2SU", "TRIGGER:-PT15M", "SUMMARY:Brunch"}, {}},
        {"weekly_with_exception",
         "DTSTART:20240101T080000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO\r\nEXDATE:20240108T080000\r\nSUMMARY:Team\r\n", {},
         CScheduleEntry::RepeatWeekly, [](CScheduleEntry& e) { e.m_strSubject = QStringLiteral("Team A"); },
         {"RRULE:FREQ=WEEKLY;BYDAY=MO", "EXDATE:20240108T080000", "SUMMARY:Team A"}, {}},
        {"moved_occurrence", "DTSTART:20240102T100000\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Stand-up\r\n",
         "BEGIN:VEVENT\r\nUID:moved_occurrence\r\nDTSTAMP:20240101T000000Z\r\nRECURRENCE-ID:20240103T100000\r\n"
         "DTSTART:20240103T110000\r\nSUMMARY:Stand-up (moved)\r\nEND:VEVENT\r\n",
         CScheduleEntry::RepeatDaily, [](CScheduleEntry& e) { e.m_nAlarm = CScheduleEntry::Alarm1Hour; },
         {"RRULE:FREQ=DAILY", "RECURRENCE-ID:20240103T100000", "SUMMARY:Stand-up (moved)", "TRIGGER:-PT1H"}, {}},
        {"new_repeat", everyOtherDay, {}, CScheduleEntry::RepeatNone,
         [](CScheduleEntry& e) { e.m_nRepeat = CScheduleEntry::RepeatWeekly; },
         {"RRULE:FREQ=WEEKLY;BYDAY=TU", "SUMMARY:Gym"}, {"INTERVAL=2"}},
        {"moved_to_thursday", "DTSTART:20240103T100000\r\nRRULE:FREQ=WEEKLY;UNTIL=20240630T235959;BYDAY=WE\r\n", {},
         CScheduleEntry::RepeatWeekly, [](CScheduleEntry& e) { e.m_dtStart = COleDateTime(2024, 1, 4, 10, 0, 0); },
         {"DTSTART:20240104T100000", "BYDAY=TH", "UNTIL=20240630T235959"}, {"BYDAY=WE"}},
        {"once", "DTSTART:20240506T070000\r\nRRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE,FR\r\nSUMMARY:Gym\r\n"
                 "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT2H\r\nEND:VALARM\r\n", {},
         CScheduleEntry::RepeatWeekly, [](CScheduleEntry& e) { e.m_nRepeat = CScheduleEntry::RepeatNone; },
         {"SUMMARY:Gym", "TRIGGER:-PT2H", "DTSTART:20240506T070000"}, {"RRULE"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QStringLiteral("calendar/%1.ics").arg(QLatin1String(c.name));
        QDir(dir.filePath(QStringLiteral("calendar"))).removeRecursively();
        put(file, calendarWith(c.name, c.lines, c.after));
        ASSERT_TRUE(doc.ImportOutlookSchedules());
        ASSERT_EQ(doc.m_outlookSchedules.size(), 1u);
        CScheduleEntry& entry = *doc.m_outlookSchedules[0];
        EXPECT_EQ(entry.m_nRepeat, c.repeatRead);
        c.edit(entry);
        entry.m_nState = CSyncRecord::StateChanged;
        put(file, calendarWith(c.name, c.lines + "LOCATION:Room 4\r\n", c.after));

        ASSERT_TRUE(doc.ExportOutlookSchedules());
        const QByteArray written = get(file);
        EXPECT_TRUE(written.contains("LOCATION:Room 4")) << written.constData();
        for (const QByteArray& text : c.present)
            EXPECT_TRUE(written.contains(text)) << text.constData() << "\n" << written.constData();
        for (const QByteArray& text : c.absent)
            EXPECT_FALSE(written.contains(text)) << text.constData() << "\n" << written.constData();
    }
}

// The values as read outlive the run: the next run's update keeps what another program changed;
// without them (a damaged file) the record is written whole, as it always was.
TEST_F(PimExchange, TheValuesAsReadAreKeptBesideTheDataFile)
{
    const auto card = [](const char* home, const char* extra) {
        return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann Lee\r\nTEL;TYPE=CELL:0170\r\nTEL;TYPE=HOME:")
               + home + "\r\n" + extra + "END:VCARD\r\n";
    };
    const QString data = dir.filePath(QStringLiteral("data/"));
    QDir().mkpath(data);
    put(QStringLiteral("contacts/ann.vcf"), card("030 1", ""));
    doc.SetDataDir(data);
    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_TRUE(doc.SaveLocalData());
    put(QStringLiteral("contacts/ann.vcf"), card("030 2", "TEL;TYPE=WORK:040\r\n"));

    const auto renameInNextRun = [&](const QString& name) {
        CMVsyncDoc next;
        next.SetDataDir(data);
        next.LoadLocalData();
        CPhoneEntry& ann = *next.m_outlookContacts.at(0);
        ann.m_strName = name;
        ann.m_nState = CSyncRecord::StateChanged;
        EXPECT_TRUE(next.ExportOutlookContacts());
        next.SaveLocalData();
        return get(QStringLiteral("contacts/ann.vcf"));
    };
    QByteArray written = renameInNextRun(QStringLiteral("Ann Lee-Smith"));
    for (const char* text : {"FN:Ann Lee-Smith", "TYPE=CELL:0170", "TYPE=HOME:030 2", "TYPE=WORK:040"})
        EXPECT_TRUE(written.contains(text)) << text << "\n" << written.constData();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(data + doc.PimBaseline().FileName()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    QFile baseline(data + doc.PimBaseline().FileName());
    ASSERT_TRUE(baseline.open(QIODevice::ReadWrite));
    baseline.seek(12);
    baseline.write("?");
    baseline.close();
    written = renameInNextRun(QStringLiteral("Ann"));
    for (const char* text : {"FN:Ann\r\n", "TYPE=CELL:0170", "TYPE=HOME:030 1"})
        EXPECT_TRUE(written.contains(text)) << text << "\n" << written.constData();
    EXPECT_FALSE(written.contains("TYPE=WORK"));
}

// Local time for the scope: TZ set and the C library told.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) : m_old(qgetenv("TZ")), m_hadOld(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_hadOld)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        ::tzset();
    }

private:
    QByteArray m_old;
    bool m_hadOld;
};

// A floating start at an hour the clocks skip is written as it stands; a year the calendar cannot
// hold refuses that record alone, with its reason: the records after it are still written.
TEST_F(PimExchange, ARecordTheStoreCannotHoldIsRefusedAndTheOthersAreWritten)
{
    const ScopedTimeZone berlin("Europe/Berlin");
    const auto add = [&](const char* subject, const COleDateTime& start) {
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = QLatin1String(subject);
        e->m_dtStart = start;
        e->m_nState = CSyncRecord::StateNew;
        doc.m_outlookSchedules.push_back(std::move(e));
    };
    add("Night shift", COleDateTime(2024, 3, 31, 2, 30, 0));
    add("Far away", COleDateTime(9999, 1, 1, 10, 0, 0));
    add("After it", COleDateTime(2024, 4, 2, 9, 0, 0));

    EXPECT_FALSE(doc.ExportOutlookSchedules());
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_EQ(recording.ui.boxTexts()[0],
              QStringLiteral("Failed to write data. - The appointment \"Far away\" falls in the year 9999; the calendar "
                             "holds years up to 3000"));
    const CScheduleEntry& night = *doc.m_outlookSchedules[0];
    EXPECT_FALSE(night.m_strEntryID.isEmpty());
    EXPECT_TRUE(get(QStringLiteral("calendar/") + night.m_strEntryID + QStringLiteral(".ics")).contains("DTSTART:20240331T023000\r\n"));
    EXPECT_TRUE(doc.m_outlookSchedules[1]->m_strEntryID.isEmpty());
    EXPECT_EQ(doc.m_outlookSchedules[1]->m_nState, CSyncRecord::StateNew);
    EXPECT_FALSE(doc.m_outlookSchedules[2]->m_strEntryID.isEmpty());
    EXPECT_EQ(fileCount("calendar"), 2);

    // Once the year is one the calendar holds, the next export writes it, and only it.
    doc.m_outlookSchedules[1]->m_dtStart = COleDateTime(2999, 1, 1, 10, 0, 0);
    EXPECT_TRUE(doc.ExportOutlookSchedules());
    EXPECT_EQ(fileCount("calendar"), 3);
    ASSERT_TRUE(doc.ImportOutlookSchedules());
    QStringList starts;
    for (const auto& e : doc.m_outlookSchedules)
        starts << e->m_dtStart.Format(u"%Y-%m-%d %H:%M");
    starts.sort();
    EXPECT_EQ(starts, (QStringList {"2024-03-31 02:30", "2024-04-02 09:00", "2999-01-01 10:00"}));
}

TEST_F(PimExchange, AnUpdateOfAnItemDeletedElsewhereAddsItAgain)
{
    const QString contactId = addContact(QStringLiteral("Ann"), QStringLiteral("0170"));
    put(QStringLiteral("calendar/e.ics"), calendarWith("e", "DTSTART:20240102T100000\r\nSUMMARY:Dentist\r\n"));
    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_TRUE(doc.ImportOutlookSchedules());
    for (const char* folder : {"contacts", "calendar"})
        QDir(dir.filePath(QLatin1String(folder))).removeRecursively();
    doc.m_outlookContacts[0]->m_nState = CSyncRecord::StateChanged;
    doc.m_outlookSchedules[0]->m_nState = CSyncRecord::StateChanged;

    ASSERT_TRUE(doc.ExportOutlookContacts());
    ASSERT_TRUE(doc.ExportOutlookSchedules());
    EXPECT_NE(doc.m_outlookContacts[0]->m_strEntryID, contactId);
    EXPECT_NE(doc.m_outlookSchedules[0]->m_strEntryID, QStringLiteral("e"));
    EXPECT_EQ(fileCount("contacts") + fileCount("calendar"), 2);
    EXPECT_TRUE(recording.ui.boxes.empty());
}

TEST_F(PimExchange, TextsAndUntypedNumbersOfOtherProgramsReadWhole)
{
    put(QStringLiteral("contacts/phone.vcf"),
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lee;Ann\r\nTEL:0123\r\nTEL;VOICE:0456\r\nNOTE:first\\nsecond\r\nEND:VCARD\r\n");
    put(QStringLiteral("notes/n.ics"), "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VJOURNAL\r\n"
                                       "UID:n\r\nDESCRIPTION:shopping\\nmilk\\nbread\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n");
    put(QStringLiteral("calendar/e.ics"), calendarWith("e", "DTSTART:20240102T100000\r\nSUMMARY:Call\\nBob\r\n"));
    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_TRUE(doc.ImportOutlookNotes());
    ASSERT_TRUE(doc.ImportOutlookSchedules());

    ASSERT_EQ(doc.m_outlookContacts.size(), 1u);
    const CPhoneEntry& ann = *doc.m_outlookContacts[0];
    EXPECT_EQ(ann.m_strMobile, QStringLiteral("0123"));
    EXPECT_EQ(ann.m_strHome, QStringLiteral("0456"));
    EXPECT_EQ(ann.m_strMemo, QStringLiteral("first\r\nsecond"));
    EXPECT_EQ(doc.m_outlookMemos.at(0)->m_strText, QStringLiteral("shopping\r\nmilk\r\nbread"));
    EXPECT_EQ(doc.m_outlookSchedules.at(0)->m_strSubject, QStringLiteral("Call\r\nBob"));
    QStringList row;
    doc.MemoToRow(*doc.m_outlookMemos[0], row);
    EXPECT_EQ(row, QStringList{QStringLiteral("shopping")});
}

TEST_F(PimExchange, AReadOnlyStoreIsReadAndItsWritesFailWithTheirReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root; run this test as an unprivileged user";
    addContact(QStringLiteral("Ann"), QStringLiteral("0170"));
    const QStringList folders = {dir.path(), dir.filePath(QStringLiteral("contacts")),
                                 dir.filePath(QStringLiteral("calendar")), dir.filePath(QStringLiteral("notes"))};
    for (const QString& folder : folders)
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0500), 0);
    EXPECT_TRUE(doc.ImportOutlookContacts());
    EXPECT_EQ(doc.m_outlookContacts.size(), 1u);
    doc.m_outlookContacts[0]->m_strName = QStringLiteral("Ann B");
    doc.m_outlookContacts[0]->m_nState = CSyncRecord::StateChanged;
    EXPECT_FALSE(doc.ExportOutlookContacts());
    for (const QString& folder : folders)
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_TRUE(recording.ui.boxTexts()[0].startsWith(QStringLiteral("Failed to write data. - Cannot write ")))
        << recording.ui.boxTexts()[0].toStdString();
}

} // namespace
