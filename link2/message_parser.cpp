#include "link2/message_parser.h"

#include "common/answer_lines.h"
#include "common/reply_parser.h"
#include "common/text_codec.h"
#include "link2/reply_parser.h"
#include "link2/sms_pdu.h"
#include "platform/ansi_width.h"

#include <algorithm>
#include <vector>

namespace dh2 {

namespace {

constexpr int kMessageTextBytes = 2048;
constexpr int kPduTextBytes = 1024;

bool IsLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

QString ChopLineEnds(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && IsLineEnd(text[end - 1]))
        --end;
    text.truncate(end);
    return text;
}

QString TrimLeft(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && (IsLineEnd(text[start]) || text[start] == u' '))
        ++start;
    return text.mid(start);
}

std::optional<int> IndexOf(const QString& header)
{
    QString field;
    if (!common::ExtractQuotedField(field, header, 0))
        return std::nullopt;
    return common::LeadingNumber(field);
}

} // namespace

QString TrimMessageReply(const QString& reply)
{
    QString text = ChopLineEnds(TrimLeft(reply));
    const qsizetype size = text.size();
    if (size >= 2 && text.endsWith(QLatin1String("OK")) && (size == 2 || IsLineEnd(text[size - 3])))
        text = ChopLineEnds(text.left(size - 2));
    return text;
}

std::optional<QList<MessageListEntry>> PduListingEntries(const QString& reply)
{
    const common::ListAnswer answer = common::ListAnswerLines(reply, QStringLiteral("+CMGL"), common::IsHexLine);
    if (!answer.readable)
        return std::nullopt;
    QList<MessageListEntry> entries;
    for (const QString& record : answer.records) {
        const qsizetype end = record.indexOf(QLatin1String("\r\n"));
        entries << MessageListEntry {record.left(end), record.mid(end + 2)};
    }
    return entries;
}

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The entry whose header line starts at `start` of the text and whose text ends at `end`.
MessageListEntry EntryAt(const QString& text, qsizetype start, qsizetype end, qsizetype prefixSize)
{
    const QString segment = ChopLineEnds(text.mid(start, end - start));
    const qsizetype lineEnd = segment.indexOf(kLineBreak);
    MessageListEntry entry;
    entry.header = segment.mid(prefixSize, lineEnd < 0 ? -1 : lineEnd - prefixSize);
    if (lineEnd >= 0)
        entry.body = segment.mid(lineEnd + 2);
    return entry;
}

} // namespace

QList<MessageListEntry> TextListingEntries(const QString& reply)
{
    const QString prefix = QStringLiteral("+CMGL: ");
    const QString text = TrimMessageReply(reply);
    const auto isHeaderAt = [&](qsizetype at) {
        if (!QStringView(text).mid(at).startsWith(prefix))
            return false;
        const qsizetype lineEnd = text.indexOf(kLineBreak, at);
        CSmsEntry probe;
        return ParseTextMessageHeader(text.mid(at + prefix.size(), lineEnd < 0 ? -1 : lineEnd - at - prefix.size()), probe);
    };
    std::vector<qsizetype> starts;
    if (!isHeaderAt(0))
        return {};
    starts.push_back(0);
    for (qsizetype at = text.indexOf(kLineBreak + prefix); at >= 0; at = text.indexOf(kLineBreak + prefix, at + 2)) {
        if (isHeaderAt(at + 2))
            starts.push_back(at + 2);
    }
    QList<MessageListEntry> entries;
    for (size_t i = 0; i < starts.size(); ++i)
        entries << EntryAt(text, starts[i], i + 1 < starts.size() ? starts[i + 1] - 2 : text.size(), prefix.size());
    return entries;
}

std::optional<MessageListEntry> TextReadEntry(const QString& reply)
{
    const QString prefix = QStringLiteral("+CMGR: ");
    const QString text = TrimMessageReply(reply);
    if (!text.startsWith(prefix))
        return std::nullopt;
    return EntryAt(text, 0, text.size(), prefix.size());
}

int TextMessageStatus(const QString& status)
{
    if (status == QLatin1String("REC READ"))
        return CSmsEntry::StatusRead;
    if (status == QLatin1String("REC UNREAD"))
        return CSmsEntry::StatusUnread;
    if (status == QLatin1String("STO SENT"))
        return CSmsEntry::StatusSent;
    return CSmsEntry::StatusUnsent;
}

int PduMessageStatus(const QString& code)
{
    switch (common::LeadingNumber(code).value_or(-1)) {
    case 0: return CSmsEntry::StatusUnread;
    case 1: return CSmsEntry::StatusRead;
    case 3: return CSmsEntry::StatusSent;
    default: return CSmsEntry::StatusUnsent;
    }
}

