// Deskhand2's exchange with the PIM store: its mapping (fax, reminders in steps of 10 minutes,
// memos as notes), the write table, failures that keep the records' states, Cancel, and files
// written by other programs.
#include "document2/mvsync_doc.h"

#include "link2/message_pump.h"
#include "link2/progress_view.h"
#include "platform/clock.h"
#include "platform/pim/application.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/name_space.h"
#include "platform/string_table.h"
#include "support/recording_progress.h"
#include "support/recording_ui_services.h"
#include "support/temp_folder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

using namespace dh2;

std::unique_ptr<CScheduleEntry> appointment(const QString& subject, int repeat, int alarm)
{
    auto e = std::make_unique<CScheduleEntry>();
    e->m_strSubject = subject;
    e->m_dtStart.SetDateTime(2004, 3, 10, 9, 30, 0); // a Wednesday
    e->m_nRepeat = repeat;
    e->m_nAlarm = alarm;
    e->m_nState = CSyncRecord::StateNew;
    return e;
}

class PimExchange : public ::testing::Test {
protected:
    PimExchange()
    {
        qputenv("DESKHAND_PIM_DIR", store.path().toUtf8());
        g_bCancel = false;
    }
    ~PimExchange() override { qunsetenv("DESKHAND_PIM_DIR"); }

    // A file of the store as another program writes it ("contacts/x.vcf").
    void put(const QString& relative, const QByteArray& bytes) const { ASSERT_TRUE(store.write(relative, bytes)); }

    std::unique_ptr<pim::AppointmentItem> storedAppointment(const QString& entryId)
    {
        pim::Application app(store.path());
        auto ns = app.GetNamespace(QStringLiteral("MAPI"));
        ns->Logon();
        return pim::ItemCast<pim::AppointmentItem>(ns->GetItemFromID(entryId));
    }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard {clock};
    testsupport::ScopedRecordingUi recording;
    testsupport::TempFolder store;
    testsupport::ProgressLog progress;
    testsupport::ScopedRecordingProgress progressGuard {&progress};
    CMVsyncDoc doc;
};

