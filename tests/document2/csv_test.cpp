// CSV export and import of Deskhand2's PC lists: files in the original form, round trips of
// every list, the header rules, rows without a date and files that cannot be written.
#include "document2/mvsync_doc.h"

#include "link2/model_profile.h"
#include "platform/string_table.h"
#include "support/csv_commands.h"
#include "support/csv_forms.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using namespace dh2;

using Csv = testsupport::CsvCommandTest<CMVsyncDoc>;

// A file as the original program wrote it: the name and the group bare, every other cell
// between three quotes on each side.
TEST_F(Csv, OriginalContactFilesImport)
{
    load("Name,Mobile,Office,Home,Fax,Email,Group\r\n"
         "Ann,\"\"\"0123\"\"\",\"\"\"\"\"\",\"\"\"030\"\"\",\"\"\"\"\"\",\"\"\"a@b.org\"\"\", VIP \r\n"
         ",\"\"\"1\"\"\",,,,,vip\r\n"
         "Bo, b,\"\"\"2\"\"\"\r\n",
         CMVsyncDoc::TabContacts);
    ASSERT_EQ(doc.m_arPcContacts.size(), 3u);
    const CPhoneEntry& ann = *doc.m_arPcContacts[0];
    EXPECT_EQ(ann.m_strName, QStringLiteral("Ann"));
    EXPECT_EQ(ann.m_strMobile, QStringLiteral("0123"));
    EXPECT_EQ(ann.m_strOffice, QString());
    EXPECT_EQ(ann.m_strHome, QStringLiteral("030"));
    EXPECT_EQ(ann.m_strEmail, QStringLiteral("a@b.org"));
    EXPECT_EQ(ann.m_nGroup, 3);            // blanks around the group go
    EXPECT_EQ(ann.m_nIndex, -1);
    EXPECT_EQ(doc.m_arPcContacts[1]->m_strName, QStringLiteral("Empty"));
    EXPECT_EQ(doc.m_arPcContacts[1]->m_nGroup, CPhoneEntry::kNoGroup); // names match in their case
    EXPECT_EQ(doc.m_arPcContacts[2]->m_strMobile, QStringLiteral(" b")); // cells are not trimmed
    EXPECT_EQ(doc.m_arPcContacts[2]->m_strOffice, QStringLiteral("2"));

    // Without a group column every row has no group; a column in front of the name still
    // passes, the cells are taken from the first.
    load("Id,Name,Mobile,Office,Home,Fax,Email\r\n7,Ann,1,2,3,4,5,Family\r\n", CMVsyncDoc::TabContacts);
    ASSERT_EQ(doc.m_arPcContacts.size(), 1u);
    EXPECT_EQ(doc.m_arPcContacts[0]->m_strName, QStringLiteral("7"));
    EXPECT_EQ(doc.m_arPcContacts[0]->m_nGroup, CPhoneEntry::kNoGroup);

    // A wrong header changes nothing; the views are told all the same.
    load("Name,Mobile,Home\r\nX,1,2\r\n", CMVsyncDoc::TabContacts);
    EXPECT_EQ(recording.ui.boxTexts(), QStringList {QStringLiteral("Invalid file")});
    EXPECT_EQ(doc.m_arPcContacts.size(), 1u);
}

