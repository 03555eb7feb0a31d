// Starts as users, spreadsheets and our own export write them, read in the user's locale.
#include "platform/ole_date_time.h"

#include "support/scoped_locale.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    int year, month, day, hour, minute, second;
};
constexpr Expected kUnreadable{0, 0, 0, 0, 0, 0};

TEST(DateTimeText, StartsReadInTheLocalesOrder)
{
    const struct {
        const char* locale;
        const char* text;
        Expected start;
    } rows[] = {
        // Month first: our own export, a spreadsheet's resave, a two-digit year, AM/PM.
        {"en_US", "5/1/2024 10:00:00 AM", {2024, 5, 1, 10, 0, 0}},
        {"en_US", "05/01/2024 10:00:00", {2024, 5, 1, 10, 0, 0}},
        {"en_US", "12/31/2024 23:59:59", {2024, 12, 31, 23, 59, 59}},
        {"en_US", "05/01/24 10:00 AM", {2024, 5, 1, 10, 0, 0}},
        {"en_US", "5/1/2024 10:00 PM", {2024, 5, 1, 22, 0, 0}},
        {"en_US", "12/31/99 12:30 am", {1999, 12, 31, 0, 30, 0}},
        {"en_US", "1/2/29 12:00 p.m.", {2029, 1, 2, 12, 0, 0}},
        {"en_US", "1/2/30 12:00 PM", {1930, 1, 2, 12, 0, 0}},
        {"en_US", "5/1/2024", {2024, 5, 1, 0, 0, 0}},
        {"en_US", "10:30:00 AM", {1899, 12, 30, 10, 30, 0}},
        {"en_US", "2024-05-01 10:00:00", {2024, 5, 1, 10, 0, 0}},
        {"en_US", "2024-05-01T10:00", {2024, 5, 1, 10, 0, 0}},
        {"en_US", "  5/1/2024\t10:00  ", {2024, 5, 1, 10, 0, 0}},
        {"en_US", "01.05.24 10:00", kUnreadable}, // the dots of another locale
        {"en_US", "13/01/2024 10:00", kUnreadable},
        {"en_US", "5/1/2024 13:00 PM", kUnreadable},
        {"en_US", "5/1/2024 10:00 AM PM", kUnreadable},
        {"en_US", "2/30/2024", kUnreadable},
        // Day first.
        {"en_GB", "01/05/2024 10:00:00", {2024, 5, 1, 10, 0, 0}},
        {"en_GB", "31/12/2024 23:59", {2024, 12, 31, 23, 59, 0}},
        {"en_GB", "01/05/24 10:00 pm", {2024, 5, 1, 22, 0, 0}},
        {"en_GB", "12/31/2024 23:59", kUnreadable},
        {"de_DE", "01.05.24 10:00", {2024, 5, 1, 10, 0, 0}},
        {"de_DE", "31.12.2024 23:59:59", {2024, 12, 31, 23, 59, 59}},
        {"de_DE", "1.5.2024", {2024, 5, 1, 0, 0, 0}},
        {"de_DE", "2024-05-01 10:00", {2024, 5, 1, 10, 0, 0}},
        {"de_DE", "05/01/2024 10:00", kUnreadable},
        // Year first, with the locale's words for the half of the day.
        {"zh_CN", "2024/5/1 10:00:00", {2024, 5, 1, 10, 0, 0}},
        {"zh_CN", "2024/5/1 下午3:00", {2024, 5, 1, 15, 0, 0}},
        // Month names, as our export writes them where the locale's date has them.
        {"C", "1 May 2024 10:00:00", {2024, 5, 1, 10, 0, 0}},
        {"C", "not a date", kUnreadable},
        {"C", "", kUnreadable},
        {"C", "24:00", kUnreadable},
    };
    for (const auto& row : rows) {
        testsupport::ScopedLocale locale(row.locale);
        SCOPED_TRACE(std::string(row.locale) + " \"" + row.text + '"');
        COleDateTime start;
        const bool read = start.ParseDateTime(QString::fromUtf8(row.text));
        if (row.start.year == 0) {
            EXPECT_FALSE(read);
            EXPECT_EQ(start.GetStatus(), COleDateTime::invalid);
            continue;
        }
        ASSERT_TRUE(read);
        const Expected& e = row.start;
        EXPECT_EQ(start, COleDateTime(e.year, e.month, e.day, e.hour, e.minute, e.second)) << start.Format(u"%Y-%m-%d %H:%M:%S").toStdString();
    }
}

// Whatever the export writes reads back to the same wall-clock moment, a time that the
// daylight-saving change skips included.
TEST(DateTimeText, EveryLocalesExportReadsBack)
{
    const char* const locales[] = {"C", "en_US", "en_GB", "en_CA", "de_DE", "fr_FR", "nl_NL", "ru_RU", "fi_FI",
                                   "hu_HU", "es_US", "zh_CN", "ja_JP", "ko_KR"};
    const COleDateTime starts[] = {
        COleDateTime(2024, 5, 1, 10, 0, 0),   COleDateTime(2024, 12, 31, 23, 59, 59), COleDateTime(2024, 1, 2, 0, 0, 0),
        COleDateTime(1999, 7, 4, 12, 0, 0),   COleDateTime(2030, 2, 3, 0, 30, 5),    COleDateTime(1899, 12, 30, 10, 30, 0),
        COleDateTime(2024, 3, 31, 2, 30, 0), // inside the gap in Europe/Berlin
    };
    for (const char* name : locales) {
        testsupport::ScopedLocale locale(name, "Europe/Berlin");
        for (const COleDateTime& start : starts) {
            const QString text = start.Format();
            SCOPED_TRACE(std::string(name) + " \"" + text.toStdString() + '"');
            COleDateTime read;
            ASSERT_TRUE(read.ParseDateTime(text));
            EXPECT_EQ(read, start);
        }
    }
}

} // namespace
