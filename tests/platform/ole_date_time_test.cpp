#include "platform/c_time.h"
#include "platform/ole_date_time.h"

#include <gtest/gtest.h>

namespace {

TEST(OleDateTime, DaysCountFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_DOUBLE_EQ(COleDateTime(1900, 1, 1, 12, 0, 0).m_dt, 2.5);
    EXPECT_DOUBLE_EQ(COleDateTime(2000, 1, 1, 0, 0, 0).m_dt, 36526.0);
    EXPECT_DOUBLE_EQ(COleDateTime(2004, 12, 31, 18, 0, 0).m_dt, 38352.75);
}

TEST(OleDateTime, NegativeDaysCarryAPositiveFraction)
{
    const COleDateTime before(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(before.m_dt, -1.25);
    EXPECT_EQ(before.GetDay(), 29);
    EXPECT_EQ(before.GetHour(), 6);

    const COleDateTime fromValue(-1.75);
    EXPECT_EQ(fromValue.GetYear(), 1899);
    EXPECT_EQ(fromValue.GetDay(), 29);
    EXPECT_EQ(fromValue.GetHour(), 18);
    // Ordering follows time, not the raw value.
    EXPECT_LT(COleDateTime(-1.25), COleDateTime(-1.75));
    EXPECT_LT(COleDateTime(-1.75), COleDateTime(0.0));
}

TEST(OleDateTime, RoundsToWholeSeconds)
{
    const double almostMidnight = 38352.0 + (86400.0 - 0.4) / 86400.0;
    const COleDateTime rounded(almostMidnight);
    EXPECT_EQ(rounded.GetDay(), 1);
    EXPECT_EQ(rounded.GetMonth(), 1);
    EXPECT_EQ(rounded.GetYear(), 2005);
    EXPECT_EQ(rounded.GetHour(), 0);

    const COleDateTime halfSecond(38352.0 + 1.6 / 86400.0);
    EXPECT_EQ(halfSecond.GetSecond(), 2);
}

TEST(OleDateTime, StatusAndRange)
{
    COleDateTime date(2004, 2, 30, 0, 0, 0);
    EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(date.GetYear(), -1);
    EXPECT_EQ(date.Format(u"%d/%m/%Y"), QStringLiteral("Invalid DateTime"));
    EXPECT_EQ(date.SetDateTime(2004, 2, 29, 23, 59, 59), 0);
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(date.SetDateTime(99, 1, 1, 0, 0, 0), 1);
    EXPECT_EQ(date.SetDateTime(2004, 1, 1, 24, 0, 0), 1);

    COleDateTime empty;
    empty.SetStatus(COleDateTime::null);
    EXPECT_TRUE(empty.Format(u"%Y").isEmpty());
    EXPECT_EQ(COleDateTime(1e12).GetStatus(), COleDateTime::invalid);
}

TEST(OleDateTime, WeekdayAndFormats)
{
    const COleDateTime sunday(2004, 3, 7, 9, 5, 0);
    EXPECT_EQ(sunday.GetDayOfWeek(), 1);
    EXPECT_EQ(sunday.Format(u"%d/%m/%Y"), QStringLiteral("07/03/2004"));
    EXPECT_EQ(sunday.Format(u"%H:%M"), QStringLiteral("09:05"));
    EXPECT_EQ(sunday.Format(u"%Y,%m,%d,%H,%M,%S"), QStringLiteral("2004,03,07,09,05,00"));
    EXPECT_EQ(sunday.Format(u"%#d.%#m %a %b %p %I %j %y %%"), QStringLiteral("7.3 Sun Mar AM 09 067 04 %"));
    EXPECT_EQ(COleDateTime(2004, 3, 13, 0, 0, 0).GetDayOfWeek(), 7);
}

TEST(OleDateTime, QDateTimeConversionAndArithmetic)
{
    const QDateTime q(QDate(2021, 7, 4), QTime(13, 14, 15));
    const COleDateTime date = COleDateTime::FromQDateTime(q);
    EXPECT_EQ(date.ToQDateTime(), q);
    EXPECT_EQ(date + COleDateTimeSpan(1, 12, 0, 0), COleDateTime(2021, 7, 6, 1, 14, 15));
    EXPECT_EQ(date - COleDateTimeSpan(0, 0, 15, 0), COleDateTime(2021, 7, 4, 12, 59, 15));
    EXPECT_DOUBLE_EQ((COleDateTime(2021, 7, 5, 0, 0, 0) - COleDateTime(2021, 7, 4, 0, 0, 0)).GetTotalDays(), 1.0);
    // Crossing the epoch backwards.
    EXPECT_EQ(COleDateTime(1899, 12, 30, 3, 0, 0) - COleDateTimeSpan(0, 6, 0, 0), COleDateTime(1899, 12, 29, 21, 0, 0));
    EXPECT_FALSE(COleDateTime::FromQDateTime(QDateTime()).GetStatus() == COleDateTime::valid);
}

TEST(OleDateTime, LocaleFormatReadsBack)
{
    for (const COleDateTime& date : {COleDateTime(2004, 12, 31, 23, 59, 0), COleDateTime(1999, 1, 2, 0, 0, 0),
                                     COleDateTime(2030, 6, 15, 7, 8, 9)}) {
        COleDateTime parsed;
        ASSERT_TRUE(parsed.ParseDateTime(date.Format())) << date.Format().toStdString();
        EXPECT_EQ(parsed, date) << date.Format().toStdString();
    }
    COleDateTime parsed;
    EXPECT_TRUE(parsed.ParseDateTime(QStringLiteral("2005-01-02 03:04:05")));
    EXPECT_EQ(parsed, COleDateTime(2005, 1, 2, 3, 4, 5));
    EXPECT_FALSE(parsed.ParseDateTime(QStringLiteral("soon")));
    EXPECT_EQ(parsed.GetStatus(), COleDateTime::invalid);
}

TEST(CTime, CivilArithmetic)
{
    const CTime first(2002, 3, 1);
    const CTime previous = first - CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(previous.GetDay(), 28);
    EXPECT_EQ(previous.GetMonth(), 2);
    EXPECT_EQ(previous.GetHour(), 0);
    EXPECT_EQ(CTime(2002, 1, 1).GetDayOfWeek(), 3); // a Tuesday
    EXPECT_EQ((CTime(2002, 1, 2) - CTime(2002, 1, 1)).GetDays(), 1);
    EXPECT_EQ(CTime(1969, 12, 31, 23, 0, 0).Format(u"%Y%m%d %H"), QStringLiteral("19691231 23"));
    EXPECT_FALSE(CTime(2002, 2, 30).IsValid());
}

} // namespace
