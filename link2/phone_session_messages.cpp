// Short messages: listings in text and PDU mode, storing a text through the prompt, sending a
// stored message, deleting one.
#include "link2/phone_session.h"

#include "link2/message_parser.h"
#include "link2/model_profile.h"
#include "platform/clock.h"
#include "platform/phone_number.h"

#include <algorithm>

namespace dh2 {

namespace {

constexpr int kLoadingText = 62467;    // "Loading data... %d-%d"
constexpr int kSavingText = 62468;     // "Saving data..."
constexpr int kMemoryFullText = 62455; // "Memory is full"
constexpr int kSendingText = 62507;    // "Sending Message..."
constexpr char kCtrlZ = 26;
constexpr char kEsc = 27;
constexpr int kBeforeCtrlZMs = 1000;
constexpr int kAfterEscapeMs = 500;

// While it lives, replies list messages in text: a message may well read ">", "OK" or "RING",
// and none of that ends the reply.
class MessageTextReplies {
public:
    explicit MessageTextReplies(CATPort& port) : m_port(port) { m_port.m_bPromptIsNotSuccess = true; }
    ~MessageTextReplies() { m_port.m_bPromptIsNotSuccess = false; }
    MessageTextReplies(const MessageTextReplies&) = delete;
    MessageTextReplies& operator=(const MessageTextReplies&) = delete;

private:
    CATPort& m_port;
};

QByteArray Numbered(const char* command, int index)
{
    return command + QByteArray::number(index) + '\r';
}

} // namespace

QString CPhoneSession::DecodeMessageText(const QString& text, QChar codingMark)
{
    return dh2::DecodeMessageText(text, codingMark);
}

bool CPhoneSession::OpenMessageRead()
{
    if (!OpenSession())
        return false;
    ShowProgress(kLoadingText);
    return true;
}

bool CPhoneSession::AppendTextMessage(const MessageListEntry& item, RecordList<CSmsEntry>& list)
{
    auto record = std::make_unique<CSmsEntry>();
    if (!ParseTextMessageHeader(item.header, *record)) {
        m_nResult = SESSION_BAD_ENTRY;
        return false;
    }
    if (m_bTextIsBase64) {
        QString field = item.body;
        field.remove(u'\r').remove(u'\n').remove(u' ');
        record->m_strText = NormalisedLineBreaks(DecodeBase64Text(field));
    } else {
        record->m_strText = DecodeMessageText(item.body, item.header.isEmpty() ? QChar() : item.header.back());
    }
    list.push_back(std::move(record));
    ShowProgress(kLoadingText);
    return true;
}

bool CPhoneSession::ReadMessagesText(RecordList<CSmsEntry>& list)
{
    if (!OpenMessageRead())
        return false;
    if (!SetEcho(0)
        || !SendAll({"AT+SSLP=2000\r", "AT+SBEG\r", ModelProfile().syncCharset ? "AT+CSCS=\"SYNC\"\r" : "AT+CSCS=\"GSM\"\r"})) {
        Disconnect();
        return false;
    }
    if (Send("AT+CMGF=1\r") == AT_OK) {
        // How many messages the listing holds, to tell its headers from lines a text holds.
        std::optional<int> used;
        if (Send("AT+CPMS?\r") == AT_OK) {
            if (const std::optional<StorageCounts> counts = ParseStorageCounts(m_strReply))
                used = counts->used;
        }
        const MessageTextReplies listing(m_port);
        if (Send("AT+CMGL=\"ALL\"\r") == AT_OK)
            ParseTextMessageList(m_strReply, used, list);
    }
    return Finish();
}

void CPhoneSession::ParseTextMessageList(const QString& reply, std::optional<int> used, RecordList<CSmsEntry>& list)
{
    const QList<MessageListEntry> entries = TextListingEntries(reply);
    if (entries.isEmpty() && !TrimMessageReply(reply).isEmpty()) {
        m_nResult = SESSION_BAD_LIST;
        return;
    }
    if (used && entries.size() == *used) {
        for (const MessageListEntry& entry : entries) {
            if (!AppendTextMessage(entry, list))
                return;
        }
        return;
    }
    // More headers than messages, or a count unknown: some header may stand in a text, and the
    // text before it would be cut. Each listed message is read by itself.
    std::vector<int> indices;
    for (const MessageListEntry& entry : entries) {
        CSmsEntry header;
        ParseTextMessageHeader(entry.header, header);
        if (std::find(indices.begin(), indices.end(), header.m_nIndex) == indices.end())
            indices.push_back(header.m_nIndex);
    }
    int found = 0;
    for (const int index : indices) {
        const int result = ReadTextMessage(index, list);
        if (result == AT_OK)
            ++found;
        else if (result != AT_CMS_ERROR) // no message at a header a text made up
            return;
    }
    // A listing that lost messages is no listing of the storage.
    m_nResult = used && found != *used ? int(SESSION_BAD_LIST) : int(AT_OK);
}

int CPhoneSession::ReadTextMessage(int index, RecordList<CSmsEntry>& list)
{
    if (Send(Numbered("AT+CMGR=", index)) != AT_OK)
        return m_nResult;
    std::optional<MessageListEntry> entry = TextReadEntry(m_strReply);
    if (!entry) {
        m_nResult = SESSION_BAD_ENTRY;
        return m_nResult;
    }
    entry->header = QString::number(index) + u',' + entry->header;
    AppendTextMessage(*entry, list);
    return m_nResult;
}

bool CPhoneSession::ReadMessages(RecordList<CSmsEntry>& list)
{
    m_arrReRead.clear();
    if (!OpenMessageRead())
        return false;
    if (!SetEcho(0)
        || !SendAll({"AT+SSLP=2000\r", "AT+SBEG\r", "AT+CSCS=\"GSM\"\r", "AT+CMGF=0\r", "AT+CMGL=4\r"})) {
        Disconnect();
        return false;
    }
    const std::optional<QList<MessageListEntry>> entries = PduListingEntries(m_strReply);
    if (!entries)
        return Fail(SESSION_BAD_LIST);
    for (const MessageListEntry& entry : *entries) {
        PduEntryResult result = ParsePduEntry(entry);
        if (result.Failed())
            return Fail(SESSION_BAD_ENTRY);
        if (result.reRead) {
            m_arrReRead.push_back(*result.reRead);
            continue;
        }
        list.push_back(std::move(result.record));
        ShowProgress(kLoadingText);
    }
    ReReadMessages(list);
    return Finish();
}

void CPhoneSession::ReReadMessages(RecordList<CSmsEntry>& list)
{
    if (Send("AT+CMGF=1\r") != AT_OK || (ModelProfile().syncCharset && Send("AT+CSCS=\"SYNC\"\r") != AT_OK))
        return;
    const MessageTextReplies texts(m_port);
    for (const int index : m_arrReRead) {
        if (ReadTextMessage(index, list) != AT_OK)
            return;
    }
}

bool CPhoneSession::StoreMessage(CSmsEntry& entry)
{
    // The phone keeps no message without text.
    if (entry.m_strText.isEmpty())
        return NothingSent();
    if (!Connect())
        return FailUnchanged(false);
    ShowProgress(kSavingText);
    if (Send("AT+CPMS=\"SM\",\"SM\"\r") != AT_OK)
        return FailUnchanged(true);
    const std::optional<StorageCounts> counts = ParseStorageCounts(m_strReply);
    if (!counts)
        return Fail(SESSION_BAD_LIST);
    if (counts->used >= counts->total) {
        ShowProgress(kMemoryFullText);
        Disconnect();
        return false;
    }

    QString text = entry.m_strText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    std::optional<int> index;
    // Only the Ctrl-Z that ends the text makes the phone store it.
    bool ended = false;
    bool stored = false;
    if (Send("AT+CMGF=1\r") == AT_OK && Send("AT+CMGW=\"\"\r") == AT_PROMPT
        && Send(EncodeBase64Text(text).toLatin1(), false) == AT_OK) {
        platform::Sleep(kBeforeCtrlZMs);
        ended = true;
        stored = Send(QByteArray(1, kCtrlZ)) == AT_OK;
        if (stored) {
            QString reply = m_strReply;
            if (reply.startsWith(QChar(kCtrlZ)))
                reply.remove(0, 1);
            index = StoredMessageIndex(reply);
            if (!index)
                m_nResult = SESSION_BAD_ENTRY;
        }
    }
    if (index) {
        entry.m_nIndex = *index;
        Disconnect();
        return true;
    }
    // Stored at an index the phone did not name, or perhaps stored: the entry keeps no index.
    const bool unconfirmed = stored || (ended && m_bUnconfirmed);
    // Leave the text prompt, so that the phone takes commands again: also when a cancel or the
    // program's end stopped the wait for a late prompt, else the closing commands would become
    // the message's text.
    m_port.SendClosingCommand(QByteArray(1, kEsc));
    platform::Sleep(kAfterEscapeMs);
    Disconnect();
    m_bUnconfirmed = unconfirmed;
    return false;
}

std::optional<QString> CPhoneSession::SendNumber(const QString& number)
{
    const QString cleaned = platform::kMessageNumbers.Clean(number);
    if (cleaned.isEmpty() || cleaned == QLatin1String("+") || cleaned.size() > kMaxSendNumber)
        return std::nullopt;
    return cleaned;
}

bool CPhoneSession::SendStoredMessage(const CSmsEntry& entry)
{
    const std::optional<QString> number = SendNumber(entry.m_strNumber);
    if (entry.m_nIndex < 0 || !number)
        return NothingSent();
    if (!Connect())
        return FailUnchanged(false);
    bool sent = false;
    if (Send("AT+CMGF=1\r") == AT_OK) {
        ShowProgress(kSendingText);
        Send("AT+CMSS=" + QByteArray::number(entry.m_nIndex) + ",\"" + number->toLatin1() + "\"\r");
        sent = true;
    }
    const bool ok = Finish();
    m_bUnconfirmed = sent && m_bUnconfirmed;
    return ok;
}

bool CPhoneSession::DeleteMessage(int nIndex)
{
    return Send(Numbered("AT+CMGD=", nIndex)) == AT_OK;
}

} // namespace dh2