// Cards of other programs: the fax is read, the note is not kept, a card without any of the
// three numbers is left out; the phone link of the last old record with the same EntryID stays.
TEST_F(PimExchange, ContactsCarryTheFaxAndKeepTheirPhoneLinks)
{
    put(QStringLiteral("contacts/a.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\n"
                                          "TEL;TYPE=CELL:0171\r\nTEL;TYPE=WORK,FAX:0309\r\nEMAIL:ann@x.org\r\n"
                                          "NOTE:not kept\r\nEND:VCARD\r\n");
    put(QStringLiteral("contacts/b.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:fax-only\r\nFN:Fax Only\r\n"
                                          "TEL;TYPE=WORK,FAX:1\r\nEND:VCARD\r\n");
    for (int index : {3, 9}) {
        auto old = std::make_unique<CPhoneEntry>();
        old->m_strEntryID = QStringLiteral("ann");
        old->m_nIndex = index;
        old->m_nList = CMVsyncDoc::ListHandset;
        old->m_nSimIndex = index + 1;
        doc.m_arOutlookContacts.push_back(std::move(old));
    }
    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_EQ(doc.m_arOutlookContacts.size(), 1u);
    const CPhoneEntry& ann = *doc.m_arOutlookContacts[0];
    EXPECT_EQ(ann.m_strName, QStringLiteral("Ann Lee"));
    EXPECT_EQ(ann.m_strMobile, QStringLiteral("0171"));
    EXPECT_EQ(ann.m_strFax, QStringLiteral("0309"));
    EXPECT_EQ(ann.m_strEmail, QStringLiteral("ann@x.org"));
    EXPECT_EQ(ann.m_nGroup, CPhoneEntry::kNoGroup);
    EXPECT_EQ(ann.m_nIndex, 9);
    EXPECT_EQ(ann.m_nSimIndex, 10);
    EXPECT_EQ(progress.steps.first(), QStringLiteral("Log on Outlook 2000..."));
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Loading data... 1-2")));
    EXPECT_EQ(progress.steps.last(), QStringLiteral("Log off Outlook 2000..."));
    EXPECT_EQ(recording.ui.enableCalls, (std::vector<bool> {false, true}));
    EXPECT_FALSE(doc.IsBusy());

    // A new contact goes out with its fax, and no note.
    auto added = std::make_unique<CPhoneEntry>();
    added->m_strName = QStringLiteral("Bo");
    added->m_strHome = QStringLiteral("030");
    added->m_strFax = QStringLiteral("031");
    doc.m_arOutlookContacts.push_back(std::move(added));
    ASSERT_TRUE(doc.ExportOutlookContacts());
    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_EQ(doc.m_arOutlookContacts.size(), 2u);
    const auto bo = std::find_if(doc.m_arOutlookContacts.begin(), doc.m_arOutlookContacts.end(),
                                 [](const auto& e) { return e->m_strName == QStringLiteral("Bo"); });
    ASSERT_NE(bo, doc.m_arOutlookContacts.end());
    EXPECT_EQ((*bo)->m_strFax, QStringLiteral("031"));
    EXPECT_EQ((*bo)->m_strHome, QStringLiteral("030"));
}

// Reminders in steps of 10 minutes both ways; any other reminder reads as "On Time". Weekly
// rules on the start's weekday; a rule every second week reads as once.
TEST_F(PimExchange, AppointmentTablesBothWays)
{
    const struct {
        int repeat, alarm;
        long minutes;   // written, -1 none
        int readAlarm;  // after the round trip
    } cases[] = {{0, 0, -1, 0}, {1, 1, 0, 1}, {2, 2, 10, 2}, {3, 3, 30, 3}, {4, 4, 60, 4}, {2, 5, 1440, 5}};
    for (const auto& c : cases)
        doc.m_arOutlookSchedules.push_back(appointment(QStringLiteral("r%1a%2").arg(c.repeat).arg(c.alarm), c.repeat, c.alarm));
    ASSERT_TRUE(doc.ExportOutlookSchedules());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const CScheduleEntry& record = *doc.m_arOutlookSchedules[i];
        auto item = storedAppointment(record.m_strEntryID);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Body(), record.m_strSubject); // a new one gets the subject as its body
        EXPECT_EQ(item->ReminderSet(), cases[i].minutes >= 0);
        if (cases[i].minutes >= 0) {
            EXPECT_EQ(item->ReminderMinutesBeforeStart(), cases[i].minutes);
        }
        if (cases[i].repeat == 2) {
            EXPECT_EQ(item->GetRecurrencePattern().DayOfWeekMask(), long(pim::olWednesday));
        }
    }
    put(QStringLiteral("calendar/other.ics"), "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\n"
                                              "BEGIN:VEVENT\r\nUID:other\r\nDTSTAMP:20040301T000000Z\r\n"
                                              "DTSTART:20040301T080000\r\nSUMMARY:Every `other` week\r\n"
                                              "RRULE:FREQ=WEEKLY;INTERVAL=2\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                                              "TRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    ASSERT_TRUE(doc.ImportOutlookSchedules());
    ASSERT_EQ(doc.m_arOutlookSchedules.size(), std::size(cases) + 1);
    for (const auto& record : doc.m_arOutlookSchedules) {
        if (record->m_strEntryID == QStringLiteral("other")) {
            EXPECT_EQ(record->m_strSubject, QStringLiteral("Every other week"));
            EXPECT_EQ(record->m_nRepeat, 0);
            EXPECT_EQ(record->m_nAlarm, CScheduleEntry::AlarmOnTime); // 15 minutes is no step here
            continue;
        }
        const int i = record->m_strSubject.mid(1, 1).toInt();
        const int alarm = record->m_strSubject.mid(3).toInt();
        EXPECT_EQ(record->m_nRepeat, i);
        EXPECT_EQ(record->m_nAlarm, alarm);
        EXPECT_EQ(record->m_nKind, CScheduleEntry::KindSchedule);
    }

    // A change keeps the store's body, and with repeat "once" the store's rule.
    for (const auto& record : doc.m_arOutlookSchedules) {
        if (record->m_strEntryID == QStringLiteral("other")) {
            record->m_strSubject = QStringLiteral("Renamed");
            record->m_nState = CSyncRecord::StateChanged;
        }
    }
    ASSERT_TRUE(doc.ExportOutlookSchedules());
    auto other = storedAppointment(QStringLiteral("other"));
    EXPECT_EQ(other->Subject(), QStringLiteral("Renamed"));
    EXPECT_TRUE(other->IsRecurring());
    EXPECT_EQ(other->GetRecurrencePattern().Interval(), 2);
}

// Memos are notes. An update of a note that is no longer in the store fails with the store's
// reason and keeps the record changed; a deleted item that is already gone counts as deleted;
// a deleted record that never reached the store is dropped without a word.
TEST_F(PimExchange, NotesAndTheWriteTable)
{
    auto memo = std::make_unique<CScheduleEntry>();
    memo->m_strSubject = QStringLiteral("milk\r\nbread");
    memo->m_nKind = CScheduleEntry::KindMemo;
    doc.m_arOutlookMemos.push_back(std::move(memo));
    ASSERT_TRUE(doc.ExportOutlookNotes());
    const QString id = doc.m_arOutlookMemos[0]->m_strEntryID;
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(doc.ImportOutlookNotes());
    EXPECT_EQ(doc.m_arOutlookMemos[0]->m_strSubject, QStringLiteral("milk\r\nbread"));
    EXPECT_EQ(doc.m_arOutlookMemos[0]->m_nKind, CScheduleEntry::KindMemo);

    // A note another program deleted is written anew by the next change.
    const QString notes = store.path(QStringLiteral("notes"));
    for (const QString& file : QDir(notes).entryList(QDir::Files))
        ASSERT_TRUE(QFile::remove(notes + QLatin1Char('/') + file));
    doc.m_arOutlookMemos[0]->m_strSubject = QStringLiteral("changed");
    doc.m_arOutlookMemos[0]->m_nState = CSyncRecord::StateChanged;
    ASSERT_TRUE(doc.ExportOutlookNotes());
    EXPECT_EQ(doc.m_arOutlookMemos[0]->m_nState, CSyncRecord::StateUnchanged);
    EXPECT_NE(doc.m_arOutlookMemos[0]->m_strEntryID, id);
    EXPECT_EQ(store.fileCount(QStringLiteral("notes")), 1);
    ASSERT_TRUE(doc.ImportOutlookNotes());
    ASSERT_EQ(doc.m_arOutlookMemos.size(), 1u);
    EXPECT_EQ(doc.m_arOutlookMemos[0]->m_strSubject, QStringLiteral("changed"));

    // A store that cannot be written: the change fails, is said, and stays for the next export.
    ASSERT_TRUE(QDir(notes).removeRecursively());
    put(QStringLiteral("notes"), "a file where the folder was");
    doc.m_arOutlookMemos[0]->m_nState = CSyncRecord::StateChanged;
    EXPECT_FALSE(doc.ExportOutlookNotes());
    EXPECT_EQ(doc.m_arOutlookMemos[0]->m_nState, CSyncRecord::StateChanged);
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_TRUE(recording.ui.boxes[0].text.startsWith(QStringLiteral("Failed to write Outlook - ")));

    // Deleting a note that is gone counts as done.
    ASSERT_TRUE(QFile::remove(notes));
    doc.m_arOutlookMemos[0]->m_nState = CSyncRecord::StateDeleted;
    auto neverSent = std::make_unique<CScheduleEntry>();
    neverSent->m_nState = CSyncRecord::StateDeleted;
    doc.m_arOutlookMemos.push_back(std::move(neverSent));
    EXPECT_TRUE(doc.ExportOutlookNotes());
    EXPECT_TRUE(doc.m_arOutlookMemos.empty());
}

// A store that takes nothing: the add fails, the record keeps its state and no EntryID.
TEST_F(PimExchange, AFailedAddKeepsTheRecordForTheNextExport)
{
    ASSERT_TRUE(doc.ImportOutlookContacts()); // the store's folders exist
    const QString contacts = store.path(QStringLiteral("contacts"));
    ASSERT_TRUE(QDir(contacts).removeRecursively());
    put(QStringLiteral("contacts"), "a file where the folder was");
    auto e = std::make_unique<CPhoneEntry>();
    e->m_strName = QStringLiteral("Ann");
    e->m_strMobile = QStringLiteral("1");
    e->m_nState = CSyncRecord::StateNew;
    doc.m_arOutlookContacts.push_back(std::move(e));
    EXPECT_FALSE(doc.ExportOutlookContacts());
    ASSERT_EQ(doc.m_arOutlookContacts.size(), 1u);
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_nState, CSyncRecord::StateNew);
    EXPECT_TRUE(doc.m_arOutlookContacts[0]->m_strEntryID.isEmpty());
    EXPECT_EQ(recording.ui.boxes.size(), 1u);
}

