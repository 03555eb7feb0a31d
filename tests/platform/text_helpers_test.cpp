#include "platform/ansi_codepage.h"
#include "platform/ansi_width.h"
#include "platform/atoi.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using platform::ansiLeft;
using platform::ansiWidth;
using platform::Atoi;

TEST(AnsiWidth, CountsDoubleByteCharactersTwice)
{
    EXPECT_EQ(ansiWidth(u"abc"), 3);
    EXPECT_EQ(ansiWidth(u"Zoë"), 3);
    EXPECT_EQ(ansiWidth(u"张三"), 4);
    EXPECT_EQ(ansiWidth(u"a\U0001F600"), 3);
    EXPECT_EQ(ansiWidth(u"€"), 2);
}

TEST(AnsiWidth, LeftNeverSplitsACharacter)
{
    EXPECT_EQ(ansiLeft(QStringLiteral("张三李四"), 5), QStringLiteral("张三"));
    EXPECT_EQ(ansiLeft(QStringLiteral("张三李四"), 4), QStringLiteral("张三"));
    EXPECT_EQ(ansiLeft(QStringLiteral("ab张"), 3), QStringLiteral("ab"));
    EXPECT_EQ(ansiLeft(QStringLiteral("àéîõü"), 3), QStringLiteral("àéî"));
    EXPECT_EQ(ansiLeft(QStringLiteral("x\U0001F600y"), 2), QStringLiteral("x"));
    EXPECT_EQ(ansiLeft(QStringLiteral("x\U0001F600y"), 3), QStringLiteral("x\U0001F600"));
    EXPECT_EQ(ansiLeft(QStringLiteral("short"), 30), QStringLiteral("short"));
    EXPECT_EQ(ansiLeft(QStringLiteral("abc"), 0), QString());
    EXPECT_EQ(ansiLeft(QStringLiteral("abc"), -1), QString());
}

TEST(Atoi, BehavesLikeTheCLibrary)
{
    EXPECT_EQ(Atoi(u"42"), 42);
    EXPECT_EQ(Atoi(u"  \t-17abc"), -17);
    EXPECT_EQ(Atoi(u"+8"), 8);
    EXPECT_EQ(Atoi(u"abc"), 0);
    EXPECT_EQ(Atoi(u""), 0);
    EXPECT_EQ(Atoi(u"- 5"), 0);
    EXPECT_EQ(Atoi(u"12 34"), 12);
    EXPECT_EQ(Atoi(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(Atoi(u"-99999999999999999999"), INT_MIN);
    EXPECT_EQ(Atoi(u"-2147483648"), INT_MIN);
    EXPECT_EQ(Atoi(QByteArray("\xff" "7")), 0);
    EXPECT_EQ(Atoi(QByteArray(" 0145")), 145);
}

TEST(Charsets, RoundTripAndReplacement)
{
    EXPECT_EQ(platform::EncodeCharset(QStringLiteral("café €"), "CP1252"), QByteArray("caf\xe9 \x80"));
    EXPECT_EQ(platform::DecodeCharset(QByteArray("caf\xe9 \x80"), "CP1252"), QStringLiteral("café €"));
    EXPECT_EQ(platform::EncodeCharset(QStringLiteral("a中b"), "CP1252"), QByteArray("a?b"));
    EXPECT_EQ(platform::EncodeCharset(QStringLiteral("中文"), "GBK"), QByteArray("\xd6\xd0\xce\xc4"));
    // A truncated double-byte sequence becomes one replacement character.
    EXPECT_EQ(platform::DecodeCharset(QByteArray("a\xd6"), "GBK"), QStringLiteral("a\uFFFD"));
    const QString text = QStringLiteral("Ünïcode 张");
    EXPECT_EQ(platform::FromAnsi(platform::ToAnsi(text)), text);
}

} // namespace
