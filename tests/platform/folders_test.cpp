#include "platform/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

    // Through a link the file it names is replaced, and the link stays.
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(file, link));
    ASSERT_TRUE(platform::WriteFileAtomically(link, "two"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(file), QByteArray("two"));

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

} // namespace
