// Files that hold several items, UIDs that several files hold, and series whose exceptions live
// beside them or in files of their own, through the object model.
#include "pim_test_support.h"

#include "support/as_unprivileged.h"
#include "support/killed_save.h"

#include <QSet>

#include <functional>

namespace {

using pim::AppointmentItem;
using pim::ContactItem;
using pimtest::ReadFile;
using pimtest::ScopedTimeZone;

QByteArray crlf(QByteArray text)
{
    return text.replace("\r\n", "\n").replace("\n", "\r\n");
}

QByteArray card(const char* uid, const char* name, const char* mobile)
{
    return crlf(QByteArray("BEGIN:VCARD\nVERSION:3.0\nUID:") + uid + "\nFN:" + name + "\nTEL;TYPE=CELL:" + mobile +
                "\nEND:VCARD\n");
}

class SharedFiles : public pimtest::StoreTest {
protected:
    std::vector<std::unique_ptr<pim::Item>> items(pim::OlDefaultFolders folder)
    {
        std::vector<std::unique_ptr<pim::Item>> all;
        auto read = m_ns->GetDefaultFolder(folder)->Items();
        for (long i = 1; read && i <= read->Count(); ++i)
            all.push_back(read->Item(i));
        return all;
    }
    std::unique_ptr<ContactItem> contactNamed(const QString& name)
    {
        for (auto& item : items(pim::olFolderContacts)) {
            auto contact = pim::ItemCast<ContactItem>(std::move(item));
            if (contact && contact->FullName() == name)
                return contact;
        }
        return nullptr;
    }
};

// Copies of one card (a sync conflict, a copy made by hand) and a second card in one file: each
// is an item of its own, found again by its EntryID, and changes its own file alone. The EntryID
// a UID gave before still names the card it named.
TEST_F(SharedFiles, EachCopyOfAUidIsAnItemOfItsOwn)
{
    const QByteArray original = card("ann", "Ann Lee", "0170 1");
    PutText(QStringLiteral("contacts/ann.vcf"), original);
    PutText(QStringLiteral("contacts/ann (conflict).vcf"), card("ann", "Ann Copy", "0170 2"));
    PutText(QStringLiteral("contacts/both.vcf"), card("ann", "Ann Third", "0170 3") + card("ben", "Ben", "0170 4"));

    auto all = items(pim::olFolderContacts);
    ASSERT_EQ(all.size(), 4u);
    QSet<QString> ids;
    for (const auto& item : all)
        ids.insert(item->EntryID());
    EXPECT_EQ(ids.size(), 4) << "one EntryID per item";
    ASSERT_TRUE(Find<ContactItem>(QStringLiteral("ann")));
    EXPECT_EQ(Find<ContactItem>(QStringLiteral("ann"))->FullName(), QStringLiteral("Ann Lee"));

    for (const char* name : {"Ann Copy", "Ann Third"}) {
        SCOPED_TRACE(name);
        auto copy = contactNamed(QString::fromUtf8(name));
        ASSERT_TRUE(copy);
        auto found = Find<ContactItem>(copy->EntryID());
        ASSERT_TRUE(found);
        EXPECT_EQ(found->FullName(), QString::fromUtf8(name));
        found->SetMobileTelephoneNumber(QStringLiteral("0170 99"));
        ASSERT_TRUE(found->Save());
        EXPECT_EQ(found->EntryID(), copy->EntryID());
        EXPECT_EQ(Find<ContactItem>(copy->EntryID())->MobileTelephoneNumber(), QStringLiteral("0170 99"));
        EXPECT_EQ(ReadFile(Folder(pim::olFolderContacts) + QStringLiteral("/ann.vcf")), original);
    }
    EXPECT_TRUE(ReadFile(Folder(pim::olFolderContacts) + QStringLiteral("/both.vcf"))
                    .endsWith(card("ben", "Ben", "0170 4")));

    auto third = contactNamed(QStringLiteral("Ann Third"));
    ASSERT_TRUE(third && third->Delete());
    EXPECT_EQ(ReadFile(Folder(pim::olFolderContacts) + QStringLiteral("/both.vcf")), card("ben", "Ben", "0170 4"));
    EXPECT_EQ(ReadFile(Folder(pim::olFolderContacts) + QStringLiteral("/ann.vcf")), original);
    EXPECT_EQ(items(pim::olFolderContacts).size(), 3u);
}

// Two items of one file read together and both changed: the second save keeps the first's
// change.
TEST_F(SharedFiles, ItemsOfOneFileSavedOneAfterTheOther)
{
    PutText(QStringLiteral("contacts/two.vcf"), card("a", "Ann", "1") + card("b", "Ben", "2"));
    auto ann = contactNamed(QStringLiteral("Ann"));
    auto ben = contactNamed(QStringLiteral("Ben"));
    ASSERT_TRUE(ann && ben);
    ann->SetMobileTelephoneNumber(QStringLiteral("11"));
    ben->SetMobileTelephoneNumber(QStringLiteral("22"));
    ASSERT_TRUE(ann->Save());
    ASSERT_TRUE(ben->Save());
    EXPECT_EQ(ReadFile(Folder(pim::olFolderContacts) + QStringLiteral("/two.vcf")),
              card("a", "Ann", "11") + card("b", "Ben", "22"));
}

struct MoveCase {
    const char* name;
    const char* zone;
    QByteArray series;   // the VEVENT's own lines
    QByteArray elsewhere; // a moved occurrence in another file; empty for none
    COleDateTime start;
    std::vector<const char*> written; // in the series' file, then in the other one
    std::vector<const char*> otherWritten;
    const char* refused;
};

// A moved start takes the series' cancelled, added and moved occurrences along, whatever form
// their dates are in; where one of them would fall on no occurrence, the move is refused with
// its reason and nothing is written.
TEST_F(SharedFiles, ASeriesMovesWithItsExceptions)
{
    const QByteArray berlinZone = crlf(
        "BEGIN:VTIMEZONE\nTZID:Europe/Berlin\nBEGIN:DAYLIGHT\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nTZNAME:CEST\n"
        "DTSTART:19700329T020000\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nEND:DAYLIGHT\nBEGIN:STANDARD\n"
        "TZOFFSETFROM:+0200\nTZOFFSETTO:+0100\nTZNAME:CET\nDTSTART:19701025T030000\n"
        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\nEND:VTIMEZONE\n");
    const MoveCase cases[] = {
        // Across the change to summer time, in the zone's wall-clock time; the UTC date stays UTC.
        {"zoned, UTC exception", "Europe/Berlin",
         "DTSTART;TZID=Europe/Berlin:20240318T100000\nRRULE:FREQ=WEEKLY\nEXDATE:20240401T080000Z\n",
         "RECURRENCE-ID;TZID=Europe/Berlin:20240325T100000\nDTSTART;TZID=Europe/Berlin:20240325T120000\n",
         COleDateTime(2024, 3, 18, 11, 0, 0),
         {"DTSTART;TZID=Europe/Berlin:20240318T110000", "EXDATE:20240401T090000Z"},
         {"RECURRENCE-ID;TZID=Europe/Berlin:20240325T110000", "DTSTART;TZID=Europe/Berlin:20240325T120000"}, nullptr},
        // A series of dates moves by days; its weekly rule follows the start to its weekday.
        {"all-day, a day later", "UTC",
         "DTSTART;VALUE=DATE:20240506\nRRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=6\nEXDATE;VALUE=DATE:20240520\n", {},
         COleDateTime(2024, 5, 7, 0, 0, 0),
         {"DTSTART;VALUE=DATE:20240507", "EXDATE;VALUE=DATE:20240521", "RRULE:FREQ=WEEKLY;COUNT=6;BYDAY=TU"}, {}, nullptr},
        {"all-day that gets a time", "UTC", "DTSTART;VALUE=DATE:20240506\nRRULE:FREQ=DAILY\nEXDATE;VALUE=DATE:20240508\n",
         {}, COleDateTime(2024, 5, 6, 9, 30, 0), {"DTSTART:20240506T093000", "EXDATE:20240508T093000"}, {}, nullptr},
        {"an occurrence elsewhere that would fall on no day of the rule", "UTC",
         "DTSTART:20240506T100000\nRRULE:FREQ=WEEKLY;BYDAY=MO,TH\n",
         "RECURRENCE-ID:20240509T100000\nDTSTART:20240509T140000\n", COleDateTime(2024, 5, 7, 10, 0, 0), {}, {},
         "its changed occurrence, moved to 2024-05-10 10:00, would fall on no occurrence of the moved series"},
    };
    int n = 0;
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedTimeZone zone(c.zone);
        const QString name = QStringLiteral("series%1").arg(++n);
        const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n" + berlinZone;
        const QString path = PutText(QStringLiteral("calendar/") + name + QStringLiteral(".ics"),
                                     head + crlf("BEGIN:VEVENT\nUID:" + name.toUtf8() + "\nSUMMARY:Series\n" + c.series +
                                                 "END:VEVENT\nEND:VCALENDAR\n"));
        QString otherPath;
        if (!c.elsewhere.isEmpty())
            otherPath = PutText(QStringLiteral("calendar/") + name + QStringLiteral("-moved.ics"),
                                head + crlf("BEGIN:VEVENT\nUID:" + name.toUtf8() + "\nSUMMARY:Moved\n" + c.elsewhere +
                                            "END:VEVENT\nEND:VCALENDAR\n"));
        const QByteArray before = ReadFile(path);
        const QByteArray otherBefore = otherPath.isEmpty() ? QByteArray() : ReadFile(otherPath);

        auto series = Find<AppointmentItem>(name);
        ASSERT_TRUE(series);
        series->SetStart(c.start);
        if (series->GetRecurrencePattern().RecurrenceType() == pim::olRecursWeekly &&
            series->GetRecurrencePattern().DayOfWeekMask() == pim::olMonday && c.start.GetDayOfWeek() == 3)
            series->GetRecurrencePattern().SetDayOfWeekMask(pim::olTuesday);
        pim::Error error;
        const bool saved = series->Save(&error);
        if (c.refused) {
            EXPECT_FALSE(saved);
            EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);
            EXPECT_TRUE(error.description.contains(QString::fromUtf8(c.refused))) << error.description.toStdString();
            EXPECT_EQ(ReadFile(path), before);
            if (!otherPath.isEmpty()) {
                EXPECT_EQ(ReadFile(otherPath), otherBefore);
            }
            continue;
        }
        ASSERT_TRUE(saved) << error.description.toStdString();
        const QByteArray file = ReadFile(path);
        for (const char* text : c.written)
            EXPECT_TRUE(file.contains(QByteArray(text) + "\r\n")) << text << "\n" << file.constData();
        EXPECT_TRUE(file.contains(berlinZone)) << "the time zone stays as written";
        const QByteArray other = otherPath.isEmpty() ? QByteArray() : ReadFile(otherPath);
        for (const char* text : c.otherWritten)
            EXPECT_TRUE(other.contains(QByteArray(text) + "\r\n")) << text << "\n" << other.constData();
        EXPECT_EQ(Find<AppointmentItem>(name)->Start(), c.start);
    }
}

