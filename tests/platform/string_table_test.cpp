#include "platform/string_table.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(StringTable, EnglishAndChineseWithFallback)
{
    {
        platform::ScopedLanguage english(platform::LANG_ENGLISH_US);
        EXPECT_EQ(platform::LoadString(62009), QStringLiteral("Timeout"));
    }
    {
        platform::ScopedLanguage chinese(platform::LANG_CHINESE_SIMPLIFIED);
        EXPECT_EQ(platform::LoadString(62009), QStringLiteral("超时"));
        EXPECT_TRUE(platform::IsChineseSystem());
    }
    EXPECT_TRUE(platform::LoadString(1).isEmpty());
    EXPECT_FALSE(platform::HasString(1));
}

// Every table line is well formed and no id is defined twice across the tables.
TEST(StringTable, TablesAreWellFormed)
{
    std::set<int> seen;
    const QDir dir(QStringLiteral(":/strings"));
    for (const QString& name : dir.entryList({QStringLiteral("*.tsv")})) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        int lineNo = 0;
        for (const QByteArray& line : file.readAll().split('\n')) {
            ++lineNo;
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> fields = line.split('\t');
            bool ok = false;
            const int id = fields[0].toInt(&ok);
            EXPECT_TRUE(ok && fields.size() >= 2 && fields.size() <= 3) << name.toStdString() << ':' << lineNo;
            EXPECT_TRUE(seen.insert(id).second) << "duplicate id " << id << " in " << name.toStdString();
        }
    }
    EXPECT_FALSE(seen.empty());
}

} // namespace