TEST_F(Csv, EveryListRoundTrips)
{
    ModelProfile().SetModel(CModelProfile::TypePilla); // groups go out whatever the model
    const char* names[] = {"Smith, John", "Say \"hi\"", "张三", ""};
    for (const char* name : names) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = QString::fromUtf8(name);
        e->m_strMobile = QStringLiteral("+49 30, 1");
        e->m_strFax = QStringLiteral("0307");
        e->m_strEmail = QStringLiteral("a@b");
        e->m_nGroup = 2;
        e->m_nIndex = 4;
        doc.m_arPcContacts.push_back(std::move(e));
    }
    doc.m_arPcContacts.back()->m_nState = CSyncRecord::StateDeleted;
    for (int repeat = 0; repeat <= 4; ++repeat) {
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = QStringLiteral("Meet, %1").arg(repeat);
        e->m_dtStart.SetDateTime(2004, 3, 7 + repeat, 9, 5, 0);
        e->m_nRepeat = repeat;
        e->m_nAlarm = repeat + 1;
        doc.m_arPcSchedules.push_back(std::move(e));
    }
    auto memo = std::make_unique<CScheduleEntry>();
    memo->m_strSubject = QStringLiteral("buy milk, bread\r\nand \"good\" cheese");
    memo->m_nKind = CScheduleEntry::KindMemo;
    doc.m_arPcMemos.push_back(std::move(memo));

    const QByteArray contacts = save(CMVsyncDoc::TabContacts);
    EXPECT_TRUE(contacts.startsWith("Name,Mobile,Office,Home,Fax,Email,Group\r\n\"Smith, John\",\"\"\"+49 30, 1\"\"\","
                                    "\"\"\"\"\"\",\"\"\"\"\"\",\"\"\"0307\"\"\",\"\"\"a@b\"\"\",Colleague\r\n"));
    const QByteArray schedules = save(CMVsyncDoc::TabSchedules);
    const QByteArray memos = save(CMVsyncDoc::TabMemos);
    EXPECT_EQ(memos, QByteArray("Memo\r\n\"\"\"buy milk, bread\r\nand \"\"good\"\" cheese\"\"\"\r\n"));

    CMVsyncDoc again;
    again.SetCurrentTabProvider([this] { return tab; });
    for (const auto& [onTab, bytes] : {std::pair(0, contacts), std::pair(1, schedules), std::pair(2, memos)}) {
        tab = onTab;
        ASSERT_TRUE(again.LoadCsvFile(onTab, writeFile(bytes)));
    }
    ASSERT_EQ(again.m_arPcContacts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        // Double quotes never survive a cell, as in every file of this program.
        EXPECT_EQ(again.m_arPcContacts[i]->m_strName, QString(doc.m_arPcContacts[i]->m_strName).remove(u'"'));
        EXPECT_EQ(again.m_arPcContacts[i]->m_strMobile, QStringLiteral("+49 30, 1"));
        EXPECT_EQ(again.m_arPcContacts[i]->m_strFax, QStringLiteral("0307"));
        EXPECT_EQ(again.m_arPcContacts[i]->m_nGroup, 2);
        EXPECT_EQ(again.m_arPcContacts[i]->m_nIndex, -1); // phone links are not carried
    }
    ASSERT_EQ(again.m_arPcSchedules.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(again.m_arPcSchedules[i]->m_strSubject, doc.m_arPcSchedules[i]->m_strSubject);
        EXPECT_EQ(again.m_arPcSchedules[i]->m_dtStart, doc.m_arPcSchedules[i]->m_dtStart);
        EXPECT_EQ(again.m_arPcSchedules[i]->m_nRepeat, int(i));
        EXPECT_EQ(again.m_arPcSchedules[i]->m_nAlarm, int(i) + 1);
    }
    ASSERT_EQ(again.m_arPcMemos.size(), 1u);
    EXPECT_EQ(again.m_arPcMemos[0]->m_strSubject, QStringLiteral("buy milk, bread\r\nand good cheese"));
    EXPECT_EQ(again.m_arPcMemos[0]->m_nKind, CScheduleEntry::KindMemo);
    EXPECT_TRUE(recording.ui.boxes.empty());
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
}

// Rows whose date does not read are left out and counted; repeat and alarm words of any case.
TEST_F(Csv, ScheduleRowsWordsAndDates)
{
    load("Subject,Date and Time,Repeat,Alarm\r\n"
         "A,2004-03-07 09:05:00,dAiLy,before 10 MIN\r\n"
         "B,not a date,Daily,None\r\n"
         "C,2004-03-08 10:00:00,Fortnightly,Before 15 min\r\n"
         "D,,Once,None\r\n",
         CMVsyncDoc::TabSchedules);
    ASSERT_EQ(doc.m_arPcSchedules.size(), 2u);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_nRepeat, 1);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_nAlarm, 2);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_dtStart, COleDateTime(2004, 3, 7, 9, 5, 0));
    EXPECT_EQ(doc.m_arPcSchedules[1]->m_nRepeat, 0);
    EXPECT_EQ(doc.m_arPcSchedules[1]->m_nAlarm, 0);
    EXPECT_EQ(recording.ui.boxTexts(),
              QStringList {QStringLiteral(
                  "2 rows were left out because their date could not be read. The first is row 3: \"not a date\".")});

    // A column too many in the header: refused, the list stays.
    load("Subject,Date and Time,Repeat,Alarm,Place\r\nX,2004-01-01,Once,None\r\n", CMVsyncDoc::TabSchedules);
    EXPECT_EQ(recording.ui.boxTexts().last(), QStringLiteral("Invalid file"));
    EXPECT_EQ(doc.m_arPcSchedules.size(), 2u);
}

