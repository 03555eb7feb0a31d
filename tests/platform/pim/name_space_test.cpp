#include "pim_test_support.h"

#include <QDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using pim::AppointmentItem;
using pim::ContactItem;
using pim::NoteItem;
using pimtest::ReadFile;
using pimtest::WriteFile;

mode_t modeOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 0777;
}

QStringList entriesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(NameSpaceLogon, CreatesAMissingStoreForTheUserOnly)
{
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/data/deskhand/pim");
    pim::Application app(root);
    auto ns = app.GetNamespace(QStringLiteral("MAPI"));
    ASSERT_TRUE(ns);
    EXPECT_FALSE(ns->LoggedOn());
    pim::Error error;
    EXPECT_FALSE(ns->GetDefaultFolder(pim::olFolderContacts, &error));
    EXPECT_EQ(error.code, pim::ErrorCode::NotLoggedOn);

    ASSERT_TRUE(ns->Logon(&error)) << error.description.toStdString();
    EXPECT_TRUE(ns->Logon()) << "logging on twice is harmless";
    for (const char* folder : {"", "/contacts", "/calendar", "/notes"})
        EXPECT_EQ(modeOf(root + QString::fromUtf8(folder)), mode_t(0700)) << folder;
    auto contacts = ns->GetDefaultFolder(pim::olFolderContacts);
    ASSERT_TRUE(contacts);
    EXPECT_EQ(contacts->StoreID(), QDir::cleanPath(root) + QStringLiteral("/contacts"));
    EXPECT_EQ(contacts->Items()->Count(), 0);
    EXPECT_FALSE(ns->GetDefaultFolder(static_cast<pim::OlDefaultFolders>(6), &error));
    EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);

    ns->Logoff();
    EXPECT_FALSE(ns->GetDefaultFolder(pim::olFolderContacts));
}

TEST(NameSpaceLogon, RefusesAStoreThatCannotBeCreated)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain-file"));
    ASSERT_TRUE(WriteFile(file, "x"));
    // Under a regular file nothing can be created, not even by root.
    for (const QString& root : {file + QStringLiteral("/pim"), file}) {
        SCOPED_TRACE(root.toStdString());
        auto ns = pim::Application(root).GetNamespace(QStringLiteral("MAPI"));
        pim::Error error;
        EXPECT_FALSE(ns->Logon(&error));
        EXPECT_EQ(error.code, pim::ErrorCode::StoreUnavailable);
        EXPECT_FALSE(error.description.isEmpty());
        EXPECT_FALSE(ns->LoggedOn());
    }
    // A folder of the store that is a file.
    const QString root = dir.filePath(QStringLiteral("store"));
    ASSERT_TRUE(QDir().mkpath(root));
    ASSERT_TRUE(WriteFile(root + QStringLiteral("/notes"), "x"));
    pim::Error error;
    EXPECT_FALSE(pim::Application(root).GetNamespace(QStringLiteral("MAPI"))->Logon(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::StoreUnavailable);
    EXPECT_FALSE(pim::Application(QString()).GetNamespace(QStringLiteral("MAPI"))->Logon());
}

