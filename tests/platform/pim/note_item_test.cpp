#include "pim_test_support.h"

namespace {

using pim::NoteItem;
using pimtest::ReadFile;

class NoteItemTest : public pimtest::StoreTest {};

TEST_F(NoteItemTest, WrittenByUsReadsBack)
{
    auto note = Create<NoteItem>(pim::olNoteItem);
    ASSERT_TRUE(note);
    const QString body = QStringLiteral("Buy: milk, bread; eggs\nCall mum \\ ") + QString(50, u'记');
    note->SetBody(body);
    ASSERT_TRUE(note->Save());
    auto back = Find<NoteItem>(note->EntryID());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Body(), body);
    const QByteArray file = ReadFile(note->FilePath());
    EXPECT_TRUE(file.contains("\r\nBEGIN:VJOURNAL\r\n"));
    EXPECT_TRUE(file.contains("\r\nDESCRIPTION:Buy: milk\\, bread\\; eggs\\nCall mum \\\\ "));
    EXPECT_TRUE(file.contains("\r\nUID:" + note->EntryID().toUtf8() + "\r\n"));
    EXPECT_TRUE(file.contains("\r\nDTSTAMP:"));
}

TEST_F(NoteItemTest, JournalsOfOtherPrograms)
{
    Put(QStringLiteral("notes/journal.ics"));
    Put(QStringLiteral("notes/summary_only.ics"));
    auto journal = Load<NoteItem>(QStringLiteral("notes/journal.ics"));
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Body(), QStringLiteral("Shopping list: milk, bread; eggs\nand a very long line that the writer "
                                              "folded because it was longer than seventy-five octets"));
    EXPECT_EQ(journal->EntryID(), QStringLiteral("journal-0001@example.com"));

    auto summaryOnly = Load<NoteItem>(QStringLiteral("notes/summary_only.ics"));
    ASSERT_TRUE(summaryOnly);
    EXPECT_EQ(summaryOnly->Body(), QStringLiteral("Call the plumber"));
    summaryOnly->SetBody(QStringLiteral("Call the plumber again"));
    ASSERT_TRUE(summaryOnly->Save());
    const QByteArray file = ReadFile(summaryOnly->FilePath());
    EXPECT_TRUE(file.contains("SUMMARY:Call the plumber again\r\n"));
    EXPECT_FALSE(file.contains("DESCRIPTION"));

    journal->SetBody(QStringLiteral("milk only"));
    ASSERT_TRUE(journal->Save());
    const QByteArray rewritten = ReadFile(journal->FilePath());
    for (const char* kept : {"SUMMARY:Shopping\r\n", "CATEGORIES:PERSONAL\r\n", "DTSTART;VALUE=DATE:20240101\r\n",
                             "DESCRIPTION:milk only\r\n", "PRODID:-//Example Journal//EN\r\n"})
        EXPECT_TRUE(rewritten.contains(kept)) << kept << "\n" << rewritten.constData();
}

} // namespace
