#include "ui/entry_rules.h"

#include "controls/edit_limit.h"
#include "common/text_codec.h"
#include "platform/atoi.h"
#include "platform/string_table.h"

namespace dh1 {

namespace entryrules {

int UnitLimit(const QString& text, int units, int wide)
{
    const qsizetype count = text.size() + text.count(u'\n');
    return count >= units ? 2 : wide;
}

QDate FirstScheduleDate()
{
    return QDate(2000, 1, 1);
}

QDate LastScheduleDate()
{
    return QDate(2099, 12, 31);
}

COleDateTime ComposeStart(const QDate& date, const QTime& time)
{
    return COleDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), 0);
}

int SmsTextLimit(const QString& text)
{
    return common::IsGsmEncodable(text) ? kSmsTextLimit : kSmsWideTextLimit;
}

int SmsNumberLimit(const QString& number)
{
    return number.startsWith(u'+') ? 21 : 20;
}

bool IsValidMessageReference(const QString& text)
{
    const int reference = platform::Atoi(text);
    return reference >= 0 && reference <= 255;
}

QString SmsLengthLabel(const QString& text)
{
    const int bytes = editlimit::TextWidth(text, true);
    if (bytes == 0)
        return {};
    return platform::LoadString(64181).replace(QStringLiteral("%d"), QString::number(bytes));
}

} // namespace entryrules

} // namespace dh1
