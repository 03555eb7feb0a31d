// One copy per user: a second copy ends at once; a killed copy's lock does not block the next.
#include "platform/single_instance.h"
#include "support/window_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using windowtest::WaitFor;

QStringList testEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray LockOwner(const QString& lockPath)
{
    QFile lock(lockPath);
    return lock.open(QIODevice::ReadOnly) ? lock.readLine().trimmed() : QByteArray();
}

TEST(SingleInstance, ALaterCopyIsTurnedAwayAndHeard)
{
    QTemporaryDir folder;
    platform::SingleInstance first(QStringLiteral("TEST_MUTEX"), folder.path());
    QSignalSpy heard(&first, &platform::SingleInstance::messageReceived);
    ASSERT_TRUE(first.Acquire("HELLO"));
    {
        platform::SingleInstance second(QStringLiteral("TEST_MUTEX"), folder.path());
        EXPECT_FALSE(second.Acquire("ARBOR_FIND_APP"));
        EXPECT_FALSE(second.IsHeld());
    }
    ASSERT_TRUE(WaitFor([&] { return heard.count() > 0; }, 5000));
    EXPECT_EQ(heard.at(0).at(0).toByteArray(), "ARBOR_FIND_APP");
}

class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid() && data.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("deskhand"));
        ASSERT_TRUE(QFile::exists(program));
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("DESKHAND_DATA_DIR"), data.path());
        environment.insert(QStringLiteral("DESKHAND_PIM_DIR"), data.filePath(QStringLiteral("pim")));
        lockPath = QDir(runtime.path()).filePath(QStringLiteral("ARBOR_MUTEX.lock"));
    }

    void Start(QProcess& process, const QString& workingFolder = QString())
    {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingFolder);
        process.start(program, {QStringLiteral("--no-splash")});
        ASSERT_TRUE(process.waitForStarted());
    }

    bool OwnsLock(const QProcess& process) const
    {
        return LockOwner(lockPath) == QByteArray::number(process.processId());
    }

    QTemporaryDir runtime;
    QTemporaryDir data;
    QString program;
    QString lockPath;
    QProcessEnvironment environment;
};

TEST_F(TwoProcesses, SecondCopyEndsAtOnceAndAKilledCopyLeavesNoBlockingLock)
{
    QProcess first;
    Start(first);
    ASSERT_TRUE(WaitFor([&] { return OwnsLock(first); }));

    QProcess second;
    Start(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    // kill -9: the lock file stays behind, naming a process that is gone.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(20000));
    ASSERT_TRUE(QFile::exists(lockPath));

    QProcess third;
    Start(third);
    EXPECT_TRUE(WaitFor([&] { return OwnsLock(third); }));
    EXPECT_EQ(third.state(), QProcess::Running);
    third.terminate();
    if (!third.waitForFinished(10000))
        third.kill();
    third.waitForFinished(10000);
}

// Without a runtime folder, and with another user holding the names a fallback would take in the
// temporary folder, two copies started from different folders still find one lock: it goes into
// a private folder of the user's own, never into the folder the copy was started from.
TEST_F(TwoProcesses, WithoutARuntimeFolderTheLockStillKeepsASecondCopyOut)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    QTemporaryDir tmp;
    QTemporaryDir cache;
    QTemporaryDir here;
    QTemporaryDir there;
    for (const QString& name : {QStringLiteral("runtime-root"), QStringLiteral("deskhand-0")}) {
        const QByteArray taken = QFile::encodeName(QDir(tmp.path()).filePath(name));
        ASSERT_EQ(::mkdir(taken.constData(), 0700), 0);
        ASSERT_EQ(::chown(taken.constData(), 65534, 65534), 0);
    }
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), tmp.path());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
    lockPath = QDir(cache.path()).filePath(QStringLiteral("deskhand-runtime/ARBOR_MUTEX.lock"));

    QProcess first;
    Start(first, here.path());
    ASSERT_TRUE(WaitFor([&] { return OwnsLock(first); }));
    QProcess second;
    Start(second, there.path());
    EXPECT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(testEntries(here.path()).isEmpty());
    EXPECT_TRUE(testEntries(there.path()).isEmpty());
    for (QProcess* process : {&second, &first}) {
        process->terminate();
        if (!process->waitForFinished(10000))
            process->kill();
        process->waitForFinished(10000);
    }
}

} // namespace
