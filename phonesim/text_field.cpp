#include "phonesim/text_field.h"

#include "phonesim/gsm_alphabet.h"

namespace phonesim {

namespace {

bool IsBase64(const QByteArray& charset)
{
    return charset.compare("Base64", Qt::CaseInsensitive) == 0 || charset.compare("SYNC", Qt::CaseInsensitive) == 0;
}

bool IsGsm(const QByteArray& charset)
{
    return charset.compare("GSM", Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray EncodeTextField(const QString& text, const QByteArray& charset)
{
    if (IsGsm(charset))
        return ToGsmCodes(QString(text).replace(u'"', u'?'));
    if (!IsBase64(charset)) {
        QByteArray ascii;
        for (const QChar c : text)
            ascii += c.unicode() < 0x80 && c != u'"' ? char(c.unicode()) : '?';
        return ascii;
    }
    if (text.isEmpty())
        return {};
    QByteArray bytes;
    for (const QChar c : text + QChar(0)) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes.toBase64();
}

std::optional<QString> DecodeTextField(const QByteArray& field, const QByteArray& charset)
{
    if (IsGsm(charset))
        return FromGsmCodes(field);
    if (!IsBase64(charset))
        return QString::fromLatin1(field);
    const auto decoded = QByteArray::fromBase64Encoding(field, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() % 2 != 0)
        return std::nullopt;
    QString text;
    for (qsizetype i = 0; i + 1 < decoded.decoded.size(); i += 2) {
        const char16_t unit = char16_t(quint8(decoded.decoded[i]) | quint8(decoded.decoded[i + 1]) << 8);
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return text;
}

} // namespace phonesim
