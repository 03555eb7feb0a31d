#include "common/help_file.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpFileName, FollowsTheSystemLanguage)
{
    const struct {
        int language;
        const char* name;
    } cases[] = {
        {platform::LANG_GERMAN, "help_de.html"},   {platform::LANG_SPANISH, "help_es.html"},
        {platform::LANG_FRENCH, "help_fr.html"},   {platform::LANG_ITALIAN, "help_it.html"},
        {platform::LANG_KOREAN, "help_en.html"},   {platform::LANG_RUSSIAN, "help_ru.html"},
        {platform::LANG_CHINESE_SIMPLIFIED, "help_cn.html"}, {1043, "help_en.html"},
    };
    for (const auto& c : cases) {
        platform::ScopedLanguage language(c.language);
        EXPECT_EQ(common::GetHelpFileName(), QLatin1String(c.name)) << c.language;
    }
}

} // namespace