TEST(NameSpaceLogon, OpensAStoreThatIsNotWritableForReading)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root; run this test as an unprivileged user";
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("pim"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/contacts")));
    ASSERT_TRUE(WriteFile(root + QStringLiteral("/contacts/a.vcf"), "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(root).constData(), 0500), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(root + QStringLiteral("/contacts")).constData(), 0500), 0);
    pim::Application app(root);
    auto ns = app.GetNamespace(QStringLiteral("MAPI"));
    pim::Error error;
    EXPECT_TRUE(ns->Logon(&error)) << error.description.toStdString();
    auto items = ns->GetDefaultFolder(pim::olFolderContacts)->Items(&error);
    ASSERT_TRUE(items);
    EXPECT_EQ(items->Count(), 1);
    // The folder it could not create stays missing, and says so.
    EXPECT_FALSE(ns->GetDefaultFolder(pim::olFolderNotes)->Items(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::ReadFailed);
    auto contact = app.CreateItem(pim::olContactItem);
    EXPECT_FALSE(contact->Save(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::WriteFailed);
    ::chmod(QFile::encodeName(root + QStringLiteral("/contacts")).constData(), 0700);
    ::chmod(QFile::encodeName(root).constData(), 0700);
}

TEST(Application, NamespacesItemTypesAndTheDefaultRoot)
{
    pim::Application app(QStringLiteral("/nonexistent/pim"));
    pim::Error error;
    EXPECT_FALSE(app.GetNamespace(QStringLiteral("LDAP"), &error));
    EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);
    EXPECT_TRUE(app.GetNamespace(QStringLiteral("mapi")));
    EXPECT_FALSE(app.CreateItem(static_cast<pim::OlItemType>(3), &error));
    EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);
    EXPECT_EQ(app.CreateItem(pim::olContactItem)->ItemType(), pim::olContactItem);
    EXPECT_EQ(app.CreateItem(pim::olAppointmentItem)->ItemType(), pim::olAppointmentItem);
    EXPECT_EQ(app.CreateItem(pim::olNoteItem)->ItemType(), pim::olNoteItem);
    EXPECT_FALSE(pim::ItemCast<NoteItem>(app.CreateItem(pim::olContactItem)));

    const QByteArray oldPim = qgetenv("DESKHAND_PIM_DIR");
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    qputenv("DESKHAND_PIM_DIR", "/srv/pim");
    EXPECT_EQ(pim::DefaultStoreRoot(), QStringLiteral("/srv/pim"));
    qunsetenv("DESKHAND_PIM_DIR");
    qputenv("XDG_DATA_HOME", "/home/u/.data");
    EXPECT_EQ(pim::DefaultStoreRoot(), QStringLiteral("/home/u/.data/deskhand/pim"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(pim::DefaultStoreRoot(), QDir::homePath() + QStringLiteral("/.local/share/deskhand/pim"));
    if (!oldPim.isNull())
        qputenv("DESKHAND_PIM_DIR", oldPim);
    if (!oldXdg.isNull())
        qputenv("XDG_DATA_HOME", oldXdg);
}

class NameSpaceTest : public pimtest::StoreTest {};

TEST_F(NameSpaceTest, ItemsAreTheFolderFilesInNameOrder)
{
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:%1\r\nEND:VCARD\r\n";
    for (const char* name : {"b", "a", "C"})
        PutText(QStringLiteral("contacts/%1.vcf").arg(QLatin1String(name)), QByteArray(card).replace("%1", name));
    // What a folder may also hold: no card, a hidden file, another extension.
    PutText(QStringLiteral("contacts/junk.vcf"), "this is not a card\r\n");
    PutText(QStringLiteral("contacts/.d.vcf"), QByteArray(card).replace("%1", "hidden"));
    PutText(QStringLiteral("contacts/readme.txt"), QByteArray(card).replace("%1", "text"));
    Put(QStringLiteral("calendar/task.ics"));
    PutText(QStringLiteral("calendar/broken.ics"), "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n");

    auto items = m_ns->GetDefaultFolder(pim::olFolderContacts)->Items();
    ASSERT_TRUE(items);
    ASSERT_EQ(items->Count(), 3);
    QStringList names;
    for (long i = 1; i <= items->Count(); ++i)
        names << pim::ItemCast<ContactItem>(items->Item(i))->FullName();
    EXPECT_EQ(names, (QStringList{QStringLiteral("C"), QStringLiteral("a"), QStringLiteral("b")}));
    pim::Error error;
    EXPECT_FALSE(items->Item(0, &error));
    EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);
    EXPECT_FALSE(items->Item(4));

    // Each Item(i) is a copy; a snapshot does not change under the caller.
    auto first = pim::ItemCast<ContactItem>(items->Item(1));
    first->SetFullName(QStringLiteral("changed"));
    EXPECT_EQ(pim::ItemCast<ContactItem>(items->Item(1))->FullName(), QStringLiteral("C"));
    auto added = Create<ContactItem>(pim::olContactItem);
    ASSERT_TRUE(added->Save());
    EXPECT_EQ(items->Count(), 3);
    EXPECT_EQ(m_ns->GetDefaultFolder(pim::olFolderContacts)->Items()->Count(), 4);

    EXPECT_EQ(m_ns->GetDefaultFolder(pim::olFolderCalendar)->Items()->Count(), 0);
}

TEST_F(NameSpaceTest, ItemsOfAFolderThatVanished)
{
    ASSERT_TRUE(QDir(Folder(pim::olFolderNotes)).removeRecursively());
    pim::Error error;
    EXPECT_FALSE(m_ns->GetDefaultFolder(pim::olFolderNotes)->Items(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::ReadFailed);
}

TEST_F(NameSpaceTest, GetItemFromIdLooksInTheFolderItNames)
{
    auto note = Create<NoteItem>(pim::olNoteItem);
    note->SetBody(QStringLiteral("n"));
    ASSERT_TRUE(note->Save());
    Put(QStringLiteral("calendar/utc_start.ics"));
    Put(QStringLiteral("contacts/address_book_30.vcf"));
    // Another program's contact with the note's UID.
    PutText(QStringLiteral("contacts/twin.vcf"), "BEGIN:VCARD\r\nUID:" + note->EntryID().toUtf8() + "\r\nFN:T\r\nEND:VCARD\r\n");
    const auto storeOf = [this](pim::OlDefaultFolders folder) { return m_ns->GetDefaultFolder(folder)->StoreID(); };

    const struct {
        const QString entryId;
        pim::OlDefaultFolders folder;
        pim::OlItemType type;
    } cases[] = {
        {note->EntryID(), pim::olFolderNotes, pim::olNoteItem},
        {note->EntryID(), pim::olFolderContacts, pim::olContactItem},
        {QStringLiteral("utc-0001@example.com"), pim::olFolderCalendar, pim::olAppointmentItem},
        {QStringLiteral("0c5a6e2e-0001-4b7e-9d1c-ab0000000001"), pim::olFolderContacts, pim::olContactItem},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entryId.toStdString());
        auto item = m_ns->GetItemFromID(c.entryId, storeOf(c.folder));
        ASSERT_TRUE(item);
        EXPECT_EQ(item->ItemType(), c.type);
        EXPECT_EQ(item->EntryID(), c.entryId);
        EXPECT_TRUE(m_ns->GetItemFromID(c.entryId)) << "the whole store";
    }

    pim::Error error;
    EXPECT_FALSE(m_ns->GetItemFromID(QStringLiteral("utc-0001@example.com"), storeOf(pim::olFolderNotes), &error));
    EXPECT_EQ(error.code, pim::ErrorCode::NotFound);
    EXPECT_FALSE(m_ns->GetItemFromID(note->EntryID(), QStringLiteral("/some/other/store"), &error));
    EXPECT_EQ(error.code, pim::ErrorCode::NotFound);
    EXPECT_FALSE(m_ns->GetItemFromID(QString(), storeOf(pim::olFolderNotes), &error));
    EXPECT_EQ(error.code, pim::ErrorCode::InvalidArgument);

    // A file another program removed after the index was built.
    const QString storeId = storeOf(pim::olFolderContacts);
    ASSERT_TRUE(QFile::remove(Folder(pim::olFolderContacts) + QStringLiteral("/address_book_30.vcf")));
    EXPECT_FALSE(m_ns->GetItemFromID(QStringLiteral("0c5a6e2e-0001-4b7e-9d1c-ab0000000001"), storeId, &error));
    EXPECT_EQ(error.code, pim::ErrorCode::NotFound);
    // ... or renamed.
    ASSERT_TRUE(QFile::rename(Folder(pim::olFolderCalendar) + QStringLiteral("/utc_start.ics"),
                              Folder(pim::olFolderCalendar) + QStringLiteral("/renamed.ics")));
    EXPECT_TRUE(m_ns->GetItemFromID(QStringLiteral("utc-0001@example.com"), storeOf(pim::olFolderCalendar)));
}

TEST_F(NameSpaceTest, UidsThatAreNoSafeFileName)
{
    for (const char* uid : {"a/b:c", "../escape", "", ".hidden"}) {
        SCOPED_TRACE(uid);
        const QByteArray lines = QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VJOURNAL\r\nUID:") + uid +
                                 "\r\nDESCRIPTION:x\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n";
        const QString path = PutText(QStringLiteral("notes/foreign.ics"), lines);
        auto note = Load<NoteItem>(QStringLiteral("notes/foreign.ics"));
        ASSERT_TRUE(note);
        const QString entryId = QString::fromUtf8(uid).isEmpty() ? QStringLiteral("foreign") : QString::fromUtf8(uid);
        EXPECT_EQ(note->EntryID(), entryId);
        EXPECT_EQ(pim::Store::FileNameFor(entryId, QStringLiteral(".ics")).contains(u'/'), false);
        EXPECT_TRUE(Find<NoteItem>(entryId));
        QFile::remove(path);
    }
    EXPECT_EQ(pim::Store::FileNameFor(QStringLiteral("a/b:c"), QStringLiteral(".ics")).size(), 44);
    EXPECT_EQ(pim::Store::FileNameFor(QStringLiteral("x@y.z"), QStringLiteral(".ics")), QStringLiteral("x@y.z.ics"));
}

TEST_F(NameSpaceTest, DeleteTellsAGoneItemFromAFailure)
{
    auto contact = Create<ContactItem>(pim::olContactItem);
    pim::Error error;
    EXPECT_FALSE(contact->Delete(&error)) << "never saved";
    EXPECT_EQ(error.code, pim::ErrorCode::NotFound);
    contact->SetFullName(QStringLiteral("Temp"));
    ASSERT_TRUE(contact->Save());
    const QString path = contact->FilePath();

    auto found = Find<ContactItem>(contact->EntryID());
    ASSERT_TRUE(found);
    ASSERT_TRUE(found->Delete(&error));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(found->Delete(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::ItemDeleted);
    EXPECT_FALSE(found->Save(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::ItemDeleted);

    // The first copy still points at the file that is gone now.
    EXPECT_FALSE(contact->Delete(&error));
    EXPECT_EQ(error.code, pim::ErrorCode::NotFound);
    EXPECT_FALSE(Find<ContactItem>(contact->EntryID()));
}

TEST_F(NameSpaceTest, FilesAreForTheUserOnlyAndSavedInPlace)
{
    auto appointment = Create<AppointmentItem>(pim::olAppointmentItem);
    appointment->SetSubject(QStringLiteral("one"));
    ASSERT_TRUE(appointment->Save());
    const QString entryId = appointment->EntryID();
    const QString path = appointment->FilePath();
    EXPECT_EQ(modeOf(path), mode_t(0600));
    appointment->SetSubject(QStringLiteral("two"));
    ASSERT_TRUE(appointment->Save());
    EXPECT_EQ(appointment->EntryID(), entryId);
    EXPECT_EQ(appointment->FilePath(), path);
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_EQ(entriesOf(Folder(pim::olFolderCalendar)), QStringList{QFileInfo(path).fileName()});

    // A file of another program keeps its permissions when it is written (a store shared with a
    // group stays shared).
    const QString foreign = Put(QStringLiteral("notes/journal.ics"));
    ASSERT_EQ(::chmod(QFile::encodeName(foreign).constData(), 0644), 0);
    auto note = Load<NoteItem>(QStringLiteral("notes/journal.ics"));
    note->SetBody(QStringLiteral("x"));
    ASSERT_TRUE(note->Save());
    EXPECT_EQ(modeOf(foreign), mode_t(0644));
}

// Lowers the file size limit for the scope, so that a write fails even for root.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~ScopedFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

TEST_F(NameSpaceTest, AFailedWriteLeavesTheOldFileAndTheChanges)
{
    auto note = Create<NoteItem>(pim::olNoteItem);
    note->SetBody(QStringLiteral("short"));
    ASSERT_TRUE(note->Save());
    const QByteArray before = ReadFile(note->FilePath());

    note->SetBody(QString(8000, u'x'));
    pim::Error error;
    {
        ScopedFileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(note->Save(&error));
    }
    EXPECT_EQ(error.code, pim::ErrorCode::WriteFailed);
    EXPECT_FALSE(error.description.isEmpty());
    EXPECT_EQ(ReadFile(note->FilePath()), before);
    EXPECT_EQ(entriesOf(Folder(pim::olFolderNotes)), QStringList{QFileInfo(note->FilePath()).fileName()})
        << "no temporary file is left behind";
    ASSERT_TRUE(note->Save()) << "the item kept its change";
    EXPECT_EQ(Find<NoteItem>(note->EntryID())->Body(), QString(8000, u'x'));

    // A new item whose first write fails gets no EntryID, and its retry writes one file.
    auto contact = Create<ContactItem>(pim::olContactItem);
    contact->SetBody(QString(8000, u'y'));
    {
        ScopedFileSizeLimit limit(4096);
        EXPECT_FALSE(contact->Save());
    }
    EXPECT_TRUE(contact->EntryID().isEmpty());
    EXPECT_TRUE(entriesOf(Folder(pim::olFolderContacts)).isEmpty());
    ASSERT_TRUE(contact->Save());
    EXPECT_EQ(entriesOf(Folder(pim::olFolderContacts)).size(), 1);
    EXPECT_EQ(ReadFile(contact->FilePath()).count("\r\nFN:"), 1);
}

// The exchange's call sequence, end to end: add, read back by index, update and delete by
// EntryID and the folder's StoreID.
TEST_F(NameSpaceTest, TheExchangeCallSequence)
{
    auto folder = m_ns->GetDefaultFolder(pim::olFolderContacts);
    ASSERT_TRUE(folder);
    QStringList entryIds;
    for (const char* name : {"Anna", "Ben"}) {
        auto contact = pim::ItemCast<ContactItem>(m_app->CreateItem(pim::olContactItem));
        contact->SetFullName(QString::fromUtf8(name));
        contact->SetMobileTelephoneNumber(QStringLiteral("0170 1"));
        contact->SetBusinessTelephoneNumber(QString());
        contact->SetHomeTelephoneNumber(QString());
        contact->SetEmail1Address(QString());
        contact->SetBody(QString());
        ASSERT_TRUE(contact->Save());
        entryIds << contact->EntryID();
    }
    auto items = folder->Items();
    ASSERT_EQ(items->Count(), 2);
    QStringList read;
    for (long i = 1; i <= items->Count(); ++i) {
        auto contact = pim::ItemCast<ContactItem>(items->Item(i));
        ASSERT_TRUE(contact);
        read << contact->EntryID();
    }
    read.sort();
    entryIds.sort();
    EXPECT_EQ(read, entryIds);

    auto update = pim::ItemCast<ContactItem>(m_ns->GetItemFromID(entryIds[0], folder->StoreID()));
    ASSERT_TRUE(update);
    update->SetHomeTelephoneNumber(QStringLiteral("030 2"));
    ASSERT_TRUE(update->Save());
    EXPECT_EQ(update->EntryID(), entryIds[0]);
    EXPECT_EQ(Find<ContactItem>(entryIds[0])->HomeTelephoneNumber(), QStringLiteral("030 2"));

    auto remove = m_ns->GetItemFromID(entryIds[1], folder->StoreID());
    ASSERT_TRUE(remove);
    ASSERT_TRUE(remove->Delete());
    EXPECT_EQ(folder->Items()->Count(), 1);
    m_ns->Logoff();
}

} // namespace
