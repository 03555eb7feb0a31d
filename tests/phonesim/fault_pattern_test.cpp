#include "phonesim/fault.h"

#include <gtest/gtest.h>

namespace {

using phonesim::Fault;

TEST(FaultSpec, ParsesEveryKind)
{
    const struct {
        const char* spec;
        const char* pattern;
        Fault::Kind kind;
        const char* text;
        int size;
        int delayMs;
    } cases[] = {
        {"silence@AT+SYNCSTART", "AT+SYNCSTART", Fault::Kind::Silence, "", 0, 0},
        {"error@AT", "AT", Fault::Kind::Reply, "\r\nERROR\r\n", 0, 0},
        {"cme:21@AT+CPBW=*", "AT+CPBW=*", Fault::Kind::Reply, "\r\n+CME ERROR: 21\r\n", 0, 0},
        {"cms:500@AT+CMGL=4", "AT+CMGL=4", Fault::Kind::Reply, "\r\n+CMS ERROR: 500\r\n", 0, 0},
        {"ext:14@AT+CPBR=?", "AT+CPBR=?", Fault::Kind::Reply, "\r\n+EXT ERROR: 14\r\n", 0, 0},
        {"reply:\\r\\n+X: a\\x3ab\\r\\n@AT+X", "AT+X", Fault::Kind::Reply, "\r\n+X: a:b\r\n", 0, 0},
        {"ring@AT", "AT", Fault::Kind::Ring, "", 0, 500},
        {"ring:1500@AT", "AT", Fault::Kind::Ring, "", 0, 1500},
        {"split:4@AT", "AT", Fault::Kind::Split, "", 4, 100},
        {"split:4:250@AT", "AT", Fault::Kind::Split, "", 4, 250},
        {"delay:900@AT", "AT", Fault::Kind::Delay, "", 0, 900},
        {"stream:30:+L\\r\\n@AT+S", "AT+S", Fault::Kind::Stream, "+L\r\n", 0, 30},
        {"close@ATE1", "ATE1", Fault::Kind::CloseLine, "", 0, 0},
        {"before:\\r\\n+CREG: 1\\r\\n@AT+CPBW=*", "AT+CPBW=*", Fault::Kind::Before, "\r\n+CREG: 1\r\n", 0, 0},
        {"amid:+CMTI: \"SM\",5\r\n@AT+CPBR=*", "AT+CPBR=*", Fault::Kind::Amid, "+CMTI: \"SM\",5\r\n", 0, 0},
        {"latefinal@AT+CPBR=*", "AT+CPBR=*", Fault::Kind::LateFinal, "", 0, 2000},
        {"latefinal:2500@AT+CPBR=*", "AT+CPBR=*", Fault::Kind::LateFinal, "", 0, 2500},
        {"lost@>*", ">*", Fault::Kind::Lost, "", 0, 0},
        {"lostclose@AT+CPBW=*", "AT+CPBW=*", Fault::Kind::LostThenClose, "", 0, 0},
    };
    for (const auto& c : cases) {
        QByteArray pattern;
        Fault fault;
        QString error;
        ASSERT_TRUE(phonesim::ParseFaultSpec(QString::fromLatin1(c.spec), &pattern, &fault, &error)) << c.spec << error.toStdString();
        EXPECT_EQ(pattern, QByteArray(c.pattern)) << c.spec;
        EXPECT_EQ(fault.kind, c.kind) << c.spec;
        EXPECT_EQ(fault.text, QByteArray(c.text)) << c.spec;
        EXPECT_EQ(fault.size, c.size) << c.spec;
        EXPECT_EQ(fault.delayMs, c.delayMs) << c.spec;
    }
    QByteArray pattern;
    Fault fault;
    QString error;
    for (const char* bad : {"silence", "@AT", "silence@", "cme@AT", "split@AT", "split:0@AT", "stream:0@AT", "boom@AT", "delay:x@AT", "before@AT", "before:@AT", "amid@AT", "amid:@AT", "latefinal:x@AT"})
        EXPECT_FALSE(phonesim::ParseFaultSpec(QString::fromLatin1(bad), &pattern, &fault, &error)) << bad;
}

TEST(FaultSpec, PatternsMatchWithoutCaseAndByPrefix)
{
    phonesim::FaultPlan plan;
    plan.add("AT+CPBR=*", Fault::error(), 2);
    plan.add("AT", Fault::silence());
    EXPECT_FALSE(plan.take("AT+CPBS?"));
    EXPECT_TRUE(plan.take("at+cpbr=1,10"));
    EXPECT_TRUE(plan.take("AT+CPBR=?"));
    EXPECT_FALSE(plan.take("AT+CPBR=1,10"));
    EXPECT_TRUE(plan.take("at"));
    EXPECT_TRUE(plan.take("AT"));
    EXPECT_FALSE(plan.take("ATE0"));
}

TEST(FaultSpec, EscapesRoundTrip)
{
    const QByteArray bytes("AT\r\n\x1b\x1a\\ok\x7f", 10);
    EXPECT_EQ(phonesim::EscapeBytes(bytes), QByteArray("AT\\r\\n\\x1b\\x1a\\\\ok\\x7f"));
    EXPECT_EQ(phonesim::UnescapeBytes(phonesim::EscapeBytes(bytes)), bytes);
    EXPECT_EQ(phonesim::UnescapeBytes("\\x4"), QByteArray("\\x4"));
    EXPECT_EQ(phonesim::UnescapeBytes("end\\"), QByteArray("end\\"));
}

} // namespace
