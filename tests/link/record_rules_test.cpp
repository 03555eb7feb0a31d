#include "link/record_rules.h"

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

} // namespace
