// The single-instance lock in the data folder: only a copy that runs keeps another out. Whatever
// a lock file left behind holds, the next start takes it over.
#include "platform/single_instance.h"
#include "support/as_unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

namespace {

const QString kName = QStringLiteral("TEST_MUTEX");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(SingleInstanceLock, OnlyACopyThatRunsKeepsTheNextOut)
{
    QByteArray noise(512, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 151 + 7) % 256);
    const QByteArray ownPid = QByteArray::number(qint64(::getpid())) + '\n';
    // What a lock file of another kind names: a process, an application, a host.
    const QByteArray otherHost = "4242\nARBOR_MUTEX\nsome-other-host\n";
    const QByteArray goneProcess = "2147483646\nARBOR_MUTEX\n" + QFile::encodeName(QSysInfo::machineHostName()) + '\n';

    std::unique_ptr<platform::SingleInstance> holder;
    const struct {
        const char* what;
        std::function<bool(const QDir&)> setup;
        bool taken;
    } rows[] = {
        {"no lock file", [](const QDir&) { return true; }, true},
        {"an empty lock file", [](const QDir& d) { return writeFile(d.filePath(kName + ".lock"), ""); }, true},
        {"random bytes", [&](const QDir& d) { return writeFile(d.filePath(kName + ".lock"), noise); }, true},
        {"another host's lock", [&](const QDir& d) { return writeFile(d.filePath(kName + ".lock"), otherHost); }, true},
        {"a process that is gone", [&](const QDir& d) { return writeFile(d.filePath(kName + ".lock"), goneProcess); }, true},
        {"this very process's id, not held", [&](const QDir& d) { return writeFile(d.filePath(kName + ".lock"), ownPid); }, true},
        {"a copy that runs",
         [&](const QDir& d) {
             holder = std::make_unique<platform::SingleInstance>(kName, d.path());
             return holder->Acquire("HELLO") && holder->IsHeld();
         },
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QDir d(dir.path());
        ASSERT_TRUE(row.setup(d));
        {
            platform::SingleInstance copy(kName, dir.path());
            EXPECT_EQ(copy.Acquire("HELLO"), row.taken);
            EXPECT_EQ(copy.IsHeld(), row.taken);
            EXPECT_EQ(QFileInfo(copy.LockPath()).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
            if (row.taken) {
                EXPECT_EQ(readFile(copy.LockPath()), ownPid);
                // And now it keeps the next one out in turn.
                platform::SingleInstance next(kName, dir.path());
                EXPECT_FALSE(next.Acquire("HELLO"));
                EXPECT_FALSE(next.IsHeld());
            }
        }
        // Once its holder ends, the lock is free again.
        holder.reset();
        platform::SingleInstance later(kName, dir.path());
        EXPECT_TRUE(later.Acquire("HELLO"));
        EXPECT_TRUE(later.IsHeld());
    }
}

// A link at the lock's name is replaced, never followed: the file it points to stays as it was.
TEST(SingleInstanceLock, ALinkAtTheNameIsReplaced)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    ASSERT_TRUE(writeFile(d.filePath("theirs"), "someone else's"));
    ASSERT_TRUE(QFile::link(d.filePath("theirs"), d.filePath(kName + ".lock")));
    platform::SingleInstance copy(kName, dir.path());
    ASSERT_TRUE(copy.Acquire("HELLO"));
    EXPECT_TRUE(copy.IsHeld());
    EXPECT_FALSE(QFileInfo(copy.LockPath()).isSymLink());
    EXPECT_EQ(readFile(d.filePath("theirs")), QByteArray("someone else's"));
}

// A lock file there that this user cannot open may be held by a copy that runs: the start ends
// rather than run beside it.
TEST(SingleInstanceLock, ALockFileThatCannotBeOpenedKeepsTheCopyOut)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to leave a file that another user cannot open";
    QTemporaryDir dir;
    const QString lock = QDir(dir.path()).filePath(kName + ".lock");
    ASSERT_TRUE(writeFile(lock, "1\n"));
    ASSERT_TRUE(QFile::setPermissions(lock, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777)));
    EXPECT_TRUE(testsupport::AsUnprivileged([&] {
        platform::SingleInstance copy(kName, dir.path());
        return !copy.Acquire("HELLO") && !copy.IsHeld();
    }));
    EXPECT_EQ(readFile(lock), QByteArray("1\n"));
}

} // namespace
