#include "platform/phone_number.h"

namespace platform {

bool PhoneNumberRule::IsNumberChar(QChar c) const
{
    return (c >= u'0' && c <= u'9') || m_symbols.contains(c);
}

bool PhoneNumberRule::Takes(QChar c, qsizetype position) const
{
    return IsNumberChar(c) && (c != u'+' || position == 0);
}

QString PhoneNumberRule::Clean(QStringView number) const
{
    QString cleaned;
    cleaned.reserve(number.size());
    for (const QChar c : number) {
        if (Takes(c, cleaned.size()))
            cleaned += c;
    }
    return cleaned;
}

} // namespace platform
