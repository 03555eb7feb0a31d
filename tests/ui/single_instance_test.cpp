// The program's start as a process: one copy per data folder (a second copy ends at once,
// whatever its environment; a killed copy's lock does not block the next), and a signal during
// the start.
#include "document/mvsync_doc.h"
#include "platform/single_instance.h"
#include "support/as_unprivileged.h"
#include "ui/mvsync_app.h"
#include "support/window_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
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

// A lock file there that this user cannot open may be another copy's: the start ends, and a box
// says which file and why, rather than the program vanishing without a word.
TEST(SingleInstance, ALockThatCannotBeOpenedEndsTheStartWithABox)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to leave a lock file that another user cannot open";
    QTemporaryDir data;
    const QString lock = QDir(data.path()).filePath(QStringLiteral("ARBOR_MUTEX.lock"));
    QFile file(lock);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("1\n") == 2);
    file.close();
    ASSERT_TRUE(QFile::setPermissions(lock, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(data.path(), QFile::Permissions(0x7777)));
    qputenv("DESKHAND_DATA_DIR", data.path().toLocal8Bit());
    EXPECT_TRUE(testsupport::AsUnprivileged([&] {
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        dh1::CMVsyncApp app;
        const bool started = app.InitInstance({QStringLiteral("deskhand"), QStringLiteral("--no-splash")});
        return !started && shown.contains(QDir::toNativeSeparators(lock)) && shown.contains(QStringLiteral("Permission denied"));
    }));
    qunsetenv("DESKHAND_DATA_DIR");
}

class ProgramProcesses : public ::testing::Test {
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
        lockPath = QDir(data.path()).filePath(QStringLiteral("ARBOR_MUTEX.lock"));
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

TEST_F(ProgramProcesses, SecondCopyEndsAtOnceAndAKilledCopyLeavesNoBlockingLock)
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

// The lock lives beside the data file: copies started from other shells, other users' sessions,
// cron or su, with another runtime folder, none at all or another temporary folder, still find
// it when they work on one data folder.
TEST_F(ProgramProcesses, CopiesStartedInOtherEnvironmentsStillFindOneLock)
{
    QTemporaryDir otherRuntime;
    QTemporaryDir tmpA;
    QTemporaryDir tmpB;
    QTemporaryDir here;
    QTemporaryDir there;
    QFile::setPermissions(otherRuntime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    using Env = std::function<void(QProcessEnvironment&)>;
    const auto unset = [](const char* name) { return Env([=](QProcessEnvironment& e) { e.remove(QLatin1String(name)); }); };
    const auto set = [](const char* name, const QString& value) {
        return Env([=](QProcessEnvironment& e) { e.insert(QLatin1String(name), value); });
    };
    const struct {
        const char* what;
        Env first;
        Env second;
    } rows[] = {
        {"a runtime folder, then none", [](QProcessEnvironment&) {}, unset("XDG_RUNTIME_DIR")},
        {"none, then a runtime folder", unset("XDG_RUNTIME_DIR"), [](QProcessEnvironment&) {}},
        {"two runtime folders", [](QProcessEnvironment&) {}, set("XDG_RUNTIME_DIR", otherRuntime.path())},
        {"two temporary folders without a runtime folder",
         [&](QProcessEnvironment& e) { e.remove(QStringLiteral("XDG_RUNTIME_DIR")); e.insert(QStringLiteral("TMPDIR"), tmpA.path()); },
         [&](QProcessEnvironment& e) { e.remove(QStringLiteral("XDG_RUNTIME_DIR")); e.insert(QStringLiteral("TMPDIR"), tmpB.path()); }},
    };
    const QProcessEnvironment common = environment;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QProcess first;
        environment = common;
        row.first(environment);
        Start(first, here.path());
        ASSERT_TRUE(WaitFor([&] { return OwnsLock(first); }));
        QProcess second;
        environment = common;
        row.second(environment);
        Start(second, there.path());
        EXPECT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(first.state(), QProcess::Running);
        EXPECT_TRUE(OwnsLock(first));
        EXPECT_TRUE(testEntries(here.path()).isEmpty());
        EXPECT_TRUE(testEntries(there.path()).isEmpty());
        for (QProcess* process : {&second, &first}) {
            process->terminate();
            if (!process->waitForFinished(10000))
                process->kill();
            process->waitForFinished(10000);
        }
    }
}

// SIGTERM while the start-up box about a damaged data file waits for the user: the box goes, the
// records recovered from the damaged file are saved, and the program ends as Exit ends it.
TEST_F(ProgramProcesses, ASignalDuringTheDamagedFileBoxStillSavesTheRecoveredRecords)
{
    const QString dataFile = QDir(data.path()).filePath(QStringLiteral("mvsync.dat"));
    {
        dh1::CMVsyncDoc doc;
        doc.SetDataDir(data.path());
        auto memo = std::make_unique<dh1::CMemoEntry>();
        memo->m_strText = QStringLiteral("Recovered");
        doc.m_pcMemos.push_back(std::move(memo));
        ASSERT_TRUE(doc.SaveLocalData());
    }
    // Cut inside the last list: the memo before it reads whole.
    QFile file(dataFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 2));
    file.close();

    QProcess program;
    Start(program);
    // The damaged file is moved aside just before the box opens.
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(dataFile + QStringLiteral(".damaged")); }));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    dh1::CMVsyncDoc saved;
    saved.SetDataDir(data.path());
    saved.LoadLocalData();
    ASSERT_EQ(saved.m_pcMemos.size(), 1u);
    EXPECT_EQ(saved.m_pcMemos[0]->m_strText, QStringLiteral("Recovered"));
}

} // namespace