// Original memo files split at every comma and line; text after a zero byte is not read.
TEST_F(Csv, MemoFilesAndTheirEdges)
{
    // A line of blanks is a memo with an empty text.
    load(QByteArray("MEMO\r\na,b\r\n   \r\nlast\r\n\0after\r\n", 26), CMVsyncDoc::TabMemos);
    ASSERT_EQ(doc.m_arPcMemos.size(), 3u);
    EXPECT_EQ(doc.m_arPcMemos[0]->m_strSubject, QStringLiteral("a"));
    EXPECT_EQ(doc.m_arPcMemos[1]->m_strSubject, QString());
    EXPECT_EQ(doc.m_arPcMemos[2]->m_strSubject, QStringLiteral("last"));

    tab = 3;
    EXPECT_FALSE(doc.IsCsvCommandEnabled());
    tab = CMVsyncDoc::TabMemos;
    EXPECT_TRUE(doc.IsCsvCommandEnabled());
    recording.ui.fileAnswers.push_back(files.path(QStringLiteral("missing.csv")));
    doc.OnLoadFromCsv();
    EXPECT_EQ(recording.ui.boxTexts().last(), QStringLiteral("Failed open file"));
}

TEST_F(Csv, ExportsOnlyLiveRecordsOfTheTabsKindAndSaysWhenTheFileCannotBeWritten)
{
    // Nothing to export: no dialog.
    EXPECT_TRUE(save(CMVsyncDoc::TabSchedules).isEmpty());
    EXPECT_TRUE(recording.ui.fileRequests.empty());

    auto memo = std::make_unique<CScheduleEntry>();
    memo->m_nKind = CScheduleEntry::KindMemo;
    doc.m_arPcSchedules.push_back(std::move(memo));
    EXPECT_TRUE(doc.ExportCsv(CMVsyncDoc::TabSchedules).isEmpty());

    auto e = std::make_unique<CPhoneEntry>();
    e->m_strName = QStringLiteral("Ann");
    doc.m_arPcContacts.push_back(std::move(e));
    EXPECT_FALSE(save(CMVsyncDoc::TabContacts).isEmpty());
    ASSERT_EQ(recording.ui.fileRequests.size(), 1u);
    EXPECT_EQ(recording.ui.fileRequests[0].fileName, QStringLiteral("Phonebook"));
    EXPECT_EQ(recording.ui.fileRequests[0].defaultExt, QStringLiteral("csv"));
    EXPECT_EQ(recording.ui.fileRequests[0].filter, QStringLiteral("CSV file(*.csv)|*.csv||"));

    // A folder in the file's place: the export fails with its box.
    const QString blocked = files.path(QStringLiteral("blocked.csv"));
    QDir(files.path()).mkdir(QStringLiteral("blocked.csv"));
    QString error;
    EXPECT_FALSE(doc.SaveCsvFile(CMVsyncDoc::TabContacts, blocked, &error));
    EXPECT_EQ(error, qt_error_string(EISDIR));
    EXPECT_EQ(recording.ui.boxTexts(), QStringList {QStringLiteral("Failed to create the file.\n\"%1\" (%2)").arg(blocked, error)});
}

// Files from spreadsheets and tools read alike whatever their line ends, and headers whose cells
// are quoted or have blanks after the commas are headers all the same.
TEST_F(Csv, EveryLineEndAndHeaderFormReadsAlike)
{
    for (const testsupport::CsvForm& form : testsupport::kCsvForms) {
        SCOPED_TRACE(form.name);
        doc.m_arPcContacts.clear();
        doc.m_arPcContacts.push_back(std::make_unique<CPhoneEntry>());
        load(testsupport::CsvFile(form, "Name,Mobile,Office,Home,Fax,Email,Group",
                                  {"Ann,\"\"\"0123\"\"\",,,,\"\"\"a@b.org\"\"\",VIP", "Bob,0456,,,,,"}),
             CMVsyncDoc::TabContacts);
        ASSERT_EQ(doc.m_arPcContacts.size(), 2u);
        EXPECT_EQ(doc.m_arPcContacts[0]->m_strMobile, QStringLiteral("0123"));
        EXPECT_EQ(doc.m_arPcContacts[0]->m_strEmail, QStringLiteral("a@b.org"));
        EXPECT_EQ(doc.m_arPcContacts[0]->m_nGroup, 3);
        EXPECT_EQ(doc.m_arPcContacts[1]->m_strName, QStringLiteral("Bob"));

        load(testsupport::CsvFile(form, "Subject,Date and Time,Repeat,Alarm", {"Dentist,2004-03-07 09:05:00,Daily,On Time"}),
             CMVsyncDoc::TabSchedules);
        ASSERT_EQ(doc.m_arPcSchedules.size(), 1u);
        EXPECT_EQ(doc.m_arPcSchedules[0]->m_dtStart, COleDateTime(2004, 3, 7, 9, 5, 0));
        EXPECT_EQ(doc.m_arPcSchedules[0]->m_nAlarm, 1);

        load(testsupport::CsvFile(form, "Memo", {"one", "two"}), CMVsyncDoc::TabMemos);
        ASSERT_EQ(doc.m_arPcMemos.size(), 2u);
        EXPECT_EQ(doc.m_arPcMemos[1]->m_strSubject, QStringLiteral("two"));
        EXPECT_TRUE(recording.ui.boxes.empty());
    }
}