bool ParseTextMessageHeader(const QString& header, CSmsEntry& entry)
{
    const std::optional<int> index = IndexOf(header);
    QString status;
    if (!index || !common::ExtractQuotedField(status, header, 1))
        return false;
    entry.m_nIndex = *index;
    entry.m_nStatus = TextMessageStatus(common::RemoveQuotes(status).trimmed());
    QString field;
    if (common::ExtractQuotedField(field, header, 2))
        entry.m_strNumber = common::RemoveQuotes(field);
    if (common::ExtractQuotedField(field, header, 3))
        entry.m_strName = common::RemoveQuotes(field);
    QString date;
    if (common::ExtractQuotedField(date, header, 4) && date.contains(u'"')) {
        date = common::RemoveQuotes(date);
        const qsizetype comma = date.indexOf(u',');
        if (comma >= 0) {
            // "yy/MM/dd,hh:mm:ss+zz" in one field.
            entry.m_strTime = date.mid(comma + 1);
            entry.m_strDate = date.left(comma);
        } else {
            entry.m_strDate = date;
            QString time;
            if (common::ExtractQuotedField(time, header, 5))
                entry.m_strTime = common::RemoveQuotes(time);
        }
    }
    entry.m_nList = 3;
    return true;
}

QString NormalisedLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QLatin1String("\r\n");
        } else if (text[i] == u'\n') {
            out += QLatin1String("\r\n");
        } else {
            out += text[i];
        }
    }
    return out;
}

QString DecodeMessageText(const QString& text, QChar codingMark)
{
    QString units;
    if (codingMark == u'2') {
        QString digits = text;
        digits.remove(u'\r').remove(u'\n').remove(u' ');
        const QByteArray bytes = QByteArray::fromHex(digits.toLatin1());
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            units += QChar(char16_t(quint8(bytes[i]) << 8 | quint8(bytes[i + 1])));
    } else {
        common::CTextCodec(common::GsmDialect::Second).GsmToUcs2(units, text.toLatin1());
    }
    return NormalisedLineBreaks(platform::ansiLeft(units, kMessageTextBytes));
}

bool IsEnhancedMessage(const CSmsPdu& pdu)
{
    return std::any_of(pdu.Elements().begin(), pdu.Elements().end(),
        [](const auto& element) { return element->GetTypeName() != QLatin1String("text"); });
}

std::unique_ptr<CSmsEntry> MessageRecord(const CSmsPdu& pdu)
{
    auto record = std::make_unique<CSmsEntry>();
    record->m_strNumber = pdu.GetAddress();
    quint8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    qint8 zone = 0;
    if (pdu.GetTimeStamp(year, month, day, hour, minute, second, zone)) {
        record->m_strDate = QString::asprintf("%d/%d/%d", year, month, day);
        record->m_strTime = QString::asprintf("%d:%d:%d %d", hour, minute, second, zone);
    }
    QString text;
    if (IsEnhancedMessage(pdu))
        record->m_strText = QStringLiteral("[EMS]");
    else if (pdu.GetText(&text) < 1)
        record->m_strText = QStringLiteral("Empty");
    else
        record->m_strText = platform::ansiLeft(text, kPduTextBytes);
    record->m_nList = 3;
    return record;
}

std::unique_ptr<CSmsEntry> MessageFromPdu(const QString& pduHex)
{
    QByteArray bytes;
    common::HexToBytes(bytes, pduHex);
    CSmsPdu pdu;
    if (!pdu.Decode(bytes))
        return nullptr;
    pdu.DecodeElements();
    // A part of a longer text is read again in text mode, which shows each part's own text.
    if (pdu.ConcatenationRecord().total != 0 && !IsEnhancedMessage(pdu))
        return nullptr;
    return MessageRecord(pdu);
}

PduEntryResult ParsePduEntry(const MessageListEntry& entry)
{
    PduEntryResult result;
    const std::optional<int> index = IndexOf(entry.header);
    QString status;
    if (!index || !common::ExtractQuotedField(status, entry.header, 1))
        return result;
    result.record = MessageFromPdu(entry.body.trimmed());
    if (!result.record) {
        result.reRead = *index;
        return result;
    }
    result.record->m_nIndex = *index;
    result.record->m_nStatus = PduMessageStatus(common::RemoveQuotes(status));
    QString name;
    if (common::ExtractQuotedField(name, entry.header, 2))
        result.record->m_strName = common::RemoveQuotes(name);
    return result;
}

std::optional<StorageCounts> ParseStorageCounts(const QString& reply)
{
    const std::optional<QString> line = common::AnswerLine(reply, QStringLiteral("+CPMS"));
    if (!line)
        return std::nullopt;
    const QString values = common::AnswerValues(*line);
    // The query names each storage before its counts.
    const int first = values.startsWith(u'"') ? 1 : 0;
    const std::optional<int> used = common::NumberField(values, first);
    const std::optional<int> total = common::NumberField(values, first + 1);
    if (!used || !total)
        return std::nullopt;
    return StorageCounts {*used, *total};
}

std::optional<int> StoredMessageIndex(const QString& reply)
{
    const std::optional<QString> line = common::AnswerLine(reply, QStringLiteral("+CMGW"));
    if (!line)
        return std::nullopt;
    bool ok = false;
    const int index = common::AnswerValues(*line).toInt(&ok);
    if (!ok || index < 0)
        return std::nullopt;
    return index;
}

} // namespace dh2
