#pragma once

// Schedule files as spreadsheets write them back in the user's locale, with the starts both
// documents must read from them; and starts that our own export must carry through a file.
#include "platform/ole_date_time.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <ostream>

// Failures name the start rather than its bytes.
inline void PrintTo(const COleDateTime& start, std::ostream* os)
{
    *os << start.Format(u"%Y-%m-%d %H:%M:%S").toStdString();
}

namespace testsupport {

struct DatedCsvFile {
    const char* writer;
    const char* locale;
    QByteArray bytes;
    QList<COleDateTime> starts; // of the rows kept, in file order
    QString warning;            // the box about rows left out; empty for none
};

inline QList<DatedCsvFile> SpreadsheetScheduleFiles()
{
    const COleDateTime may1(2024, 5, 1, 10, 0, 0);
    const COleDateTime yearEnd(2024, 12, 31, 23, 59, 59);
    const COleDateTime yearEndMinute(2024, 12, 31, 23, 59, 0);
    return {
        {"LibreOffice", "en_US",
         "Subject,Date and Time,Repeat,Alarm\nDentist,05/01/2024 10:00:00,Daily,OnTime\nYear end,12/31/2024 23:59:59,No "
         "Repeat,No alarm\n",
         {may1, yearEnd}, {}},
        {"LibreOffice, two-digit years", "en_US",
         "Subject,Date and Time,Repeat,Alarm\nDentist,05/01/24 10:00 AM,Daily,OnTime\nYear end,12/31/24 11:59 PM,,\n",
         {may1, yearEndMinute}, {}},
        {"Gnumeric", "en_US",
         "Subject,\"Date and Time\",Repeat,Alarm\nDentist,\"5/1/2024 10:00\",Daily,OnTime\n\"Year end\",\"12/31/2024 "
         "23:59:59\",\"No Repeat\",\"No alarm\"\n",
         {may1, yearEnd}, {}},
        {"LibreOffice", "de_DE",
         "Subject,Date and Time,Repeat,Alarm\nDentist,01.05.24 10:00,Daily,OnTime\nYear end,31.12.24 23:59,,\n",
         {may1, yearEndMinute}, {}},
        {"Gnumeric", "de_DE",
         "Subject,\"Date and Time\",Repeat,Alarm\nDentist,\"01.05.2024 10:00\",Daily,OnTime\n\"Year end\",\"31.12.2024 "
         "23:59:59\",,\n",
         {may1, yearEnd}, {}},
        {"LibreOffice", "en_GB",
         "Subject,Date and Time,Repeat,Alarm\r\nDentist,01/05/2024 10:00:00,Daily,OnTime\r\nYear end,31/12/2024 "
         "23:59:59,,\r\n",
         {may1, yearEnd}, {}},
        {"a hand-edited file with dates of another locale", "en_US",
         "Subject,Date and Time,Repeat,Alarm\nDentist,05/01/2024 10:00:00,Daily,OnTime\nParty,01.05.24 "
         "20:00,,\nLater,someday,,\nYear end,12/31/2024 23:59:59,,\n",
         {may1, yearEnd},
         QStringLiteral("2 rows were left out because their date could not be read. The first is row 3: \"01.05.24 20:00\".")},
    };
}

// Files none of whose dates reads in the locale: refused, the list stays.
inline QList<DatedCsvFile> UnreadableScheduleFiles()
{
    return {
        {"LibreOffice de_DE read under en_US", "en_US",
         "Subject,Date and Time,Repeat,Alarm\nDentist,01.05.24 10:00,Daily,OnTime\nParty,02.05.24 20:00,,\n", {}, {}},
        {"month first read under en_GB", "en_GB", "Subject,Date and Time,Repeat,Alarm\nYear end,12/31/2024 23:59:59,,\n", {}, {}},
        {"no dates", "C", "Subject,Date and Time,Repeat,Alarm\nA,someday,,\nB,,,\n", {}, {}},
    };
}

// The locales whose export must read back, and the starts it must carry, one in the hour that
// the change to summer time skips in Europe/Berlin.
inline const char* const kRoundTripLocales[] = {"C", "en_US", "en_GB", "de_DE", "fr_FR", "zh_CN"};
inline QList<COleDateTime> RoundTripStarts()
{
    return {COleDateTime(2024, 5, 1, 10, 0, 0), COleDateTime(2024, 12, 31, 23, 59, 59), COleDateTime(2024, 3, 31, 2, 30, 0),
            COleDateTime(2025, 1, 2, 0, 0, 0), COleDateTime(1999, 7, 4, 12, 5, 0)};
}

} // namespace testsupport