// "<<" onto a PIM-side entry that is linked marks it changed: the next export reaches the store.
TEST_F(PimExchange, StoringOntoALinkedPimEntryReachesTheStore)
{
    auto e = std::make_unique<CPhoneEntry>();
    e->m_strName = QStringLiteral("Ann");
    e->m_strMobile = QStringLiteral("1");
    e->m_nIndex = 5;
    e->m_nList = CMVsyncDoc::ListHandset;
    doc.m_arOutlookContacts.push_back(std::move(e));
    ASSERT_TRUE(doc.ExportOutlookContacts());

    CPhoneEntry fromPhone;
    fromPhone.m_strName = QStringLiteral("Ann B");
    fromPhone.m_strMobile = QStringLiteral("2");
    fromPhone.m_nIndex = 5;
    fromPhone.m_nList = CMVsyncDoc::ListHandset;
    ASSERT_EQ(doc.StoreContact(CMVsyncDoc::ListOutlook, fromPhone), doc.m_arOutlookContacts[0].get());
    ASSERT_TRUE(doc.ExportOutlookContacts());
    ASSERT_TRUE(doc.ImportOutlookContacts());
    ASSERT_EQ(doc.m_arOutlookContacts.size(), 1u);
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_strName, QStringLiteral("Ann B"));
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_nIndex, 5);
}