// A new rule drops the series' moved occurrences, also those in files of their own; a file
// with nothing else left goes.
TEST_F(SharedFiles, ANewRuleDropsTheMovedOccurrencesElsewhere)
{
    const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n";
    PutText(QStringLiteral("calendar/daily.ics"),
            head + crlf("BEGIN:VEVENT\nUID:daily\nDTSTART:20240102T100000\nRRULE:FREQ=DAILY\nSUMMARY:Stand-up\n"
                        "END:VEVENT\nEND:VCALENDAR\n"));
    const QString moved = PutText(QStringLiteral("calendar/daily-moved.ics"),
                                  head + crlf("BEGIN:VEVENT\nUID:daily\nRECURRENCE-ID:20240103T100000\n"
                                              "DTSTART:20240103T110000\nSUMMARY:Late\nEND:VEVENT\nEND:VCALENDAR\n"));
    const QByteArray todo = crlf("BEGIN:VTODO\nUID:t\nSUMMARY:Task\nEND:VTODO\n");
    const QString beside = PutText(QStringLiteral("calendar/daily-beside.ics"),
                                   head + crlf("BEGIN:VEVENT\nUID:daily\nRECURRENCE-ID:20240104T100000\n"
                                               "DTSTART:20240104T120000\nSUMMARY:Later\nEND:VEVENT\n") +
                                       todo + "END:VCALENDAR\r\n");
    ASSERT_EQ(items(pim::olFolderCalendar).size(), 1u);
    auto series = Find<AppointmentItem>(QStringLiteral("daily"));
    ASSERT_TRUE(series);
    series->GetRecurrencePattern().SetRecurrenceType(pim::olRecursWeekly);
    ASSERT_TRUE(series->Save());
    EXPECT_FALSE(QFile::exists(moved));
    EXPECT_EQ(ReadFile(beside), head + todo + "END:VCALENDAR\r\n");
}

