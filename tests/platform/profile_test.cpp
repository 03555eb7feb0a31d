#include "platform/profile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using platform::IniFile;

TEST(Profile, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed)
{
    const IniFile ini(QStringLiteral("[IrComm]\r\r\nByte = 32 \r\r\n; sleep=1\r\r\nsleep=\"15\"\r\r\n[Other]\nbyte=1\n"));
    EXPECT_EQ(ini.Value(QStringLiteral("ircomm"), QStringLiteral("BYTE"), QStringLiteral("FALSE")), QStringLiteral("32"));
    EXPECT_EQ(ini.Value(QStringLiteral("IrComm"), QStringLiteral("sleep"), QStringLiteral("FALSE")), QStringLiteral("15"));
    EXPECT_EQ(ini.Value(QStringLiteral("IrComm"), QStringLiteral("timeout"), QStringLiteral("FALSE")), QStringLiteral("FALSE"));
    EXPECT_EQ(ini.Value(QStringLiteral("Missing"), QStringLiteral("byte"), QStringLiteral("dflt  ")), QStringLiteral("dflt"));
    EXPECT_EQ(ini.Value(QStringLiteral("Other"), QStringLiteral("byte"), QString()), QStringLiteral("1"));
    EXPECT_FALSE(ini.HasKey(QStringLiteral("IrComm"), QStringLiteral("; sleep")));
}

TEST(Profile, KeepsBackslashesQuotesAndEightBitText)
{
    const IniFile ini(QStringLiteral("[s]\npath=C:\\dir\\file\nname=it's \"x\"\ncity=Zürich\n"));
    EXPECT_EQ(ini.Value(QStringLiteral("s"), QStringLiteral("path"), {}), QStringLiteral("C:\\dir\\file"));
    EXPECT_EQ(ini.Value(QStringLiteral("s"), QStringLiteral("name"), {}), QStringLiteral("it's \"x\""));
    EXPECT_EQ(ini.Value(QStringLiteral("s"), QStringLiteral("city"), {}), QStringLiteral("Zürich"));
}

TEST(Profile, WritingUpdatesInPlaceAndKeepsTheRest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; settings\r\n[A]\r\nkey=1\r\n\r\n[B]\r\nother=2\r\n");
    file.close();

    // Read, set and saved as the program keeps its settings.
    const auto write = [](const char* section, const char* key, const char* value, const QString& at) {
        IniFile ini;
        if (IniFile::Load(at, ini) == IniFile::Unreadable)
            return false;
        ini.SetValue(QLatin1String(section), QLatin1String(key), QLatin1String(value));
        return ini.Save(at);
    };
    ASSERT_TRUE(write("a", "KEY", "5", path));
    ASSERT_TRUE(write("A", "new", "6", path));
    ASSERT_TRUE(write("C", "k", "7", path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("; settings\r\n[A]\r\nKEY=5\r\nnew=6\r\n\r\n[B]\r\nother=2\r\n[C]\r\nk=7\r\n"));
    // The file keeps the permissions it had; a new one is the user's alone.
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path, shared));
    ASSERT_TRUE(write("C", "k", "8", path));
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), shared);
    const QString fresh = dir.filePath(QStringLiteral("new.ini"));
    ASSERT_TRUE(write("A", "k", "1", fresh));
    EXPECT_EQ(QFile::permissions(fresh) & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup), 0);
}

} // namespace
