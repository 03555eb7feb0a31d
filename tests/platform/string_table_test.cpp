#include "platform/string_table.h"

#include "support/string_tables_check.h"

#include <gtest/gtest.h>

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

TEST(StringTable, TablesAreWellFormed)
{
    testsupport::ExpectWellFormedStringTables();
}

} // namespace