struct FailedWriteCase {
    const char* name;
    bool deleting;       // else the series' start moves by an hour
    bool seriesTooLarge; // which file the full disk stops: the series' own or the occurrence's
};

// A save or delete of a series whose moved occurrence stands in another file, stopped by a disk
// that takes no more of one of the files: every file stays as it was, and the retry once the
// disk has room makes the whole change, the occurrence's file included.
TEST_F(SharedFiles, AFailedWriteLeavesEveryFileAsItWasAndTheRetryMakesTheWholeChange)
{
    const ScopedTimeZone zone("UTC");
    const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n";
    const QByteArray tail = "END:VCALENDAR\r\n";
    // Too large for the disk below, beside the small files the saves write.
    QByteArray large = "BEGIN:VTODO\r\nUID:large\r\n";
    for (int i = 0; i < 60; ++i)
        large += "X-PAD:" + QByteArray(60, 'x') + "\r\n";
    large += "END:VTODO\r\n";
    const QByteArray small = crlf("BEGIN:VTODO\nUID:small\nSUMMARY:Task\nEND:VTODO\n");
    const rlim_t diskRoom = 2000;

    const FailedWriteCase cases[] = {
        {"moved start, the occurrence's file cannot be written", false, false},
        {"moved start, the series' own file cannot be written", false, true},
        {"deleted series, the occurrence's file cannot be written", true, false},
    };
    int n = 0;
    for (const FailedWriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray uid = "weekly" + QByteArray::number(++n);
        const QString path = PutText(QStringLiteral("calendar/%1.ics").arg(QString::fromUtf8(uid)),
                                     head + crlf("BEGIN:VEVENT\nUID:" + uid + "\nDTSTART:20240506T100000\n"
                                                 "RRULE:FREQ=WEEKLY\nSUMMARY:Series\nEND:VEVENT\n") +
                                         (c.seriesTooLarge ? large : QByteArray()) + tail);
        const QString otherPath = PutText(QStringLiteral("calendar/%1-moved.ics").arg(QString::fromUtf8(uid)),
                                          head + crlf("BEGIN:VEVENT\nUID:" + uid + "\nRECURRENCE-ID:20240513T100000\n"
                                                      "DTSTART:20240513T140000\nSUMMARY:Moved\nEND:VEVENT\n") +
                                              (c.seriesTooLarge ? small : large) + tail);
        const QByteArray before = ReadFile(path);
        const QByteArray otherBefore = ReadFile(otherPath);

        auto series = Find<AppointmentItem>(QString::fromUtf8(uid));
        ASSERT_TRUE(series);
        const std::function<bool(pim::Error*)> change = [&](pim::Error* error) {
            if (c.deleting)
                return series->Delete(error);
            series->SetStart(COleDateTime(2024, 5, 6, 11, 0, 0));
            return series->Save(error);
        };
        pim::Error error;
        {
            const testsupport::ScopedFileSizeLimit fullDisk(diskRoom);
            EXPECT_FALSE(change(&error));
        }
        EXPECT_EQ(error.code, pim::ErrorCode::WriteFailed) << error.description.toStdString();
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(ReadFile(otherPath), otherBefore);

        ASSERT_TRUE(change(&error)) << error.description.toStdString();
        const QByteArray other = ReadFile(otherPath);
        if (c.deleting) {
            EXPECT_FALSE(QFile::exists(path));
            EXPECT_EQ(other, head + large + tail);
            continue;
        }
        EXPECT_TRUE(ReadFile(path).contains("\r\nDTSTART:20240506T110000\r\n"));
        EXPECT_TRUE(other.contains("\r\nRECURRENCE-ID:20240513T110000\r\n"));
        EXPECT_TRUE(other.contains("\r\nDTSTART:20240513T140000\r\n")) << "the occurrence keeps its own time";
    }
}

