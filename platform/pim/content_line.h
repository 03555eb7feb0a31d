#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The content-line codec of vCard-style text (RFC 2425/6350, and vCard 2.1 as other programs
// still write it): folding, escaping, parameters, groups.
namespace pim {

struct ContentParameter {
    QString name;       // upper case
    QStringList values; // unquoted; TYPE="a,b" gives two values
};

struct ContentLine {
    QString group; // "item1" of item1.TEL, else empty
    QString name;  // upper case
    std::vector<ContentParameter> params;
    // The value as written (text escapes kept). Quoted-printable and CHARSET are already
    // decoded, and their parameters removed.
    QString value;

    const ContentParameter* Param(QStringView paramName) const;
    ContentParameter* Param(QStringView paramName);
    void RemoveParam(QStringView paramName);
    // Whether a TYPE value equals type, ignoring case.
    bool HasType(QStringView type) const;

    // The value of a text property with a Base64 encoding (ENCODING=b) undone, as UTF-8 (or the
    // legacy code page); any other value as it stands.
    QString TextValue() const;
    // Rewrites the value (escaped text): an encoding or value type of the old value no longer
    // applies to it, and would make readers decode the new text as something else.
    void SetTextValue(const QString& value);
};

// Splits text into content lines. Continuation lines are unfolded (a vCard 2.1 card keeps the
// folding blank, later versions drop it), quoted-printable soft line breaks are joined, bare
// 2.1 parameters (TEL;CELL;VOICE) become TYPE values, repeated parameters are merged and
// RFC 6868 carets are decoded in 4.0 cards. A value without CHARSET that is not UTF-8 is read
// in the legacy code page. Lines that are not content lines are skipped; nothing fails.
std::vector<ContentLine> ParseContentLines(const QByteArray& text);

// One content line as UTF-8, folded at 75 octets (never inside a character), ending in CR LF.
// Line breaks inside the value are written as "\n".
QByteArray FormatContentLine(const ContentLine& line);

// Text value escaping: backslash, comma, semicolon and line breaks (CR LF counts as one).
QString EscapeText(QStringView text);
// The reverse; unknown escapes keep their backslash, "\N" is a line break too.
QString UnescapeText(QStringView value);
// Splits a value at separators that are not escaped; the parts stay escaped.
QStringList SplitEscaped(QStringView value, QChar separator);

} // namespace pim
