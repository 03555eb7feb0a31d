// Stored messages, read in PDU mode from the SIM and the handset storage.
#include "link/phone_session.h"

#include "common/answer_lines.h"
#include "common/reply_parser.h"
#include "link/capacities.h"
#include "link/phone_session_text.h"
#include "platform/atoi.h"
#include "platform/clock.h"

namespace dh1 {

namespace {

constexpr int kStorageHandset = 3;
constexpr int kStorageSim = 4;
constexpr int kAfterHandsetListMs = 500;

int StatusOf(int stat)
{
    switch (stat) {
    case 0: return CSmsEntry::StatusUnread;
    case 1: return CSmsEntry::StatusRead;
    case 2: return CSmsEntry::StatusUnsent;
    case 3: return CSmsEntry::StatusSent;
    default: return CSmsEntry::StatusUnsent;
    }
}

QByteArray SelectStorage(int storage)
{
    return storage == kStorageSim ? QByteArray("AT+CPMS=\"SM\",\"SM\",\"\"\r") : QByteArray("AT+CPMS=\"ME\",\"ME\",\"\"\r");
}

} // namespace

bool CPhoneSession::ReadMessages(RecordList<CSmsEntry>& list)
{
    if (!Connect(true))
        return false;
    if (Send("AT+CMGF=0\r") != AT_OK || Send("AT+CPMS=\"ME\",\"SM\"\r") != AT_OK)
        return FailRead();

    const std::optional<QString> status = AnswerLine(QStringLiteral("+CPMS"));
    if (!status)
        return FailRead();
    const QString counts = QStringView(*status).mid(6).trimmed().toString();
    const auto count = [&](int field) { return common::NumberField(counts, field).value_or(0); };
    const std::optional<int> handsetUsed = Required(common::NumberField(counts, 0));
    const std::optional<int> simUsed = Required(common::NumberField(counts, 2));
    if (!handsetUsed || !simUsed)
        return FailRead();
    g_nSmsHandsetUsed = *handsetUsed;
    g_nSmsHandsetTotal = count(1);
    g_nSmsSimUsed = *simUsed;
    g_nSmsSimTotal = count(3);

    // SIM storage first, then the handset's.
    const auto readStorage = [&](int storage, int used) {
        if (Send(SelectStorage(storage)) != AT_OK || Send("AT+CMGL=4\r") != AT_OK)
            return false;
        if (storage == kStorageHandset)
            platform::Sleep(kAfterHandsetListMs);
        // A list that does not parse fails the whole read as an unreadable reply, and so does
        // one with fewer messages than the storage holds: some were lost on the way.
        const size_t before = list.size();
        if (!ParseMessageList(list, storage) || list.size() - before < size_t(used)) {
            m_nResult = SESSION_BAD_REPLY;
            return false;
        }
        return true;
    };
    if (g_nSmsSimUsed > 0 && !readStorage(kStorageSim, g_nSmsSimUsed))
        return FailRead();
    if (g_nSmsHandsetUsed > 0)
        readStorage(kStorageHandset, g_nSmsHandsetUsed);

    const bool ok = FinishRead();
    if (ok)
        AfterReadMessages(list);
    return ok;
}

bool CPhoneSession::ParseMessageList(RecordList<CSmsEntry>& list, int nStorage)
{
    // Each header line is followed by its PDU in hexadecimal.
    return ParseListReply(QStringLiteral("+CMGL"), common::IsHexLine, [&](const QString& line) {
        auto record = std::make_unique<CSmsEntry>();
        if (!ParseMessageHeader(line, *record))
            return false;
        // The first piece is the message itself: where it is stored and under which index.
        record->m_parts[0].m_nStorage = nStorage;
        record->m_parts[0].m_nIndex = record->m_nIndex;
        record->m_nList = nStorage;
        list.push_back(std::move(record));
        return true;
    });
}

bool CPhoneSession::ParseMessageHeader(const QString& segment, CSmsEntry& record)
{
    if (segment.isEmpty())
        return false;
    // The header line ends at the first CR; its alpha name is quoted and may hold commas.
    const qsizetype cr = segment.indexOf(u'\r');
    const QString header = segment.left(cr);
    QString index;
    QString stat;
    if (!common::ExtractQuotedField(index, header, 0) || !common::ExtractQuotedField(stat, header, 1))
        return false;
    record.m_nIndex = platform::Atoi(QStringView(index));
    record.m_nStatus = StatusOf(platform::Atoi(QStringView(stat)));
    QString name;
    common::ExtractQuotedField(name, header, 2);
    record.m_strName = common::RemoveQuotes(name);
    record.m_strPdu = cr < 0 ? QString() : segment.mid(cr + 2);
    return true;
}

bool CPhoneSession::AfterReadMessages(RecordList<CSmsEntry>&)
{
    return false;
}

bool CPhoneSession::DeleteMessage(int nIndex, int nStorage)
{
    if (nIndex < 1 || (nStorage != kStorageHandset && nStorage != kStorageSim))
        return NothingSent();
    if (Send(SelectStorage(nStorage)) != AT_OK)
        return false;
    return SendAction(phonetext::IndexCommand("AT+CMGD", nIndex)) == AT_OK;
}

bool CPhoneSession::SendSms(CSmsEntry&, bool, bool)
{
    return NothingSent();
}

} // namespace dh1