struct UnreadableCase {
    const char* name;
    std::function<void(const QString& path)> meanwhile; // what happens to the file after it was read
    bool asOtherUser;                                     // permission bits do not stop root
    pim::ErrorCode code;                                  // None: the save goes through
};

// The item's own file as another program leaves it after the item was read: a save never
// writes the copy it read over a file it cannot read, or over one that holds nothing now (emptied,
// or caught in the midst of a write); the file stays as it is and the reason is told. Only a file
// that is gone is written anew.
TEST_F(SharedFiles, ASaveNeverWritesOverAFileItCannotReadAsItIsNow)
{
    const QByteArray original = card("ann", "Ann Lee", "0170 1");
    const UnreadableCase cases[] = {
        {"emptied", [](const QString& path) { pimtest::WriteFile(path, {}); }, false, pim::ErrorCode::InvalidArgument},
        {"caught mid-write",
         [&](const QString& path) { pimtest::WriteFile(path, original.left(8)); }, false,
         pim::ErrorCode::InvalidArgument},
        {"readable by nobody", [](const QString& path) { QFile::setPermissions(path, QFile::Permissions()); }, true,
         pim::ErrorCode::ReadFailed},
        {"gone", [](const QString& path) { QFile::remove(path); }, false, pim::ErrorCode::None},
    };
    const QFile::Permissions openToAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                         QFile::ExeOther;
    for (const QString& folder : {m_dir.path(), m_root, Folder(pim::olFolderContacts)})
        ASSERT_TRUE(QFile::setPermissions(folder, openToAll));
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = PutText(QStringLiteral("contacts/ann.vcf"), original);
        auto ann = Find<ContactItem>(QStringLiteral("ann"));
        ASSERT_TRUE(ann);
        ann->SetMobileTelephoneNumber(QStringLiteral("0170 99"));
        c.meanwhile(path);
        const QByteArray now = ReadFile(path);

        pim::Error error;
        const auto save = [&] { return ann->Save(&error) == (c.code == pim::ErrorCode::None) && error.code == c.code; };
        EXPECT_TRUE(c.asOtherUser ? testsupport::AsUnprivileged(save) : save()) << error.description.toStdString();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        if (c.code == pim::ErrorCode::None) {
            EXPECT_EQ(Find<ContactItem>(QStringLiteral("ann"))->MobileTelephoneNumber(), QStringLiteral("0170 99"));
            continue;
        }
        EXPECT_EQ(ReadFile(path), now);
        QFile::remove(path);
    }
}

} // namespace
