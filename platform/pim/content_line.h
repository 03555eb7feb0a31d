#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The content-line codec of vCard-style text (RFC 2425/6350, and vCard 2.1 as other programs
// still write it): folding, escaping, parameters, groups.
namespace pim {

// The vCard versions whose spellings differ; iCalendar text reads as 3.0.
enum class CardVersion { V21, V30, V40 };

struct ContentParameter {
    QString name;       // upper case
    QStringList values; // unquoted; TYPE="a,b" gives two values

    bool operator==(const ContentParameter&) const = default;
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

    bool operator==(const ContentLine&) const = default;
};

// A content line with the bytes it was read from: [begin, end) of the text, its line break
// included, and its name and parameters as written (unfolded).
struct SourceLine {
    ContentLine line;
    qsizetype begin = 0;
    qsizetype end = 0;
    QByteArray head;
    // False when reading decoded the value (quoted-printable, a CHARSET): head then no longer
    // describes the value as it stands.
    bool headDescribesValue = true;
};

// Splits text into content lines. Continuation lines are unfolded (a vCard 2.1 card keeps the
// folding blank, later versions drop it), quoted-printable soft line breaks are joined, bare
// 2.1 parameters (TEL;CELL;VOICE) become TYPE values, repeated parameters are merged and
// RFC 6868 carets are decoded in 4.0 cards (where a parameter value may hold a line break or a
// double quote). A value without CHARSET that is not UTF-8 is read in the legacy code page.
// Lines that are not content lines are skipped; nothing fails. Each line comes with where it
// stands in text. A byte order mark is not skipped here: the offsets are those of text as given
// (see TextWithoutByteOrderMark).
std::vector<SourceLine> ReadContentLines(const QByteArray& text);
// Text without its UTF-8 byte order mark, and UTF-16 text (with its mark) as UTF-8.
QByteArray TextWithoutByteOrderMark(const QByteArray& text);
// The line break of a text: CR LF, unless its first line ends in LF alone.
QByteArray LineBreakOf(const QByteArray& text);
// Text written with CR LF line breaks, spelled with lineBreak instead.
QByteArray WithLineBreak(QByteArray text, const QByteArray& lineBreak);
// The version a VERSION value names; 3.0 for any other.
CardVersion CardVersionOf(QStringView value);

// One content line as UTF-8, ending in CR LF, spelled for the card's version. 3.0 and 4.0:
// folded at 75 octets (never inside a character), line breaks in the value as "\n"; 4.0 writes
// the line breaks, carets and double quotes of parameter values as RFC 6868 carets, 3.0 has no
// way to and writes blanks and apostrophes. 2.1: each TYPE a bare parameter, a value with line
// breaks or other than ASCII characters in quoted-printable UTF-8, no blank folding.
QByteArray FormatContentLine(const ContentLine& line, CardVersion version = CardVersion::V30);
// The line with the name and parameters as written (head, as SourceLine keeps it) and the value
// spelled for the version; empty when the value needs parameters that head does not have (a
// 2.1 value that must be quoted-printable).
QByteArray FormatContentLine(const QByteArray& head, const ContentLine& line, CardVersion version);

// Text value escaping: backslash, comma, semicolon and line breaks (CR LF counts as one).
QString EscapeText(QStringView text);
// The reverse; unknown escapes keep their backslash, "\N" is a line break too.
QString UnescapeText(QStringView value);
// Splits a value at separators that are not escaped; the parts stay escaped.
QStringList SplitEscaped(QStringView value, QChar separator);

} // namespace pim
