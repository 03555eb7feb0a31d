// Where the single-instance lock lives: only in a folder of the user's own that nobody else may
// enter, whatever the environment offers.
#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets or unsets an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QString>& value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        if (value)
            qputenv(name, QFile::encodeName(*value));
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

bool makeFolder(const QString& path, mode_t mode)
{
    return ::mkdir(QFile::encodeName(path).constData(), mode) == 0 && ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

TEST(RuntimeFolder, OnlyAFolderOfTheUsersOwnThatNobodyElseMayEnter)
{
    const QString fallback = QStringLiteral("tmp/deskhand-") + QString::number(::geteuid());
    const QString cached = QStringLiteral("cache/deskhand-runtime");
    const auto none = [](const QDir&) { return true; };
    const struct {
        const char* what;
        const char* runtimeDir; // in the test's folder; "./" keeps it relative; null unsets it
        std::function<bool(const QDir&)> setup;
        QString expected;       // in the test's folder; empty for none
        bool asRoot = false;    // only root can give a folder away
    } rows[] = {
        {"the runtime folder", "run", [](const QDir& d) { return makeFolder(d.filePath("run"), 0700); }, "run"},
        {"a runtime folder that others may enter", "run", [](const QDir& d) { return makeFolder(d.filePath("run"), 0755); },
         fallback},
        {"a relative runtime folder", "./run", none, fallback},
        {"none: the fallback is made", nullptr, none, fallback},
        {"a fallback open to the group", nullptr, [&](const QDir& d) { return makeFolder(d.filePath(fallback), 0770); },
         cached},
        {"a link at the fallback", nullptr,
         [&](const QDir& d) { return makeFolder(d.filePath("mine"), 0700) && QFile::link(d.filePath("mine"), d.filePath(fallback)); },
         cached},
        {"a fallback of another user", nullptr,
         [&](const QDir& d) {
             return makeFolder(d.filePath(fallback), 0700)
                    && ::chown(QFile::encodeName(d.filePath(fallback)).constData(), 65534, 65534) == 0;
         },
         cached, true},
        {"nothing private anywhere", nullptr,
         [&](const QDir& d) { return makeFolder(d.filePath(fallback), 0777) && QFile(d.filePath(cached)).open(QIODevice::WriteOnly); },
         QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.asRoot && ::geteuid() != 0)
            continue;
        QTemporaryDir dir;
        const QDir d(dir.path());
        ASSERT_TRUE(d.mkdir(QStringLiteral("tmp")) && d.mkdir(QStringLiteral("cache")));
        ASSERT_TRUE(row.setup(d));
        std::optional<QString> runtime;
        if (row.runtimeDir)
            runtime = QByteArray(row.runtimeDir).startsWith("./") ? QString::fromLatin1(row.runtimeDir) : d.filePath(QLatin1String(row.runtimeDir));
        ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", runtime);
        ScopedEnv tmpEnv("TMPDIR", d.filePath(QStringLiteral("tmp")));
        ScopedEnv cacheEnv("XDG_CACHE_HOME", d.filePath(QStringLiteral("cache")));

        const QString folder = platform::SingleInstance::RuntimeFolder();
        EXPECT_EQ(folder, row.expected.isEmpty() ? QString() : d.filePath(row.expected));
        if (!folder.isEmpty()) {
            struct stat info {};
            ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0700u);
            EXPECT_EQ(info.st_uid, ::geteuid());
        }
        // The lock goes there, and a later copy finds it; with no such folder there is no lock.
        platform::SingleInstance first(QStringLiteral("TEST_MUTEX"));
        ASSERT_TRUE(first.Acquire("HELLO"));
        EXPECT_EQ(first.IsHeld(), !folder.isEmpty());
        if (!folder.isEmpty()) {
            EXPECT_EQ(QFileInfo(first.LockPath()).absolutePath(), folder);
            platform::SingleInstance second(QStringLiteral("TEST_MUTEX"));
            EXPECT_FALSE(second.Acquire("HELLO"));
        }
    }
}

} // namespace
