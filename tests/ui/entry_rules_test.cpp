#include "ui/entry_rules.h"

#include "platform/string_table.h"

#include <gtest/gtest.h>

using namespace dh1;

namespace {

TEST(EntryRules, TypingLimitsOfSubjectsMemosAndMessages)
{
    using namespace entryrules;
    const struct {
        QString text;
        int subject; // limit of a schedule subject holding the text
        int memo;
        int sms;
    } rows[] = {
        {{}, 60, 80, 480},
        {QString(29, u'a'), 60, 80, 480},
        {QString(30, u'a'), 2, 80, 480},
        {QString(30, u'中'), 2, 80, 240},
        {QString(39, u'a'), 2, 80, 480},
        {QString(38, u'a') + "\n", 2, 2, 480}, // the line break counts as CR LF
        {QString(40, u'a'), 2, 2, 480},
        {QStringLiteral("€uro"), 60, 80, 480}, // in the GSM alphabet's extension table
    };
    for (const auto& row : rows) {
        EXPECT_EQ(UnitLimit(row.text, kSubjectUnits, kSubjectWide), row.subject) << row.text.size();
        EXPECT_EQ(UnitLimit(row.text, kMemoUnits, kMemoWide), row.memo) << row.text.size();
        EXPECT_EQ(SmsTextLimit(row.text), row.sms) << row.text.size();
    }
}

TEST(EntryRules, MessageNumbersReferencesAndLengths)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    using namespace entryrules;
    EXPECT_EQ(SmsNumberLimit("+4930"), 21);
    EXPECT_EQ(SmsNumberLimit("030"), 20);
    EXPECT_EQ(SmsNumberLimit(""), 20);
    const struct {
        const char* reference;
        bool valid;
    } references[] = {{"0", true}, {"255", true}, {" 12", true}, {"7x", true}, {"", true}, {"abc", true},
                      {"256", false}, {"-1", false}, {"99999999999", false}};
    for (const auto& row : references)
        EXPECT_EQ(IsValidMessageReference(row.reference), row.valid) << row.reference;
    EXPECT_EQ(SmsLengthLabel(""), "");
    EXPECT_EQ(SmsLengthLabel("Hi"), " 2 Characters in the message");
    EXPECT_EQ(SmsLengthLabel(QStringLiteral("中\n")), " 4 Characters in the message");
}

TEST(EntryRules, ScheduleStartsKeepToTheCenturyWithoutSeconds)
{
    using namespace entryrules;
    EXPECT_EQ(FirstScheduleDate(), QDate(2000, 1, 1));
    EXPECT_EQ(LastScheduleDate(), QDate(2099, 12, 31));
    EXPECT_EQ(ComposeStart(QDate(2004, 3, 7), QTime(9, 5, 42)), COleDateTime(2004, 3, 7, 9, 5, 0));
    EXPECT_NE(ComposeStart(QDate(), QTime(9, 5)).GetStatus(), COleDateTime::valid);
}

} // namespace