// Cancel in the progress window ends the read before its next item: the old list stays.
TEST_F(PimExchange, CancelEndsTheReadAndKeepsTheList)
{
    for (const char* uid : {"a", "b", "c"})
        put(QStringLiteral("notes/%1.ics").arg(QLatin1String(uid)),
            QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\nBEGIN:VJOURNAL\r\nUID:") + uid
                + "\r\nDTSTAMP:20040301T000000Z\r\nDESCRIPTION:note\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n");
    doc.m_arOutlookMemos.push_back(std::make_unique<CScheduleEntry>());
    recording.ui.onPump = [](int pump) {
        if (pump == 2)
            g_bCancel = true;
    };
    EXPECT_FALSE(doc.ImportOutlookNotes());
    EXPECT_EQ(doc.m_arOutlookMemos.size(), 1u);
    EXPECT_EQ(recording.ui.boxTexts(), QStringList {QStringLiteral("Failed to read Outlook")});
    EXPECT_FALSE(g_bCancel);
    EXPECT_TRUE(recording.ui.mainWindowEnabled);
}

// A card as another program writes it: two e-mail addresses and two mobile numbers.
QByteArray annCard(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\n" + lines + "END:VCARD\r\n";
}

// A card is read, the data file saved; another program then sorts the card's lines and changes
// the home number; the next run edits one field and writes the card back. Only that field
// changes, in the line that holds the value read, wherever it is now.
TEST_F(PimExchange, AnUpdateChangesOnlyWhatTheUserChangedInTheLineThatWasRead)
{
    const QByteArray asRead = "TEL;TYPE=CELL:0170 111\r\nTEL;TYPE=CELL:0170 222\r\nTEL;TYPE=HOME:030 1\r\n"
                              "EMAIL;TYPE=INTERNET:ann@work.example\r\nEMAIL;TYPE=INTERNET:ann@home.example\r\n";
    const QByteArray sorted = "EMAIL;TYPE=INTERNET:ann@home.example\r\nEMAIL;TYPE=INTERNET:ann@work.example\r\n"
                              "TEL;TYPE=CELL:0170 222\r\nTEL;TYPE=CELL:0170 111\r\nTEL;TYPE=HOME:030 9\r\n";
    const struct {
        const char* name;
        std::function<void(CPhoneEntry&)> edit;
        std::vector<QByteArray> once; // each exactly once in the written card
        std::vector<QByteArray> absent;
    } cases[] = {
        {"name", [](CPhoneEntry& e) { e.m_strName = QStringLiteral("Ann Lee-Smith"); },
         {"FN:Ann Lee-Smith", "CELL:0170 111", "CELL:0170 222", "HOME:030 9", "ann@work.example", "ann@home.example"},
         {"030 1\r\n"}},
        {"mobile", [](CPhoneEntry& e) { e.m_strMobile = QStringLiteral("0170 333"); },
         {"FN:Ann Lee\r\n", "CELL:0170 222\r\nTEL;TYPE=CELL:0170 333\r\n", "HOME:030 9", "ann@work.example", "ann@home.example"},
         {"0170 111"}},
        {"email", [](CPhoneEntry& e) { e.m_strEmail = QStringLiteral("ann@new.example"); },
         {"INTERNET:ann@home.example\r\nEMAIL;TYPE=INTERNET:ann@new.example\r\n", "CELL:0170 111", "CELL:0170 222"},
         {"ann@work.example"}},
        {"mobile_cleared", [](CPhoneEntry& e) { e.m_strMobile.clear(); },
         {"CELL:0170 222", "HOME:030 9", "ann@work.example", "ann@home.example"}, {"0170 111"}},
        {"fax_added", [](CPhoneEntry& e) { e.m_strFax = QStringLiteral("030 7"); },
         {"TEL;TYPE=WORK,FAX:030 7", "CELL:0170 111", "CELL:0170 222", "HOME:030 9"}, {}},
    };
    const QString data = store.path(QStringLiteral("data/"));
    QDir().mkpath(data);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(QStringLiteral("contacts/ann.vcf"), annCard(asRead));
        {
            CMVsyncDoc first;
            first.SetDataDir(data);
            ASSERT_TRUE(first.ImportOutlookContacts());
            ASSERT_EQ(first.m_arOutlookContacts.size(), 1u);
            EXPECT_EQ(first.m_arOutlookContacts[0]->m_strMobile, QStringLiteral("0170 111"));
            ASSERT_TRUE(first.SaveLocalData());
        }
        put(QStringLiteral("contacts/ann.vcf"), annCard(sorted));

        CMVsyncDoc next;
        next.SetDataDir(data);
        next.LoadLocalData();
        ASSERT_EQ(next.m_arOutlookContacts.size(), 1u);
        CPhoneEntry& ann = *next.m_arOutlookContacts[0];
        c.edit(ann);
        ann.m_nState = CSyncRecord::StateChanged;
        ASSERT_TRUE(next.ExportOutlookContacts());
        const QByteArray written = store.read(QStringLiteral("contacts/ann.vcf"));
        for (const QByteArray& text : c.once)
            EXPECT_EQ(written.count(text), 1) << text.constData() << "\n" << written.constData();
        for (const QByteArray& text : c.absent)
            EXPECT_FALSE(written.contains(text)) << text.constData() << "\n" << written.constData();
    }
    // Deskhand's values as read have a file of their own: the two programs count alarms apart.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(data + QStringLiteral("pimbase2.dat")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(QFile::exists(data + QStringLiteral("pimbase.dat")));
}

