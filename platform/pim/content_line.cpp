#include "platform/pim/content_line.h"

#include "platform/ansi_codepage.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace pim {

namespace {

constexpr qsizetype kFoldOctets = 75;

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' || u == '_';
}

// Property, group and parameter names keep only the characters the grammar allows, so that
// whatever is written reads back as the same name.
QString cleanName(QStringView text, bool upper)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (isNameChar(c))
            out += upper ? c.toUpper() : c;
    }
    return out;
}

// Splits at sep outside double quotes; the quotes stay in the parts.
QList<QStringView> splitOutsideQuotes(QStringView text, QChar sep)
{
    QList<QStringView> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (c == sep && !quoted) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

// The colon that ends the name and parameters: the first one outside quotes, else the first.
qsizetype findValueColon(const QByteArray& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return line.indexOf(':');
}

// RFC 6868: ^n line break, ^^ caret, ^' double quote (vCard 4.0 only).
QString decodeCarets(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'^' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == u'n' || next == u'N') {
                out += u'\n';
                ++i;
                continue;
            }
            if (next == u'^') {
                out += u'^';
                ++i;
                continue;
            }
            if (next == u'\'') {
                out += u'"';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Parameter values as the formatter can write them again: before 4.0 no double quotes (a stray
// one becomes an apostrophe) and no line breaks. A TYPE list is split even where it was quoted.
QStringList parseParamValues(QStringView raw, bool isTypeList, bool carets)
{
    QStringList values;
    for (QStringView part : splitOutsideQuotes(raw, u',')) {
        QString value;
        const QStringView trimmed = part.trimmed();
        if (trimmed.startsWith(u'"')) {
            const qsizetype close = trimmed.indexOf(u'"', 1);
            value = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).toString();
        } else {
            value = trimmed.toString();
        }
        if (carets) {
            // 4.0 can write them again, as carets.
            value = decodeCarets(value);
            value.replace(u'\r', u' ');
        } else {
            value.replace(u'"', u'\'');
            value.replace(u'\r', u' ');
            value.replace(u'\n', u' ');
        }
        if (isTypeList) {
            for (QStringView item : QStringView(value).split(u','))
                values.append(item.trimmed().toString());
        } else {
            values.append(value);
        }
    }
    return values;
}

bool isEncodingWord(const QString& upper)
{
    return upper == u"QUOTED-PRINTABLE" || upper == u"BASE64" || upper == u"B" || upper == u"8BIT" ||
           upper == u"7BIT";
}

// Name, group and parameters of a line's head (the part before the value colon).
bool parseHead(QStringView head, bool carets, ContentLine& line)
{
    const QList<QStringView> parts = splitOutsideQuotes(head, u';');
    QStringView name = parts[0].trimmed();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        line.group = cleanName(name.left(dot), false);
        name = name.mid(dot + 1);
    }
    line.name = cleanName(name, true);
    if (line.name.isEmpty())
        return false;

    QHash<QString, qsizetype> index;
    auto add = [&](const QString& paramName, const QStringList& values) {
        const auto it = index.constFind(paramName);
        if (it != index.constEnd()) {
            line.params[size_t(*it)].values += values;
            return;
        }
        index.insert(paramName, qsizetype(line.params.size()));
        line.params.push_back({paramName, values});
    };
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QStringView part = parts[i].trimmed();
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0) {
            // vCard 2.1 bare parameter: an encoding word or a type.
            const QString word = cleanName(part, true);
            if (word.isEmpty())
                continue;
            if (isEncodingWord(word))
                add(QStringLiteral("ENCODING"), {word});
            else
                add(QStringLiteral("TYPE"), {word});
            continue;
        }
        const QString paramName = cleanName(part.left(eq), true);
        if (paramName.isEmpty())
            continue;
        add(paramName, parseParamValues(part.mid(eq + 1), paramName == u"TYPE", carets));
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size()) {
            const int hi = hexDigit(in[i + 1]);
            const int lo = hexDigit(in[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.append(char(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.append(in[i]);
    }
    return out;
}

QString decodeText(const QByteArray& bytes, const QString& charset)
{
    if (!charset.isEmpty())
        return platform::DecodeCharset(bytes, charset.toLatin1().constData());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Old vCard 2.1 writers used the Windows code page without saying so.
    return platform::FromLegacy(bytes);
}

bool equalsIgnoreCase(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isQuotedPrintableHead(const QByteArray& line)
{
    const qsizetype colon = findValueColon(line);
    if (colon < 0)
        return false;
    ContentLine head;
    if (!parseHead(QString::fromUtf8(line.left(colon)), false, head))
        return false;
    const ContentParameter* encoding = head.Param(u"ENCODING");
    return encoding && encoding->values.contains(QStringLiteral("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
}

// Reads logical lines one after the other; the card version steers unfolding and carets.
class Reader {
public:
    std::vector<SourceLine> Read(const QByteArray& text)
    {
        qsizetype pos = 0;
        while (pos < text.size()) {
            qsizetype end = pos;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n')
                ++end;
            const QByteArray line = text.mid(pos, end - pos);
            if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
                ++end;
            const qsizetype next = std::min(end + 1, text.size());
            physicalLine(line, pos, next);
            pos = next;
        }
        flush();
        return std::move(m_lines);
    }

private:
    CardVersion version() const { return m_versions.empty() ? CardVersion::V30 : m_versions.back(); }

    void physicalLine(const QByteArray& line, qsizetype begin, qsizetype end)
    {
        if (m_hasLogical && m_quotedPrintable && m_logical.endsWith('=')) {
            m_logical.chop(1);
            m_logical.append(line);
            m_end = end;
            return;
        }
        if (m_hasLogical && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            m_logical.append(version() == CardVersion::V21 ? line : line.mid(1));
            m_end = end;
            return;
        }
        flush();
        if (line.isEmpty())
            return;
        m_logical = line;
        m_begin = begin;
        m_end = end;
        m_hasLogical = true;
        m_quotedPrintable = line.contains('=') && isQuotedPrintableHead(line);
    }

    void flush()
    {
        if (!m_hasLogical)
            return;
        m_hasLogical = false;
        const qsizetype colon = findValueColon(m_logical);
        if (colon < 0)
            return;
        SourceLine source;
        source.begin = m_begin;
        source.end = m_end;
        source.head = m_logical.left(colon);
        if (!parseHead(QString::fromUtf8(source.head), version() == CardVersion::V40, source.line))
            return;
        const size_t params = source.line.params.size();
        source.line.value = decodeValue(source.line, m_logical.mid(colon + 1));
        source.headDescribesValue = source.line.params.size() == params;
        track(source.line);
        m_lines.push_back(std::move(source));
    }

    static QString decodeValue(ContentLine& line, QByteArray bytes)
    {
        QString charset;
        if (const ContentParameter* p = line.Param(u"CHARSET"); p && !p->values.isEmpty())
            charset = p->values.front();
        line.RemoveParam(u"CHARSET");
        if (ContentParameter* encoding = line.Param(u"ENCODING")) {
            // Decided as the soft line breaks were: any QUOTED-PRINTABLE value counts.
            const QString word = encoding->values.isEmpty() ? QString() : encoding->values.front().toUpper();
            if (encoding->values.contains(QStringLiteral("QUOTED-PRINTABLE"), Qt::CaseInsensitive)) {
                bytes = decodeQuotedPrintable(bytes);
                line.RemoveParam(u"ENCODING");
            } else if (word == u"BASE64" || word == u"B") {
                encoding->values = QStringList{QStringLiteral("b")};
                QByteArray compact;
                compact.reserve(bytes.size());
                for (char c : bytes) {
                    if (c != ' ' && c != '\t')
                        compact.append(c);
                }
                bytes = compact;
            } else if (word == u"8BIT" || word == u"7BIT") {
                line.RemoveParam(u"ENCODING");
            }
        }
        return decodeText(bytes, charset);
    }

    void track(const ContentLine& line)
    {
        if (line.name == u"BEGIN" && equalsIgnoreCase(line.value.trimmed(), u"VCARD")) {
            m_versions.push_back(CardVersion::V30);
        } else if (line.name == u"END" && equalsIgnoreCase(line.value.trimmed(), u"VCARD")) {
            if (!m_versions.empty())
                m_versions.pop_back();
        } else if (line.name == u"VERSION" && !m_versions.empty()) {
            m_versions.back() = CardVersionOf(line.value);
        }
    }

    std::vector<SourceLine> m_lines;
    std::vector<CardVersion> m_versions;
    QByteArray m_logical;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_hasLogical = false;
    bool m_quotedPrintable = false;
};

QByteArray normalizeEncoding(const QByteArray& text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        return text.mid(3);
    if (text.startsWith("\xFF\xFE"))
        return QString(QStringDecoder(QStringDecoder::Utf16LE).decode(text.mid(2))).toUtf8();
    if (text.startsWith("\xFE\xFF"))
        return QString(QStringDecoder(QStringDecoder::Utf16BE).decode(text.mid(2))).toUtf8();
    return text;
}

QString formatParamValue(const QString& value, CardVersion version)
{
    QString v = value;
    v.replace(u'\r', u' ');
    if (version == CardVersion::V40) {
        v.replace(u'^', QStringLiteral("^^"));
        v.replace(u'\n', QStringLiteral("^n"));
        v.replace(u'"', QStringLiteral("^'"));
    } else {
        v.replace(u'"', u'\'');
        v.replace(u'\n', u' ');
    }
    if (version == CardVersion::V21) {
        // 2.1 has no quoting: what would end the parameter becomes a blank.
        for (QChar& c : v) {
            if (c == u':' || c == u';' || c == u',')
                c = u' ';
        }
        return v;
    }
    const bool needsQuotes = v.contains(u':') || v.contains(u';') || v.contains(u',') ||
                             (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
    return needsQuotes ? u'"' + v + u'"' : v;
}

QString formatHead(const ContentLine& line, CardVersion version)
{
    QString head = line.group.isEmpty() ? line.name : line.group + u'.' + line.name;
    for (const ContentParameter& p : line.params) {
        if (version == CardVersion::V21 && p.name == u"TYPE") {
            for (const QString& type : p.values)
                head += u';' + formatParamValue(type, version);
            continue;
        }
        head += u';' + p.name + u'=';
        for (qsizetype i = 0; i < p.values.size(); ++i) {
            if (i > 0)
                head += u',';
            QString value = p.values[i];
            if (version == CardVersion::V21 && p.name == u"ENCODING" && value.compare(u"b", Qt::CaseInsensitive) == 0)
                value = QStringLiteral("BASE64");
            head += formatParamValue(value, version);
        }
    }
    return head;
}

// Folds at 75 octets, never inside a UTF-8 sequence; each line ends in CR LF.
QByteArray fold(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 64 * 3 + 2);
    qsizetype pos = 0;
    qsizetype room = kFoldOctets;
    while (bytes.size() - pos > room) {
        qsizetype cut = pos + room;
        // Never split a UTF-8 sequence: back up to its lead byte.
        while (cut > pos && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == pos)
            cut = pos + room;
        out.append(bytes.constData() + pos, cut - pos);
        out.append("\r\n ");
        pos = cut;
        room = kFoldOctets - 1;
    }
    out.append(bytes.constData() + pos, bytes.size() - pos);
    out.append("\r\n");
    return out;
}

// The value with its line breaks as "\n" (3.0 and 4.0).
QString escapedLineBreaks(QString value)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    value.replace(u'\r', QStringLiteral("\\n"));
    value.replace(u'\n', QStringLiteral("\\n"));
    return value;
}

// A value escaped for 3.0 as 2.1 writes it: commas plain, line breaks real; an escaped
// semicolon and backslash stay as they are.
QByteArray valueFor21(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == u',') {
                out += next;
                ++i;
                continue;
            }
            if (next == u'n' || next == u'N') {
                out += QStringLiteral("\r\n");
                ++i;
                continue;
            }
            out += c;
            out += next;
            ++i;
            continue;
        }
        if (c == u'\n' && !(i > 0 && value[i - 1] == u'\r'))
            out += u'\r';
        out += c;
    }
    return out.toUtf8();
}

bool needsQuotedPrintable(const QByteArray& value)
{
    return std::any_of(value.begin(), value.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x7f || (u < 0x20 && u != '\t');
    });
}

// head:value in quoted-printable, with soft line breaks that keep each line within 76 octets.
QByteArray quotedPrintableLine(const QByteArray& head, const QByteArray& value)
{
    constexpr qsizetype kLine = 76;
    QByteArray out = head + ':';
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const auto u = static_cast<unsigned char>(value[i]);
        const bool last = i + 1 == value.size();
        QByteArray piece;
        if (u == '=' || u >= 0x7f || (u < 0x20 && u != '\t') || (last && (u == ' ' || u == '\t')))
            piece = '=' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
        else
            piece = QByteArray(1, char(u));
        if (out.size() - lineStart + piece.size() > kLine - 1) {
            out += "=\r\n";
            lineStart = out.size();
        }
        out += piece;
    }
    out += "\r\n";
    return out;
}

} // namespace

