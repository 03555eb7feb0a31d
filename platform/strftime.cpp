#include "platform/strftime.h"

namespace platform {

namespace {

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March", "April", "May", "June", "July",
                                   "August", "September", "October", "November", "December"};

QString number(int value, int width, bool dropZeros)
{
    return dropZeros ? QString::number(value) : QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

QString FormatDateTime(QStringView format, QDate date, QTime time)
{
    QString out;
    const int weekday = date.dayOfWeek() % 7; // 0 = Sunday
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        qsizetype j = i + 1;
        const bool dropZeros = format[j] == u'#';
        if (dropZeros && j + 1 < format.size())
            ++j;
        const char16_t conversion = format[j].unicode();
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        switch (conversion) {
        case u'a': out += QString::fromLatin1(kDayNames[weekday]).left(3); break;
        case u'A': out += QString::fromLatin1(kDayNames[weekday]); break;
        case u'b': out += QString::fromLatin1(kMonthNames[date.month() - 1]).left(3); break;
        case u'B': out += QString::fromLatin1(kMonthNames[date.month() - 1]); break;
        case u'c': out += FormatDateTime(u"%m/%d/%y %H:%M:%S", date, time); break;
        case u'd': out += number(date.day(), 2, dropZeros); break;
        case u'H': out += number(time.hour(), 2, dropZeros); break;
        case u'I': out += number(hour12, 2, dropZeros); break;
        case u'j': out += number(date.dayOfYear(), 3, dropZeros); break;
        case u'm': out += number(date.month(), 2, dropZeros); break;
        case u'M': out += number(time.minute(), 2, dropZeros); break;
        case u'p': out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"); break;
        case u'S': out += number(time.second(), 2, dropZeros); break;
        case u'w': out += QString::number(weekday); break;
        case u'x': out += FormatDateTime(u"%m/%d/%y", date, time); break;
        case u'X': out += FormatDateTime(u"%H:%M:%S", date, time); break;
        case u'y': out += number(date.year() % 100, 2, dropZeros); break;
        case u'Y': out += QString::number(date.year()); break;
        case u'%': out += u'%'; break;
        default: out += format.mid(i, j - i + 1).toString(); break;
        }
        i = j;
    }
    return out;
}

} // namespace platform