// Rows that give no record never empty the list: rows without a date that reads, and rows that
// lie after a zero byte. Export drops NUL characters, so its files read whole.
TEST_F(Csv, RowsThatGiveNoRecordAreRefusedAndExportDropsNul)
{
    auto memo = std::make_unique<CScheduleEntry>();
    memo->m_strSubject = QString::fromUtf16(u"\0first", 6);
    memo->m_nKind = CScheduleEntry::KindMemo;
    doc.m_arPcMemos.push_back(std::move(memo));
    auto second = std::make_unique<CScheduleEntry>();
    second->m_strSubject = QStringLiteral("second");
    second->m_nKind = CScheduleEntry::KindMemo;
    doc.m_arPcMemos.push_back(std::move(second));
    const QByteArray memos = save(CMVsyncDoc::TabMemos);
    EXPECT_EQ(memos, QByteArray("Memo\r\n\"\"\"first\"\"\"\r\n\"\"\"second\"\"\"\r\n"));
    load(memos, CMVsyncDoc::TabMemos);
    ASSERT_EQ(doc.m_arPcMemos.size(), 2u);
    EXPECT_EQ(doc.m_arPcMemos[0]->m_strSubject, QStringLiteral("first"));

    auto kept = std::make_unique<CScheduleEntry>();
    kept->m_strSubject = QStringLiteral("kept");
    doc.m_arPcSchedules.push_back(std::move(kept));
    const struct {
        int tab;
        QByteArray file;
    } refused[] = {
        {CMVsyncDoc::TabSchedules, "Subject,Date and Time,Repeat,Alarm\r\nA,someday,Once,None\r\nB,,Daily,None\r\n"},
        {CMVsyncDoc::TabMemos, QByteArray("Memo\r\n\0first\r\nsecond\r\n", 22)},
        {CMVsyncDoc::TabMemos, QByteArray("\0Memo\r\nfirst\r\n", 14)},
    };
    for (const auto& file : refused) {
        recording.ui.boxes.clear();
        load(file.file, file.tab);
        EXPECT_EQ(recording.ui.boxTexts(), QStringList {QStringLiteral("Invalid file")}) << file.file.toStdString();
    }
    ASSERT_EQ(doc.m_arPcSchedules.size(), 1u);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_strSubject, QStringLiteral("kept"));
    EXPECT_EQ(doc.m_arPcMemos.size(), 2u);

    // A header alone still empties the list: the user exported nothing.
    load("Memo\r\n", CMVsyncDoc::TabMemos);
    EXPECT_TRUE(doc.m_arPcMemos.empty());
}

// Starts as spreadsheets write them back read in the user's locale.
TEST_F(Csv, SpreadsheetSchedulesReadInTheUsersLocale)
{
    expectSpreadsheetSchedulesRead(doc.m_arPcSchedules);
}

// The export reads back to the same starts in every locale, one that daylight saving skips too.
TEST_F(Csv, ExportedStartsReadBackInEveryLocale)
{
    expectExportedStartsReadBack(doc.m_arPcSchedules);
}

// Contacts as spreadsheets and tools write them: a two-line cell in a row shorter than the header
// stays one contact, and a row in the legacy code page among UTF-8 rows leaves the others alone.
TEST_F(Csv, ContactsFromOtherProgramsKeepEveryRowWhole)
{
    expectContactsFromOtherProgramsWhole("Name,Mobile,Office,Home,Fax,Email,Group", doc.m_arPcContacts);
}

} // namespace