QByteArray gymEvent(const QByteArray& trigger, const QByteArray& extra = {})
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\nBEGIN:VEVENT\r\nUID:gym\r\n"
           "DTSTAMP:20240501T000000Z\r\nDTSTART:20240506T070000\r\nRRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE,FR\r\n"
           "SUMMARY:Gym\r\n" + extra + "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Gym\r\nTRIGGER:" + trigger
           + "\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

// An alarm and a rule the record cannot show (15 minutes and 2 hours read as "On Time", three
// days a week ten times as weekly) survive an update unless the user changed the alarm or the
// repeat; "Once" then ends the repeat. What another program added in between stays.
TEST_F(PimExchange, AnUpdateKeepsTheAlarmAndRuleTheRecordCannotShow)
{
    const struct {
        const char* name;
        QByteArray trigger;
        std::function<void(CScheduleEntry&)> edit;
        std::vector<QByteArray> present, absent;
    } cases[] = {
        {"subject_15", "-PT15M", [](CScheduleEntry& e) { e.m_strSubject = QStringLiteral("Gym!"); },
         {"SUMMARY:Gym!", "TRIGGER:-PT15M", "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE,FR", "DTSTART:20240506T070000"}, {}},
        {"subject_2h", "-PT2H", [](CScheduleEntry& e) { e.m_strSubject = QStringLiteral("Gym!"); },
         {"SUMMARY:Gym!", "TRIGGER:-PT2H", "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE,FR"}, {}},
        {"later_start", "-PT15M", [](CScheduleEntry& e) { e.m_dtStart.SetDateTime(2024, 5, 6, 8, 0, 0); },
         {"DTSTART:20240506T080000", "TRIGGER:-PT15M", "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE,FR"}, {}},
        {"alarm", "-PT2H", [](CScheduleEntry& e) { e.m_nAlarm = CScheduleEntry::Alarm30Min; },
         {"TRIGGER:-PT30M", "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,WE,FR", "SUMMARY:Gym\r\n"}, {"PT2H"}},
        {"once", "-PT15M", [](CScheduleEntry& e) { e.m_nRepeat = CScheduleEntry::RepeatOnce; },
         {"TRIGGER:-PT15M", "SUMMARY:Gym\r\n"}, {"RRULE"}},
        {"daily", "-PT15M", [](CScheduleEntry& e) { e.m_nRepeat = CScheduleEntry::RepeatDaily; },
         {"RRULE:FREQ=DAILY\r\n", "TRIGGER:-PT15M"}, {"COUNT", "BYDAY"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(QStringLiteral("calendar/gym.ics"), gymEvent(c.trigger));
        ASSERT_TRUE(doc.ImportOutlookSchedules());
        ASSERT_EQ(doc.m_arOutlookSchedules.size(), 1u);
        CScheduleEntry& gym = *doc.m_arOutlookSchedules[0];
        EXPECT_EQ(gym.m_nAlarm, CScheduleEntry::AlarmOnTime);
        EXPECT_EQ(gym.m_nRepeat, CScheduleEntry::RepeatWeekly);
        c.edit(gym);
        gym.m_nState = CSyncRecord::StateChanged;
        const int repeat = gym.m_nRepeat;
        put(QStringLiteral("calendar/gym.ics"), gymEvent(c.trigger, "LOCATION:Hall 2\r\n"));

        ASSERT_TRUE(doc.ExportOutlookSchedules());
        const QByteArray written = store.read(QStringLiteral("calendar/gym.ics"));
        EXPECT_TRUE(written.contains("LOCATION:Hall 2")) << written.constData();
        for (const QByteArray& text : c.present)
            EXPECT_TRUE(written.contains(text)) << text.constData() << "\n" << written.constData();
        for (const QByteArray& text : c.absent)
            EXPECT_FALSE(written.contains(text)) << text.constData() << "\n" << written.constData();
        // Read again, the record shows what was written.
        ASSERT_TRUE(doc.ImportOutlookSchedules());
        EXPECT_EQ(doc.m_arOutlookSchedules[0]->m_nRepeat, repeat);
    }
}

} // namespace
