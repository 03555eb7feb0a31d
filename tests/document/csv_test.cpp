#include "document/mvsync_doc.h"

#include "platform/string_table.h"
#include "support/csv_commands.h"
#include "support/csv_forms.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>

using namespace dh1;

namespace {

using Csv = testsupport::CsvCommandTest<CMVsyncDoc>;

TEST_F(Csv, OriginalContactFileImports)
{
    load("Name,Mobile,Home,Office,Email,Memo,Group\r\n"
         "Ann,\"\"\"0123\"\"\",\"\"\"\"\"\",\"\"\"+49 30\"\"\",ann@x.org,note,vip\r\n"
         ",\"\"\"1\"\"\",,,,,Nobody\r\n",
         0);
    ASSERT_EQ(doc.m_pcContacts.size(), 2u);
    const CPhoneEntry& ann = *doc.m_pcContacts[0];
    EXPECT_EQ(ann.m_strName, QStringLiteral("Ann"));
    EXPECT_EQ(ann.m_strMobile, QStringLiteral("0123"));
    EXPECT_EQ(ann.m_strHome, QString());
    EXPECT_EQ(ann.m_strOffice, QStringLiteral("+49 30"));
    EXPECT_EQ(ann.m_strEmail, QStringLiteral("ann@x.org"));
    EXPECT_EQ(ann.m_strMemo, QStringLiteral("note"));
    EXPECT_EQ(ann.m_nGroup, 1);
    EXPECT_EQ(ann.m_nIndex, -1);
    EXPECT_EQ(ann.m_nList, 0);
    EXPECT_EQ(doc.m_pcContacts[1]->m_strName, QStringLiteral("Empty"));
    EXPECT_EQ(doc.m_pcContacts[1]->m_nGroup, 6);
    EXPECT_EQ(recording.ui.waitCursorDepth, 0);
    EXPECT_GE(recording.ui.waitCursorCount, 1);
}

TEST_F(Csv, ContactExportKeepsTheTraditionalFormAndQuotesOnlyWhenNeeded)
{
    auto plain = std::make_unique<CPhoneEntry>();
    plain->m_strName = QStringLiteral("Ann");
    plain->m_strMobile = QStringLiteral("0123");
    plain->m_nGroup = 0;
    auto odd = std::make_unique<CPhoneEntry>();
    odd->m_strName = QStringLiteral("Smith, John");
    odd->m_strMemo = QStringLiteral("two\r\nlines \"quoted\"");
    auto gone = std::make_unique<CPhoneEntry>();
    gone->m_nState = CSyncRecord::StateDeleted;
    doc.m_pcContacts.push_back(std::move(plain));
    doc.m_pcContacts.push_back(std::move(odd));
    doc.m_pcContacts.push_back(std::move(gone));

    const QByteArray file = save(0);
    EXPECT_EQ(file, QByteArray("Name,Mobile,Home,Office,Email,Memo,Group\r\n"
                               "Ann,\"\"\"0123\"\"\",\"\"\"\"\"\",\"\"\"\"\"\",,,Family\r\n"
                               "\"Smith, John\",\"\"\"\"\"\",\"\"\"\"\"\",\"\"\"\"\"\",,\"two\r\nlines \"\"quoted\"\"\",Others\r\n"));
    ASSERT_EQ(recording.ui.fileRequests.size(), 1u);
    EXPECT_EQ(recording.ui.fileRequests[0].fileName, QStringLiteral("Phonebook"));
    EXPECT_EQ(recording.ui.fileRequests[0].filter, QStringLiteral("CSV file(*.csv)|*.csv||"));

    // Read back: commas and line breaks survive; quotes inside values are dropped as always.
    load(file, 0);
    ASSERT_EQ(doc.m_pcContacts.size(), 2u);
    EXPECT_EQ(doc.m_pcContacts[0]->m_strMobile, QStringLiteral("0123"));
    EXPECT_EQ(doc.m_pcContacts[0]->m_nGroup, 0);
    EXPECT_EQ(doc.m_pcContacts[1]->m_strName, QStringLiteral("Smith, John"));
    EXPECT_EQ(doc.m_pcContacts[1]->m_strMemo, QStringLiteral("two\r\nlines quoted"));
}

TEST_F(Csv, ScheduleRoundTripKeepsRepeatAndAlarm)
{
    for (int value = 0; value < 6; ++value) {
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = QStringLiteral("Meeting %1, room 2").arg(value);
        e->m_dtStart = COleDateTime(2004, 12, 31, 23, value, 0);
        e->m_nRepeat = value % 5;
        e->m_nAlarm = value;
        doc.m_pcSchedules.push_back(std::move(e));
    }
    const QByteArray file = save(1);
    EXPECT_TRUE(file.startsWith("Subject,Date and Time,Repeat,Alarm\r\n"));
    EXPECT_TRUE(file.contains(",Daily,OnTime\r\n"));
    EXPECT_TRUE(file.contains(",No Repeat,Before 1 day\r\n"));
    load(file, 1);
    ASSERT_EQ(doc.m_pcSchedules.size(), 6u);
    for (int value = 0; value < 6; ++value) {
        const CScheduleEntry& e = *doc.m_pcSchedules[size_t(value)];
        EXPECT_EQ(e.m_strSubject, QStringLiteral("Meeting %1, room 2").arg(value));
        EXPECT_EQ(e.m_dtStart, COleDateTime(2004, 12, 31, 23, value, 0));
        EXPECT_EQ(e.m_nRepeat, value % 5);
        EXPECT_EQ(e.m_nAlarm, value);
    }
}

TEST_F(Csv, ScheduleWordsOfEitherSpellingAndBadDates)
{
    load("SUBJECT,date and time,REPEAT,alarm\r\n"
         "a,2004-03-07 09:05:00,weekly,15 min.before\r\n"
         "b,not a date,DAILY,before 1 HOUR\r\n"
         "c,2004-03-08 10:00:00,DAILY,before 1 HOUR\r\n"
         "d,,whenever,never\r\n"
         "e,2004-03-09 11:00:00,whenever,never\r\n",
         1);
    ASSERT_EQ(doc.m_pcSchedules.size(), 3u);
    EXPECT_EQ(doc.m_pcSchedules[0]->m_dtStart, COleDateTime(2004, 3, 7, 9, 5, 0));
    EXPECT_EQ(doc.m_pcSchedules[0]->m_nRepeat, 2);
    EXPECT_EQ(doc.m_pcSchedules[0]->m_nAlarm, 2);
    EXPECT_EQ(doc.m_pcSchedules[1]->m_strSubject, QStringLiteral("c"));
    EXPECT_EQ(doc.m_pcSchedules[1]->m_nRepeat, 1);
    EXPECT_EQ(doc.m_pcSchedules[1]->m_nAlarm, 4);
    EXPECT_EQ(doc.m_pcSchedules[2]->m_nRepeat, 0);
    EXPECT_EQ(doc.m_pcSchedules[2]->m_nAlarm, 0);
    // A row whose date does not read is left out, never put on another day, and the box says
    // how many and which was first.
    EXPECT_EQ(recording.ui.boxTexts(),
              QStringList{QStringLiteral(
                  "2 rows were left out because their date could not be read. The first is row 3: \"not a date\".")});
}

// Starts as spreadsheets write them back read in the user's locale.
TEST_F(Csv, SpreadsheetSchedulesReadInTheUsersLocale)
{
    expectSpreadsheetSchedulesRead(doc.m_pcSchedules);
}

// The export reads back to the same starts in every locale, one that daylight saving skips too.
TEST_F(Csv, ExportedStartsReadBackInEveryLocale)
{
    expectExportedStartsReadBack(doc.m_pcSchedules);
}

TEST_F(Csv, HeaderRulesAndEmptyFiles)
{
    doc.m_pcMemos.push_back(std::make_unique<CMemoEntry>());
    load("Memo,Extra\r\nx\r\n", 2);
    EXPECT_EQ(recording.ui.boxTexts(), QStringList{QStringLiteral("Invalid file")});
    EXPECT_EQ(doc.m_pcMemos.size(), 1u);

    load("Memo\r\na,b\r\n", 2);
    ASSERT_EQ(doc.m_pcMemos.size(), 1u);
    EXPECT_EQ(doc.m_pcMemos[0]->m_strText, QStringLiteral("a"));

    doc.m_pcSchedules.push_back(std::make_unique<CScheduleEntry>());
    load("Subject,Date and Time,Repeat,Alarm\r\n", 1);
    EXPECT_TRUE(doc.m_pcSchedules.empty());

    // An empty file changes nothing and says nothing.
    load("", 2);
    EXPECT_EQ(doc.m_pcMemos.size(), 1u);
    EXPECT_EQ(recording.ui.boxes.size(), 1u);
}

TEST_F(Csv, ExportEdges)
{
    // Nothing to export: no dialog at all.
    save(0);
    EXPECT_TRUE(recording.ui.fileRequests.empty());

    doc.m_pcMemos.push_back(std::make_unique<CMemoEntry>());
    doc.m_pcMemos[0]->m_strText = QStringLiteral("m");
    EXPECT_EQ(save(2), QByteArray("Memo\r\nm\r\n"));
    EXPECT_TRUE(save(3).isEmpty());

    // A file that cannot be created is reported.
    tab = 2;
    recording.ui.fileAnswers.push_back(files.path(QStringLiteral("missing/sub/out.csv")));
    doc.OnSaveAsCsv();
    EXPECT_EQ(recording.ui.boxTexts(), QStringList{QStringLiteral("Failed to create the file.\n\"%1\" (%2)")
                                                       .arg(files.path(QStringLiteral("missing/sub/out.csv")),
                                                            qt_error_string(ENOENT))});
}

TEST_F(Csv, UnreadableFileAndLegacyBytes)
{
    tab = 2;
    recording.ui.fileAnswers.push_back(files.path(QStringLiteral("nope.csv")));
    doc.OnLoadFromCsv();
    EXPECT_EQ(recording.ui.boxTexts(), QStringList{QStringLiteral("Failed to open file")});

    // A file from the old platform in its single-byte code page.
    qputenv("DESKHAND_CODEPAGE", "CP1252");
    load("Memo\r\ncaf\xe9\r\n", 2);
    qunsetenv("DESKHAND_CODEPAGE");
    ASSERT_EQ(doc.m_pcMemos.size(), 1u);
    EXPECT_EQ(doc.m_pcMemos[0]->m_strText, QStringLiteral("café"));
}

TEST_F(Csv, OriginalFilesImportRowForRow)
{
    // The original program quoted nothing: a memo that merely starts with a quote stays in its
    // row and never runs into the number cells of the next one.
    load("Name,Mobile,Home,Office,Email,Memo,Group\r\n"
         "Ann,\"\"\"0123\"\"\",\"\"\"\"\"\",\"\"\"\"\"\",,\"call back,Others\r\n"
         "Bob,\"\"\"0456\"\"\",\"\"\"\"\"\",\"\"\"\"\"\",,see \"Ann\",vip\r\n",
         0);
    ASSERT_EQ(doc.m_pcContacts.size(), 2u);
    EXPECT_EQ(doc.m_pcContacts[0]->m_strMemo, QStringLiteral("call back"));
    EXPECT_EQ(doc.m_pcContacts[0]->m_nGroup, 6);
    EXPECT_EQ(doc.m_pcContacts[1]->m_strName, QStringLiteral("Bob"));
    EXPECT_EQ(doc.m_pcContacts[1]->m_strMobile, QStringLiteral("0456"));
    EXPECT_EQ(doc.m_pcContacts[1]->m_strMemo, QStringLiteral("see Ann"));
    EXPECT_EQ(doc.m_pcContacts[1]->m_nGroup, 1);
}

// Files from spreadsheets and tools read alike whatever their line ends, and headers whose cells
// are quoted or have blanks after the commas are headers all the same.
TEST_F(Csv, EveryLineEndAndHeaderFormReadsAlike)
{
    for (const testsupport::CsvForm& form : testsupport::kCsvForms) {
        SCOPED_TRACE(form.name);
        doc.m_pcContacts.clear();
        doc.m_pcContacts.push_back(std::make_unique<CPhoneEntry>());
        load(testsupport::CsvFile(form, "Name,Mobile,Home,Office,Email,Memo,Group",
                                  {"Ann,\"\"\"0123\"\"\",,,a@x.org,note,vip", "Bob,0456,,,,,"}),
             0);
        ASSERT_EQ(doc.m_pcContacts.size(), 2u);
        EXPECT_EQ(doc.m_pcContacts[0]->m_strMobile, QStringLiteral("0123"));
        EXPECT_EQ(doc.m_pcContacts[0]->m_nGroup, 1);
        EXPECT_EQ(doc.m_pcContacts[1]->m_strName, QStringLiteral("Bob"));
        EXPECT_EQ(doc.m_pcContacts[1]->m_strMobile, QStringLiteral("0456"));

        load(testsupport::CsvFile(form, "Subject,Date and Time,Repeat,Alarm", {"Dentist,2004-03-07 09:05:00,Daily,On time"}),
             1);
        ASSERT_EQ(doc.m_pcSchedules.size(), 1u);
        EXPECT_EQ(doc.m_pcSchedules[0]->m_dtStart, COleDateTime(2004, 3, 7, 9, 5, 0));
        EXPECT_EQ(doc.m_pcSchedules[0]->m_nAlarm, 1);

        load(testsupport::CsvFile(form, "Memo", {"one", "two"}), 2);
        ASSERT_EQ(doc.m_pcMemos.size(), 2u);
        EXPECT_EQ(doc.m_pcMemos[1]->m_strText, QStringLiteral("two"));
        EXPECT_TRUE(recording.ui.boxes.empty());
    }
}

// Contacts as spreadsheets and tools write them: a two-line cell in a row shorter than the header
// stays one contact, and a row in the legacy code page among UTF-8 rows leaves the others alone.
TEST_F(Csv, ContactsFromOtherProgramsKeepEveryRowWhole)
{
    expectContactsFromOtherProgramsWhole("Name,Mobile,Home,Office,Email,Memo,Group", doc.m_pcContacts);
}

// A NUL in a value would end the rows of programs that read up to a zero byte.
TEST_F(Csv, ExportDropsNulCharacters)
{
    for (const char16_t* text : {u"a\0b", u"c"}) {
        doc.m_pcMemos.push_back(std::make_unique<CMemoEntry>());
        doc.m_pcMemos.back()->m_strText = QString::fromUtf16(text, text[0] == u'a' ? 3 : 1);
    }
    doc.m_pcContacts.push_back(std::make_unique<CPhoneEntry>());
    doc.m_pcContacts[0]->m_strName = QString::fromUtf16(u"\0Ann", 4);
    doc.m_pcContacts[0]->m_strMobile = QString::fromUtf16(u"01\0" "2", 4);

    const QByteArray memos = save(2);
    EXPECT_EQ(memos, QByteArray("Memo\r\nab\r\nc\r\n"));
    const QByteArray contacts = save(0);
    EXPECT_FALSE(contacts.contains('\0'));
    load(memos, 2);
    load(contacts, 0);
    ASSERT_EQ(doc.m_pcMemos.size(), 2u);
    EXPECT_EQ(doc.m_pcMemos[0]->m_strText, QStringLiteral("ab"));
    ASSERT_EQ(doc.m_pcContacts.size(), 1u);
    EXPECT_EQ(doc.m_pcContacts[0]->m_strName, QStringLiteral("Ann"));
    EXPECT_EQ(doc.m_pcContacts[0]->m_strMobile, QStringLiteral("012"));
}

} // namespace
