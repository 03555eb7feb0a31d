#include "link/reply_parser.h"

#include "platform/atoi.h"

namespace {

bool IsLineSpace(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u' ';
}

// True when the text at pos begins a line: nothing but blanks between it and the start of the
// text or the last line end.
bool StartsLine(const QString& text, qsizetype pos)
{
    while (pos > 0 && text[pos - 1] == u' ')
        --pos;
    return pos == 0 || text[pos - 1] == u'\r' || text[pos - 1] == u'\n';
}

// The first occurrence of the prefix from pos on that begins a line, or -1. Base64 fields may
// hold the prefix ("AU+CXDROAAA="); only a list line starts with it.
qsizetype FindLinePrefix(const QString& text, qsizetype pos, const QString& prefix)
{
    for (qsizetype found = text.indexOf(prefix, pos); found >= 0; found = text.indexOf(prefix, found + 1)) {
        if (StartsLine(text, found))
            return found;
    }
    return -1;
}

// The start of the segment after the one that begins at pos, or -1 when it is the last; the
// segment's own occurrence of the prefix is searched from pos. -2 when none is left at all.
qsizetype NextSegment(const QString& text, qsizetype pos, const QString& prefix)
{
    const qsizetype first = FindLinePrefix(text, pos, prefix);
    if (first < 0)
        return -2;
    return FindLinePrefix(text, first + prefix.size(), prefix);
}

} // namespace

QString TrimLine(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsLineSpace(text[begin]))
        ++begin;
    while (end > begin && IsLineSpace(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimListReply(const QString& reply)
{
    QString text = TrimLine(reply);
    const qsizetype size = text.size();
    if (size >= 2 && text.right(2).compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0
        && (size == 2 || text[size - 3] == u'\r' || text[size - 3] == u'\n'))
        text = TrimLine(text.left(size - 2));
    return text;
}

bool GetReplyLine(QString& out, const QString& text, int n, const QString& prefix)
{
    if (prefix.isEmpty() || text.isEmpty())
        return false;
    qsizetype pos = 0;
    for (int i = 0; n >= 0 && i <= n; ++i) {
        const qsizetype next = pos < text.size() ? NextSegment(text, pos, prefix) : -2;
        if (next == -2)
            break;
        if (i == n) {
            out = text.mid(pos, next < 0 ? -1 : next - pos);
            return true;
        }
        pos = next < 0 ? text.size() : next;
    }
    out.clear();
    return false;
}

QStringList ReplySegments(const QString& text, const QString& prefix)
{
    QStringList segments;
    if (prefix.isEmpty())
        return segments;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype next = NextSegment(text, pos, prefix);
        if (next == -2)
            break;
        segments << text.mid(pos, next < 0 ? -1 : next - pos);
        pos = next < 0 ? text.size() : next;
    }
    return segments;
}

QStringList ListReplyLines(const QString& reply, const QString& prefix, const QString& lineStart,
    bool trimAfterStart)
{
    QStringList lines;
    for (const QString& segment : ReplySegments(TrimListReply(reply), prefix)) {
        const QString line = TrimLine(segment);
        if (!line.startsWith(lineStart))
            break;
        qsizetype start = lineStart.size();
        if (trimAfterStart) {
            while (start < line.size() && line[start] == u' ')
                ++start;
        }
        lines << line.mid(start);
    }
    return lines;
}

bool ExtractField(QString& out, const QString& text, int k, QChar separator)
{
    if (k < 0)
        return false;
    qsizetype start = 0;
    for (int i = 0; i < k; ++i) {
        const qsizetype found = text.indexOf(separator, start);
        if (found < 0) {
            out.clear();
            return false;
        }
        start = found + 1;
    }
    const qsizetype end = text.indexOf(separator, start);
    out = text.mid(start, end < 0 ? -1 : end - start);
    return true;
}

bool ExtractQuotedField(QString& out, const QString& text, int k)
{
    if (k < 0)
        return false;
    int field = 0;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == u'"')
            quoted = !quoted;
        if (i < text.size() && (quoted || text[i] != u','))
            continue;
        if (field == k) {
            out = text.mid(start, i - start);
            return true;
        }
        ++field;
        start = i + 1;
    }
    out.clear();
    return false;
}

QString RemoveQuotes(const QString& text)
{
    QString result = text;
    result.remove(u'"');
    return result;
}

std::optional<int> LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i >= text.size() || !text[i].isDigit() || text[i].unicode() > 0x7F)
        return std::nullopt;
    return platform::Atoi(QStringView(text));
}

std::optional<int> NumberField(const QString& text, int k)
{
    QString field;
    if (!ExtractField(field, text, k))
        return std::nullopt;
    return LeadingNumber(field);
}

std::optional<IndexRange> ParseIndexRange(const QString& reply)
{
    const qsizetype open = reply.indexOf(u'(');
    const qsizetype dash = reply.indexOf(u'-');
    const qsizetype close = reply.indexOf(u')');
    if (open < 0 || dash <= open || close <= dash)
        return std::nullopt;
    bool firstOk = false;
    bool lastOk = false;
    const int first = reply.mid(open + 1, dash - open - 1).trimmed().toInt(&firstOk);
    const int last = reply.mid(dash + 1, close - dash - 1).trimmed().toInt(&lastOk);
    // No phone numbers its entries beyond this; larger values are garbage, not a range.
    constexpr int kMaxIndex = 999999;
    if (!firstOk || !lastOk || first < 0 || last < first || last > kMaxIndex)
        return std::nullopt;
    return IndexRange {first, last};
}

std::optional<int> ReplyIndexField(const QString& reply)
{
    QString field;
    if (!ExtractField(field, TrimLine(reply), 1, u' '))
        return std::nullopt;
    return LeadingNumber(field);
}
