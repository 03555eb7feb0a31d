// The store's files on disk: a save killed in its midst leaves its temporary file, which the next
// log-on removes; a link at an item's name is replaced, never written through.
#include "pim_test_support.h"

#include "support/killed_save.h"

namespace {

using pim::NoteItem;

class StoreFiles : public pimtest::StoreTest {};

TEST_F(StoreFiles, KilledSavesLeaveNothingPastTheNextLogonAndLinksAreReplaced)
{
    auto note = Create<NoteItem>(pim::olNoteItem);
    ASSERT_TRUE(note);
    note->SetBody(QStringLiteral("first"));
    ASSERT_TRUE(note->Save());
    const QString notes = Folder(pim::olFolderNotes);
    const QStringList saved = testsupport::FolderEntries(notes);

    note->SetBody(QString(500, u'n'));
    ASSERT_TRUE(testsupport::RunKilledSave([&] { note->Save(); }));
    EXPECT_EQ(testsupport::FolderEntries(notes).size(), saved.size() + 1);
    // Other programs see the item as it was.
    ASSERT_TRUE(Find<NoteItem>(note->EntryID()));
    EXPECT_EQ(Find<NoteItem>(note->EntryID())->Body(), QStringLiteral("first"));

    auto again = std::make_unique<pim::Application>(m_root);
    auto ns = again->GetNamespace(QStringLiteral("MAPI"));
    ASSERT_TRUE(ns && ns->Logon());
    EXPECT_EQ(testsupport::FolderEntries(notes), saved);

    // A link planted at the item's name: the save replaces the link.
    const QString theirs = m_dir.filePath(QStringLiteral("theirs.ics"));
    ASSERT_TRUE(pimtest::WriteFile(theirs, "someone else's"));
    ASSERT_TRUE(QFile::remove(note->FilePath()));
    ASSERT_TRUE(QFile::link(theirs, note->FilePath()));
    note->SetBody(QStringLiteral("second"));
    ASSERT_TRUE(note->Save());
    EXPECT_FALSE(QFileInfo(note->FilePath()).isSymLink());
    EXPECT_EQ(pimtest::ReadFile(theirs), QByteArray("someone else's"));
    EXPECT_EQ(Find<NoteItem>(note->EntryID())->Body(), QStringLiteral("second"));
}

} // namespace
