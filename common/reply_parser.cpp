#include "common/reply_parser.h"

#include "platform/atoi.h"

#include <cstdio>

namespace common {

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

// One segment: where it begins and where the next one begins (-1 when it is the last).
struct Segment {
    qsizetype start = -1; // -1 when there is none from pos on
    qsizetype next = -1;
};

// The segment that begins at pos; its own occurrence of the prefix is searched from pos.
Segment SegmentAt(const QString& text, qsizetype pos, const QString& prefix, SegmentRule rule)
{
    const qsizetype first = FindLinePrefix(text, pos, prefix);
    if (first < 0)
        return {};
    return {rule == SegmentRule::WithLeadingText ? pos : first, FindLinePrefix(text, first + prefix.size(), prefix)};
}

int HexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
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

bool GetReplyLine(QString& out, const QString& text, int n, const QString& prefix, SegmentRule rule)
{
    if (prefix.isEmpty() || text.isEmpty()) {
        if (rule == SegmentRule::FromPrefix)
            out.clear();
        return false;
    }
    qsizetype pos = 0;
    for (int i = 0; n >= 0 && i <= n && pos < text.size(); ++i) {
        const Segment segment = SegmentAt(text, pos, prefix, rule);
        if (segment.start < 0)
            break;
        if (i == n) {
            out = text.mid(segment.start, segment.next < 0 ? -1 : segment.next - segment.start);
            return true;
        }
        pos = segment.next < 0 ? text.size() : segment.next;
    }
    out.clear();
    return false;
}

QStringList ReplySegments(const QString& text, const QString& prefix, SegmentRule rule)
{
    QStringList segments;
    if (prefix.isEmpty())
        return segments;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const Segment segment = SegmentAt(text, pos, prefix, rule);
        if (segment.start < 0)
            break;
        segments << text.mid(segment.start, segment.next < 0 ? -1 : segment.next - segment.start);
        pos = segment.next < 0 ? text.size() : segment.next;
    }
    return segments;
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

qsizetype HexToBytes(QByteArray& out, QStringView hex)
{
    out.clear();
    out.reserve(hex.size() / 2);
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            std::fprintf(stderr, "Stopped. Invalid input, %X%X\n", unsigned(hex[i].unicode()),
                unsigned(hex[i + 1].unicode()));
            break;
        }
        out.append(char(high << 4 | low));
    }
    return out.size();
}

} // namespace common
