#include "platform/folders.h"
#include "support/as_unprivileged.h"
#include "support/killed_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

bool setMode(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// A file replaced keeps its permissions, so that a file shared with a group stays shared; a new
// file, or one replacing a link, is the user's alone. Nothing is granted that the old file did
// not grant, and nobody gains by the save: special bits go, and the group's rights go with a
// group the new copy cannot have.
TEST(Folders, AReplacedFileKeepsItsPermissions)
{
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(platform::WriteFileAtomically(other, "theirs"));
    ASSERT_TRUE(setMode(other, 0644));
    const struct {
        const char* what;
        int before; // -1: no file there; -2: a link to a 0644 file
        mode_t after;
    } rows[] = {
        {"a new file", -1, 0600},
        {"shared with all to read", 0644, 0644},
        {"shared with the group", 0640, 0640},
        {"written by the group", 0660, 0660},
        {"read-only", 0444, 0644},
        {"closed to all", 0000, 0600},
        {"with special bits", 06755, 0755},
        {"a link to a shared file", -2, 0600},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(QString::fromLatin1(row.what));
        if (row.before == -2) {
            ASSERT_TRUE(QFile::link(other, path));
        } else if (row.before >= 0) {
            ASSERT_TRUE(platform::WriteFileAtomically(path, "old") && setMode(path, mode_t(row.before)));
        }
        ASSERT_TRUE(platform::WriteFileAtomically(path, "new"));
        EXPECT_EQ(contents(path), QByteArray("new"));
        EXPECT_EQ(modeOf(path), row.after);
    }
    EXPECT_EQ(modeOf(other), 0644u);
    EXPECT_EQ(contents(other), QByteArray("theirs"));

    if (::geteuid() != 0)
        return;
    // Root can give the new copy the old file's group: the group keeps its rights.
    const QString grouped = dir.filePath(QStringLiteral("grouped"));
    ASSERT_TRUE(platform::WriteFileAtomically(grouped, "old") && setMode(grouped, 0640));
    ASSERT_EQ(::chown(QFile::encodeName(grouped).constData(), 0, 65534), 0);
    ASSERT_TRUE(platform::WriteFileAtomically(grouped, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(grouped).constData(), &info), 0);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // Another user cannot: the group that had rights is not the new copy's, so it gets none.
    ASSERT_TRUE(setMode(dir.path(), 0777));
    for (const mode_t before : {mode_t(0640), mode_t(0664)}) {
        const QString shared = dir.filePath(QStringLiteral("root's %1").arg(before, 0, 8));
        ASSERT_TRUE(platform::WriteFileAtomically(shared, "old") && setMode(shared, before));
        EXPECT_TRUE(testsupport::AsUnprivileged([&] { return platform::WriteFileAtomically(shared, "nobody's"); }));
        EXPECT_EQ(contents(shared), QByteArray("nobody's"));
        EXPECT_EQ(modeOf(shared), before & ~mode_t(S_IRWXG)) << before;
    }
}

// Saves and sweeps of one folder at the same time, as two programs (or a program and a driver)
// run them: a sweep never takes a running save's temporary, so every save goes through, and what
// is left at the end is the saved files alone.
TEST(Folders, SweepsNeverTakeARunningSavesTemporary)
{
    // Memory-backed when there is such a folder: the race is in the names, not in the disk.
    QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/deskhand-sweeps-XXXXXX")
                                                                          : QString());
    ASSERT_TRUE(dir.isValid());
    constexpr int kSavers = 3;
    constexpr int kSaves = 4000;
    std::atomic<int> running {kSavers};
    std::atomic<int> failed {0};
    QStringList errors;
    std::mutex errorsLock;
    std::vector<std::thread> threads;
    for (int t = 0; t < kSavers; ++t) {
        threads.emplace_back([&, t] {
            const QString path = dir.filePath(QStringLiteral("file%1").arg(t));
            for (int i = 0; i < kSaves; ++i) {
                QString error;
                if (!platform::WriteFileAtomically(path, QByteArray::number(i), &error)) {
                    ++failed;
                    const std::lock_guard<std::mutex> guard(errorsLock);
                    errors << error;
                }
            }
            --running;
        });
    }
    int sweeps = 0;
    while (running > 0) {
        platform::RemoveStaleTemporaries(dir.path());
        ++sweeps;
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failed, 0) << errors.join(u'|').toStdString();
    EXPECT_GT(sweeps, 0);
    EXPECT_EQ(testsupport::FolderEntries(dir.path()), (QStringList {"file0", "file1", "file2"}));
    for (int t = 0; t < kSavers; ++t)
        EXPECT_EQ(contents(dir.filePath(QStringLiteral("file%1").arg(t))), QByteArray::number(kSaves - 1));
}

// The program folder holds the data files only when this user alone may write to it.
TEST(Folders, OnlyAFolderThatTheUserAloneMayWriteToIsTheirs)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        mode_t mode;
        bool theirs;
    } rows[] = {
        {"private", 0700, true},
        {"readable by all", 0755, true},
        {"group-writable", 0775, false},
        {"world-writable", 0777, false},
        {"sticky and shared", 01777, false},
        {"read-only", 0555, false},
    };
    for (const auto& row : rows) {
        const QString path = dir.filePath(QString::fromLatin1(row.name));
        ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(row.name)) && setMode(path, row.mode));
        // Root writes anywhere: a read-only folder is the user's alone only for the others.
        const bool expected = row.theirs || (row.mode == 0555 && ::geteuid() == 0);
        EXPECT_EQ(platform::IsWritableByUserOnly(path), expected) << row.name;
    }
    EXPECT_FALSE(platform::IsWritableByUserOnly(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(platform::IsWritableByUserOnly(QString()));
    if (::geteuid() == 0) {
        const QString others = dir.filePath(QStringLiteral("another user's"));
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("another user's")) && setMode(others, 0755));
        ASSERT_EQ(::chown(QFile::encodeName(others).constData(), 65534, 65534), 0);
        EXPECT_FALSE(platform::IsWritableByUserOnly(others));
    }
}

} // namespace
