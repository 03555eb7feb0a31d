#include "platform/folders.h"
#include "support/killed_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(Folders, AtomicWritesReplaceWholeFilesAndLeaveNothingBehind)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(platform::WriteFileAtomically(file, "one"));
    EXPECT_EQ(contents(file), QByteArray("one"));
    EXPECT_EQ(QFile::permissions(file) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther), 0);

    // A link at the name is replaced; the file it named is left alone.
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(file, link));
    ASSERT_TRUE(platform::WriteFileAtomically(link, "two"));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(link), QByteArray("two"));
    EXPECT_EQ(contents(file), QByteArray("one"));

    // A folder in the way, or no folder at all: refused with a reason.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QString error;
    EXPECT_FALSE(platform::WriteFileAtomically(dir.filePath(QStringLiteral("sub")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(platform::WriteFileAtomically(dir.filePath(QStringLiteral("none/data")), "x"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              (QStringList{"data", "link", "sub"}));

    EXPECT_EQ(platform::NextFreePath(file), file + QStringLiteral(".2"));
    ASSERT_TRUE(platform::WriteFileAtomically(file + QStringLiteral(".2"), ""));
    EXPECT_EQ(platform::NextFreePath(file), file + QStringLiteral(".3"));
    EXPECT_EQ(platform::NextFreePath(dir.filePath(QStringLiteral("free"))), dir.filePath(QStringLiteral("free")));
}

// A save that was killed leaves its temporary file; a sweep of the folder removes it and nothing
// else: not a save that is still running, not another user's file, not a link or a folder, not
// a name that merely looks alike.
TEST(Folders, OnlyTheTemporariesOfKilledSavesAreSwept)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(platform::WriteFileAtomically(file, "old"));
    ASSERT_TRUE(testsupport::RunKilledSave([&] { platform::WriteFileAtomically(file, QByteArray(4096, 'x')); }));
    EXPECT_EQ(contents(file), QByteArray("old"));
    QStringList left = testsupport::FolderEntries(dir.path());
    left.removeOne(QStringLiteral("data"));
    ASSERT_EQ(left.size(), 1) << left.join(u' ').toStdString();
    const QString killed = left.front();

    enum Kind { Plain, Held, OtherUsers, Link, Folder };
    const struct {
        QString name;
        Kind kind;
        bool removed;
    } rows[] = {
        {killed, Plain, true},
        {QStringLiteral(".cfg.deskhand-save-a1B2c3"), Plain, true},
        {QStringLiteral("data.deskhand-save-Held01"), Held, false},
        {QStringLiteral("data.deskhand-save-Other1"), OtherUsers, false},
        {QStringLiteral("data.deskhand-save-Link01"), Link, false},
        {QStringLiteral("data.deskhand-save-Fold01"), Folder, false},
        {QStringLiteral("data.deskhand-save-abc"), Plain, false},
        {QStringLiteral("data.deskhand-save-abc123.bak"), Plain, false},
        {QStringLiteral("data.legacy"), Plain, false},
        {QStringLiteral("data.Xy12Zq"), Plain, false},
    };
    int held = -1;
    for (const auto& row : rows) {
        const QString path = dir.filePath(row.name);
        switch (row.kind) {
        case Plain:
        case OtherUsers:
            if (row.name != killed) {
                QFile created(path);
                ASSERT_TRUE(created.open(QIODevice::WriteOnly));
            }
            // Root alone can give a file away; other users' files are then in the table too.
            if (row.kind == OtherUsers && (geteuid() != 0 || ::chown(QFile::encodeName(path).constData(), 65534, 65534) != 0))
                QFile::remove(path);
            break;
        case Held: // a save that runs: it holds its temporary locked
            held = ::open(QFile::encodeName(path).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
            ASSERT_GE(held, 0);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
            break;
        case Link:
            ASSERT_TRUE(QFile::link(file, path));
            break;
        case Folder:
            ASSERT_TRUE(QDir(dir.path()).mkdir(row.name));
            break;
        }
    }
    const QStringList before = testsupport::FolderEntries(dir.path());
    int removed = 0;
    for (const auto& row : rows) {
        if (before.contains(row.name))
            removed += row.removed ? 1 : 0;
    }
    EXPECT_EQ(platform::RemoveStaleTemporaries(dir.path()), removed);
    const QStringList after = testsupport::FolderEntries(dir.path());
    for (const auto& row : rows) {
        if (before.contains(row.name)) {
            EXPECT_EQ(after.contains(row.name), !row.removed) << row.name.toStdString();
        }
    }
    EXPECT_TRUE(after.contains(QStringLiteral("data")));
    EXPECT_EQ(contents(file), QByteArray("old"));
    ::close(held);
}

} // namespace
