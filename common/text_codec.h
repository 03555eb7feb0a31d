#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Text codecs of both phone links: the phones carry text fields as Base64 of little-endian
// UCS-2, and messages use the GSM 7-bit default alphabet. Texts are QStrings, whose UTF-16
// units are the UCS-2 units the phone sees; GSM codes, septets and octets are QByteArrays.
// Every output container holds exactly the result; Qt keeps a zero after its data.
//
// The two phone families read the alphabet's escapes differently; where they do, the functions
// take the family (the first one's rules unless told):
// - first family: "^" and "~" are sent as blanks; a septet escape before 27 gives a blank
//   (both codes read), one before an unknown code U+0000, a lone escape at the end a blank; the
//   codec's own per-character decoding knows no escapes (27 reads as a blank);
// - second family: "^" and "~" are escaped (20, 61) and read back; an escape before 27 gives a
//   blank and also takes the code after the pair; one before an unknown code gives that code's
//   own character; a lone escape at the end ends the text; the codec's own decoding reads the
//   escapes too (17 gives a blank there) and ends at an escape it does not know.

namespace common {

enum class GsmDialect { First, Second };

class CTextCodec
{
public:
    // A Base64 field that decodes to more bytes than this is refused rather than cut.
    static constexpr qsizetype kMaxDecodedTextBytes = 64 * 1024;

    explicit CTextCodec(GsmDialect dialect = GsmDialect::First) : m_dialect(dialect) {}
    virtual ~CTextCodec() = default;

    GsmDialect Dialect() const { return m_dialect; }

    // Base64 of the text's units, low byte first, with a terminating zero unit when the text
    // fits in `limit` units (half the limit when the text is not GSM-encodable); a text cut at
    // the limit goes without terminator and never ends in half a surrogate pair.
    // Returns the length of the Base64 text in `out`; 0 for an empty text.
    int EncodeBase64Text(QString& out, const QString& text, int limit) const;

    // The text of a Base64 field, up to its first zero unit. Returns its length in units.
    // Input that decodes to more than kMaxDecodedTextBytes is refused: `out` is emptied,
    // 0 is returned and *ok (when given) is false; otherwise *ok is true.
    int DecodeBase64Text(QString& out, const QString& base64, bool* ok = nullptr) const;

    // Standard Base64 with "=" padding, no line breaks. Returns the length of `out`.
    qsizetype Base64Encode(QByteArray& out, QByteArrayView bytes) const;

    // Lenient Base64: skips white space, stops at a zero byte, drops an incomplete last group,
    // skips groups with "=" first or second, counts foreign characters as 255.
    // Returns the number of decoded bytes in `out`.
    qsizetype Base64Decode(QByteArray& out, QByteArrayView text) const;

    // One GSM code per character; stops at the first code of 128 or more. Returns the number of
    // units in `out`. First family: no escape sequences, code 27 reads as a space. Second
    // family: an escape and the code after it give one character; an escape the table does not
    // know, or one at the end, ends the text.
    qsizetype GsmToUcs2(QString& out, QByteArrayView codes) const;
    // The character of one code; nothing for codes of 128 or more.
    std::optional<char16_t> GsmCharToUcs2(quint8 code) const;
    // The codes of the text up to its first character without a code; returns their count.
    qsizetype Ucs2ToGsm(QByteArray& out, QStringView text) const;
    // The code of one character; nothing when the character has none (no escape sequences).
    std::optional<quint8> Ucs2CharToGsm(char16_t ch) const;
    // True when every character of the text has a code of its own.
    bool IsGsmText(QStringView text) const;
    // True when the text fits the alphabet, escapes allowed (see the free function).
    bool IsGsmEncodable(const QString& text) const;

private:
    GsmDialect m_dialect;
};

// Free conversions. Each takes an optional output: with nullptr only the count is returned.

// True when Ucs2ToGsmSeptets accepts the text (so the phone stores it in the short form): every
// UTF-16 unit is below U+0100, in U+0390-U+03AF or the euro sign. The same for both families.
bool IsGsmEncodable(const QString& text);
// The same test on UCS-2 units.
bool IsGsmEncodableW(QStringView ucs2);

// One GSM code per byte, escaped characters as two; returns the byte count, or -1 (and an
// emptied output) at the first character that has no code.
qsizetype Ucs2ToGsmSeptets(QByteArray* out, QStringView ucs2, GsmDialect dialect = GsmDialect::First);
// GSM codes, with their escapes, to UCS-2; returns the number of units.
qsizetype GsmSeptetsToUcs2(QString* out, QByteArrayView septets, GsmDialect dialect = GsmDialect::First);

// GSM 7-bit packing, least significant bits first; returns the octet count ceil(7n/8).
qsizetype PackSeptets(QByteArray* out, QByteArrayView septets);
// The reverse: n octets give n*8/7 septets; returns the septet count.
qsizetype UnpackSeptets(QByteArray* out, QByteArrayView octets);

// Septets then packing; returns the octet count, or -1 when a character has no code.
qsizetype Ucs2ToPackedGsm(QByteArray* out, QStringView ucs2, GsmDialect dialect = GsmDialect::First);
// Unpacking then septets to UCS-2; returns the unit count (count only: octets*8/7, a bound).
qsizetype PackedGsmToUcs2(QString* out, QByteArrayView octets, GsmDialect dialect = GsmDialect::First);

// What of a text a phone's Base64 field can carry: without NUL characters (the field would end
// there) and halves of surrogate pairs (no phone stores them), and no more units than the
// field's unit limit (half of it outside the GSM alphabet). The command builders store this back
// in the record, so that the record holds what was sent.
QString StorableText(const QString& text, int unitLimit);

// The low byte of each unit; returns the byte count.
qsizetype Ucs2ToBytes(QByteArray* out, QStringView ucs2);
// One unit per byte; returns the unit count.
qsizetype BytesToUcs2(QString* out, QByteArrayView bytes);

} // namespace common