const ContentParameter* ContentLine::Param(QStringView paramName) const
{
    for (const ContentParameter& p : params) {
        if (equalsIgnoreCase(p.name, paramName))
            return &p;
    }
    return nullptr;
}

ContentParameter* ContentLine::Param(QStringView paramName)
{
    return const_cast<ContentParameter*>(std::as_const(*this).Param(paramName));
}

void ContentLine::RemoveParam(QStringView paramName)
{
    std::erase_if(params, [&](const ContentParameter& p) { return equalsIgnoreCase(p.name, paramName); });
}

bool ContentLine::HasType(QStringView type) const
{
    const ContentParameter* p = Param(u"TYPE");
    if (!p)
        return false;
    for (const QString& value : p->values) {
        if (equalsIgnoreCase(value, type))
            return true;
    }
    return false;
}

QString ContentLine::TextValue() const
{
    const ContentParameter* encoding = Param(u"ENCODING");
    if (!encoding || !encoding->values.contains(QStringLiteral("b"), Qt::CaseInsensitive))
        return value;
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(value.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? decodeText(*decoded, QString()) : value;
}

void ContentLine::SetTextValue(const QString& text)
{
    value = text;
    RemoveParam(u"ENCODING");
    RemoveParam(u"VALUE");
}

std::vector<SourceLine> ReadContentLines(const QByteArray& text)
{
    return Reader().Read(text);
}

QByteArray TextWithoutByteOrderMark(const QByteArray& text)
{
    return normalizeEncoding(text);
}

QByteArray LineBreakOf(const QByteArray& text)
{
    const qsizetype lf = text.indexOf('\n');
    return lf > 0 && text[lf - 1] != '\r' ? QByteArray("\n") : QByteArray("\r\n");
}

QByteArray WithLineBreak(QByteArray text, const QByteArray& lineBreak)
{
    if (lineBreak != "\r\n")
        text.replace("\r\n", lineBreak);
    return text;
}

CardVersion CardVersionOf(QStringView value)
{
    const QStringView v = value.trimmed();
    return v == u"2.1" ? CardVersion::V21 : v.startsWith(u'4') ? CardVersion::V40 : CardVersion::V30;
}

QByteArray FormatContentLine(const ContentLine& line, CardVersion version)
{
    const QString head = formatHead(line, version);
    if (version != CardVersion::V21)
        return fold((head + u':' + escapedLineBreaks(line.value)).toUtf8());
    const QByteArray value = valueFor21(line.value);
    if (!needsQuotedPrintable(value))
        return head.toUtf8() + ':' + value + "\r\n";
    ContentLine encoded = line;
    encoded.RemoveParam(u"ENCODING");
    encoded.RemoveParam(u"CHARSET");
    const bool ascii = std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii)
        encoded.params.push_back({QStringLiteral("CHARSET"), {QStringLiteral("UTF-8")}});
    encoded.params.push_back({QStringLiteral("ENCODING"), {QStringLiteral("QUOTED-PRINTABLE")}});
    return quotedPrintableLine(formatHead(encoded, version).toUtf8(), value);
}

QByteArray FormatContentLine(const QByteArray& head, const ContentLine& line, CardVersion version)
{
    if (version != CardVersion::V21)
        return fold(head + ':' + escapedLineBreaks(line.value).toUtf8());
    const QByteArray value = valueFor21(line.value);
    if (needsQuotedPrintable(value))
        return {};
    return head + ':' + value + "\r\n";
}

QString EscapeText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u',':
            out += QStringLiteral("\\,");
            break;
        case u';':
            out += QStringLiteral("\\;");
            break;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QStringLiteral("\\n");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString UnescapeText(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[i + 1];
        if (next == u'n' || next == u'N') {
            out += u'\n';
            ++i;
        } else if (next == u'\\' || next == u',' || next == u';' || next == u':') {
            out += next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QStringList SplitEscaped(QStringView value, QChar separator)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\') {
            ++i;
            continue;
        }
        if (value[i] == separator) {
            parts.append(value.mid(start, i - start).toString());
            start = i + 1;
        }
    }
    parts.append(value.mid(start).toString());
    return parts;
}

} // namespace pim
