#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Conversions between text and the bytes of a named character set, through iconv.
// Characters the target cannot hold become '?'; byte sequences the source cannot decode
// become U+FFFD. Neither direction ever fails as a whole.
QByteArray EncodeCharset(const QString& text, const char* charset);
QString DecodeCharset(const QByteArray& bytes, const char* charset);

// The "ANSI code page": the character set of the user's locale (UTF-8 on current systems).
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
const char* AnsiCharset();

// The code page of data files written by the original program: $DESKHAND_CODEPAGE, else the
// locale's character set when it is not UTF-8, else GBK on a Chinese system, else CP1252.
QString FromLegacy(const QByteArray& bytes);
QByteArray LegacyCharset();
bool IsUtf8Locale();

} // namespace platform
