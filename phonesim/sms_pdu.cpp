#include "phonesim/sms_pdu.h"

#include <optional>

namespace phonesim {

namespace {

// The GSM code of a character that needs no escape and no table beyond ASCII.
std::optional<quint8> SimpleGsmCode(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
        return quint8(u);
    switch (u) {
    case u'@': return 0;
    case u'$': return 2;
    case u'\n': return 10;
    case u'\r': return 13;
    case u'_': return 17;
    default: break;
    }
    if (QByteArrayView(" !\"#%&'()*+,-./:;<=>?").contains(char(u)) && u < 0x80)
        return quint8(u);
    return std::nullopt;
}

QByteArray Hex(int octet)
{
    return QByteArray::number(octet & 0xFF, 16).rightJustified(2, '0').toUpper();
}

// Two decimal digits, low digit first, as PDUs carry them.
QByteArray SwappedDigits(int value)
{
    return QByteArray::number(value % 10) + QByteArray::number(value / 10 % 10);
}

QByteArray Address(const QString& number)
{
    QByteArray digits;
    for (const QChar c : number) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits += char(c.unicode());
    }
    const int type = number.startsWith(u'+') ? 0x91 : 0x81;
    QByteArray swapped;
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        swapped += i + 1 < digits.size() ? digits[i + 1] : 'F';
        swapped += digits[i];
    }
    return Hex(int(digits.size())) + Hex(type) + swapped;
}

// Coding scheme, length and user data.
QByteArray UserData(const QString& text)
{
    QByteArray septets;
    for (const QChar c : text) {
        const std::optional<quint8> code = SimpleGsmCode(c);
        if (!code) {
            septets.clear();
            break;
        }
        septets += char(*code);
    }
    if (septets.size() == text.size()) {
        QByteArray packed;
        int bits = 0;
        int accumulator = 0;
        for (const char septet : septets) {
            accumulator |= (septet & 0x7F) << bits;
            bits += 7;
            while (bits >= 8) {
                packed += Hex(accumulator);
                accumulator >>= 8;
                bits -= 8;
            }
        }
        if (bits > 0)
            packed += Hex(accumulator);
        return "00" + Hex(int(septets.size())) + packed;
    }
    const QString limited = text.left(70);
    QByteArray ucs2;
    for (const QChar c : limited)
        ucs2 += Hex(c.unicode() >> 8) + Hex(c.unicode());
    return "08" + Hex(int(limited.size() * 2)) + ucs2;
}

} // namespace

QByteArray MakeDeliverPdu(const QString& number, const QString& text, const QDateTime& time)
{
    const QDateTime t = time.isValid() ? time : QDateTime(QDate(2004, 1, 1), QTime(12, 0));
    const QByteArray timestamp = SwappedDigits(t.date().year() % 100) + SwappedDigits(t.date().month())
        + SwappedDigits(t.date().day()) + SwappedDigits(t.time().hour()) + SwappedDigits(t.time().minute())
        + SwappedDigits(t.time().second()) + "00";
    return "00" "04" + Address(number) + "00" + UserData(text).left(2) + timestamp + UserData(text).mid(2);
}

QByteArray MakeSubmitPdu(const QString& number, const QString& text)
{
    return "00" "01" "00" + Address(number) + "00" + UserData(text);
}

int TpduLength(const QByteArray& pduHex)
{
    if (pduHex.size() < 2 || pduHex.size() % 2 != 0)
        return -1;
    bool ok = false;
    const int smscLength = pduHex.left(2).toInt(&ok, 16);
    const int octets = int(pduHex.size() / 2);
    if (!ok || octets < 1 + smscLength)
        return -1;
    return octets - 1 - smscLength;
}

} // namespace phonesim
