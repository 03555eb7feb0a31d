#include "link/app_utils.h"

#include "platform/string_table.h"

#include <gtest/gtest.h>

using namespace dh1;

namespace {

// What a number field of Deskhand takes: a '+' only first (after what is dropped before it).
TEST(CleanPhoneNumber, KeepsDigitsLeadingPlusAndPauses)
{
    const struct {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"", u""},
        {u"+49 (30) 123-45", u"+493012345"},
        {u"030+123", u"030123"},
        {u" +1", u"+1"},
        {u"(+49) 30", u"+4930"},
        {u"12p34P5", u"12p34P5"},
        {u"++1", u"+1"},
        {u"abc#*", u"#*"},
        {u"*31#0171", u"*31#0171"},
        {u"１２３", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanPhoneNumber(QString::fromUtf16(c.in)), QString::fromUtf16(c.out));
}

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
        QString name = QStringLiteral("stale");
        GetHelpFileName(name);
        EXPECT_EQ(name, QLatin1String(c.name)) << c.language;
    }
}

} // namespace
