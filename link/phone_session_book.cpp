// The phonebooks: caller groups, the handset book ("ME") and the SIM book ("AD").
#include "link/phone_session.h"

#include "common/reply_parser.h"
#include "common/text_codec.h"
#include "link/capacities.h"
#include "link/globals.h"
#include "link/phone_session_text.h"
#include "link/record_rules.h"
#include "platform/ansi_width.h"
#include "platform/atoi.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <algorithm>

namespace dh1 {

using namespace phonetext;

namespace {

constexpr int kTypeInternational = 145;
constexpr int kTypeNational = 129;
constexpr int kTypeEmpty = 255;
constexpr int kBetweenBlocksMs = 100;
constexpr int kBeforeDeleteMs = 100;
constexpr int kSimNumberLen = 20;
constexpr int kSimWideNumberLen = 40;
// A number field of a phone line: quotes removed, and a '+' in front of an international
// number that lacks it.
QString PhoneNumber(const QString& field, const QString& type)
{
    QString number = common::RemoveQuotes(field);
    if (!number.isEmpty() && !number.startsWith(u'+') && common::LeadingNumber(type) == kTypeInternational)
        number.prepend(u'+');
    return number;
}

// The number as the phone stores it, with its type of address.
struct AddressField {
    QString number;
    int type;
};

AddressField CleanedNumber(const QString& number, int maxLength)
{
    const QString cleaned = CleanPhoneNumber(number).left(std::max(0, maxLength));
    if (cleaned.isEmpty())
        return {cleaned, kTypeEmpty};
    return {cleaned, cleaned.startsWith(u'+') ? kTypeInternational : kTypeNational};
}

// A name as it fits the phone: maxLen in the GSM alphabet, else as many octets as that many
// septets take, since the phone then stores two bytes per character.
QString CutName(const QString& name, int maxLen)
{
    const int width = common::IsGsmEncodable(name) ? maxLen : CPhoneSession::SeptetsToOctets(maxLen);
    return platform::ansiLeft(name, std::max(0, width));
}

} // namespace

bool CPhoneSession::SelectHandsetBook()
{
    return Connect(false) && Send("AT+CPBS=\"ME\"\r") == AT_OK;
}

bool CPhoneSession::SelectSimBook()
{
    return Connect(false) && Send("AT+CPBS=\"AD\"\r") == AT_OK;
}

bool CPhoneSession::ReadGroups()
{
    if (Send("AT+CPGR=0,6\r") != AT_OK)
        return false;
    g_arrGroupNames.clear();
    return ParseListReply(QStringLiteral("+CPGR"), [&](const QString& line) {
        QString field;
        common::ExtractField(field, line, 1);
        field = common::RemoveQuotes(field);
        bool ok = false;
        const QString name = DecodeBase64Text(field, &ok);
        // A group without a name, or one the codec refuses, is no group list to rely on.
        if (field.isEmpty() || !ok)
            return false;
        g_arrGroupNames << name;
        return true;
    });
}

bool CPhoneSession::ReadBookBlocks(RecordList<CPhoneEntry>& list, int start, int last, int used, bool handset)
{
    const int blockSize = std::max(1, m_nBlockSize);
    const auto readRange = [&](int first, int end) {
        if (Send(RangeCommand("AT+CPBR", first, end)) != AT_OK)
            return false;
        return handset ? ParseHandsetBookReply(list) : ParseSimBookReply(list);
    };

    if (last < blockSize) {
        if (handset)
            ShowProgressF(platform::LoadString(61466), start, last);
        else
            ShowProgress(61465);
        readRange(start, last);
        return m_nResult == AT_OK;
    }

    int first = start;
    int end = start + blockSize;
    if (!handset)
        end = start + blockSize - 1;
    for (;;) {
        ShowProgressF(platform::LoadString(61466), first, end);
        if (!readRange(first, end) || int(list.size()) >= used)
            break;
        const int nextFirst = end + 1;
        const int nextEnd = end + blockSize;
        if (nextFirst > last)
            break;
        if (nextEnd >= last) {
            readRange(nextFirst, last);
            break;
        }
        platform::Sleep(kBetweenBlocksMs);
        first = nextFirst;
        end = nextEnd;
    }
    return m_nResult == AT_OK;
}

void CPhoneSession::ReadUsedEntries(RecordList<CPhoneEntry>& list, int start, int last, bool handset)
{
    if (Send("AT+CPBS?\r") != AT_OK)
        return;
    const std::optional<QString> status = AnswerLine(QStringLiteral("+CPBS"));
    const std::optional<int> used = status ? Required(common::NumberField(*status, 1)) : std::nullopt;
    if (!used || *used <= 0)
        return;
    const size_t before = list.size();
    // Fewer entries than the book says it holds: some were lost on the way, and a shorter book
    // must not pass for the whole.
    if (ReadBookBlocks(list, start, last, *used, handset) && list.size() - before < size_t(*used))
        m_nResult = SESSION_BAD_REPLY;
}

bool CPhoneSession::ReadHandsetBook(RecordList<CPhoneEntry>& list)
{
    if (!Connect(false))
        return false;
    ShowProgress(61465);
    if (!ReadGroups() || Send("AT+CPBS=\"ME\"\r") != AT_OK || Send("AT+CPBR=?\r") != AT_OK)
        return FailRead();

    const std::optional<QString> rangeLine = AnswerLine(QStringLiteral("+CPBR"));
    if (!rangeLine)
        return FailRead();
    const QString& rangeReply = *rangeLine;
    const std::optional<common::IndexRange> range = Required(common::ParseIndexRange(rangeReply));
    if (!range)
        return FailRead();
    g_nHandsetFirstIndex = range->first;
    g_nHandsetCapacity = range->last - range->first + 1;
    NoteLength(g_nHandsetNumberLen, rangeReply, 1);
    NoteLength(g_nHandsetNameLen, rangeReply, 2);
    NoteLength(g_nHandsetEmailLen, rangeReply, 3);
    NoteLength(g_nHandsetMemoLen, rangeReply, 4);
    ReadUsedEntries(list, 0, range->last, true);
    return FinishRead();
}

bool CPhoneSession::ReadSimBook(RecordList<CPhoneEntry>& list)
{
    if (!Connect(false))
        return false;
    if (!ReadGroups() || Send("AT+CPBS=\"AD\"\r") != AT_OK)
        return FailRead();
    if (Send("AT+CPBR=?\r") != AT_OK) {
        if (m_nResult == SESSION_FDN)
            platform::AfxMessageBox(platform::LoadString(61452), platform::MB_OK);
        return FailRead();
    }

    const std::optional<QString> rangeLine = AnswerLine(QStringLiteral("+CPBR"));
    if (!rangeLine)
        return FailRead();
    const QString& rangeReply = *rangeLine;
    const std::optional<common::IndexRange> range = Required(common::ParseIndexRange(rangeReply));
    if (!range)
        return FailRead();
    g_nSimFirstIndex = range->first;
    g_nSimCapacity = range->last;
    g_nSimNumberLen = common::NumberField(rangeReply, 1).value_or(0);
    g_nSimNameLen = common::NumberField(rangeReply, 2).value_or(0);
    // A SIM without room for entries has nothing to read.
    if (g_nSimCapacity > 1 && g_nSimNumberLen != 0 && g_nSimNameLen != 0)
        ReadUsedEntries(list, 1, g_nSimCapacity, false);
    return FinishRead();
}

bool CPhoneSession::ParseHandsetBookReply(RecordList<CPhoneEntry>& list)
{
    return ParseListReply(QStringLiteral("+CPBR"), [&](const QString& line) { return ParseHandsetEntry(line, list); });
}

bool CPhoneSession::ParseSimBookReply(RecordList<CPhoneEntry>& list)
{
    return ParseListReply(QStringLiteral("+CPBR"), [&](const QString& line) { return ParseSimEntry(line, list); });
}

bool CPhoneSession::ParseHandsetEntry(const QString& line, RecordList<CPhoneEntry>& list)
{
    QString fields[11];
    if (!ExtractFields(fields, line))
        return false;
    bool okName = false;
    bool okEmail = false;
    bool okMemo = false;
    auto record = std::make_unique<CPhoneEntry>();
    record->m_nIndex = platform::Atoi(QStringView(fields[0]));
    record->m_nGroup = platform::Atoi(QStringView(fields[1]));
    record->m_strMobile = PhoneNumber(fields[2], fields[3]);
    record->m_strHome = PhoneNumber(fields[4], fields[5]);
    record->m_strOffice = PhoneNumber(fields[6], fields[7]);
    record->m_strName = DecodeBase64Text(common::RemoveQuotes(fields[8]), &okName);
    record->m_strEmail = DecodeBase64Text(common::RemoveQuotes(fields[9]), &okEmail);
    record->m_strMemo = FromPhoneLines(DecodeBase64Text(common::RemoveQuotes(fields[10]), &okMemo));
    record->m_nList = 3;
    if (!okName || !okEmail || !okMemo)
        return false;
    list.push_back(std::move(record));
    return true;
}

bool CPhoneSession::ParseSimEntry(const QString& line, RecordList<CPhoneEntry>& list)
{
    QString fields[5];
    if (!ExtractFields(fields, line))
        return false;
    bool okName = false;
    auto record = std::make_unique<CPhoneEntry>();
    record->m_nSimIndex = platform::Atoi(QStringView(fields[0]));
    record->m_nGroup = platform::Atoi(QStringView(fields[1]));
    record->m_strMobile = PhoneNumber(fields[2], fields[3]);
    record->m_strName = DecodeBase64Text(common::RemoveQuotes(fields[4]), &okName);
    record->m_nList = 4;
    if (!okName)
        return false;
    list.push_back(std::move(record));
    return true;
}

QByteArray CPhoneSession::BuildHandsetWrite(CPhoneEntry& record)
{
    record.m_strName = CutName(StorableText(record.m_strName, kTextUnitLimit), g_nHandsetNameLen);
    const AddressField mobile = CleanedNumber(record.m_strMobile, g_nHandsetNumberLen);
    const AddressField home = CleanedNumber(record.m_strHome, g_nHandsetNumberLen);
    const AddressField office = CleanedNumber(record.m_strOffice, g_nHandsetNumberLen);
    record.m_strMobile = mobile.number;
    record.m_strHome = home.number;
    record.m_strOffice = office.number;
    record.m_strEmail = CutPhoneText(StorableText(record.m_strEmail, kTextUnitLimit), g_nHandsetEmailLen);
    record.m_strMemo = CutPhoneText(StorableText(record.m_strMemo, kTextUnitLimit), g_nHandsetMemoLen);

    const auto quoted = [](const QString& text) { return '"' + text.toLatin1() + '"'; };
    const auto number = [&](const AddressField& field) {
        return quoted(field.number) + ',' + QByteArray::number(field.type);
    };
    return "AT+CPBW=" + IndexText(record.m_nIndex) + ',' + QByteArray::number(record.m_nGroup) + ','
        + number(mobile) + ',' + number(home) + ',' + number(office) + ','
        + quoted(EncodeBase64Text(record.m_strName)) + ',' + quoted(EncodeBase64Text(record.m_strEmail)) + ','
        + quoted(EncodeBase64Text(ToPhoneLines(record.m_strMemo))) + '\r';
}

QByteArray CPhoneSession::BuildSimWrite(CPhoneEntry& record, bool bWide)
{
    record.m_strName = CutName(StorableText(record.m_strName, kTextUnitLimit), g_nSimNameLen);
    const QString number = CleanPhoneNumber(record.m_strMobile);
    const int type = number.startsWith(u'+') ? kTypeInternational : kTypeNational;
    record.m_strMobile = number.left(bWide ? kSimWideNumberLen : kSimNumberLen);
    return "AT+CPBW=" + IndexText(record.m_nSimIndex) + ',' + QByteArray::number(record.m_nGroup) + ",\""
        + record.m_strMobile.toLatin1() + "\"," + QByteArray::number(type) + ",\""
        + EncodeBase64Text(record.m_strName).toLatin1() + "\"\r";
}

bool CPhoneSession::WriteHandsetEntry(CPhoneEntry& record)
{
    // A phone would store an unknown group as it comes.
    if (!HandsetIndexBounds().TakesWrite(record.m_nIndex) || !IsCallerGroup(record.m_nGroup))
        return NothingSent();
    ShowProgress(61467);
    return SendWrite(BuildHandsetWrite(record), record.m_nIndex, true);
}

bool CPhoneSession::WriteSimEntry(CPhoneEntry& record)
{
    if (!SimIndexBounds().TakesWrite(record.m_nSimIndex) || !IsCallerGroup(record.m_nGroup))
        return NothingSent();
    switch (record.m_nCopySource) {
    case 1: ShowProgress(63039); break;
    case 2: ShowProgress(63040); break;
    case 3: ShowProgress(63041); break;
    default: ShowProgress(61467); break;
    }
    return SendWrite(BuildSimWrite(record, true), record.m_nSimIndex);
}

bool CPhoneSession::DeleteHandsetEntry(int nIndex)
{
    if (!HandsetIndexBounds().Contains(nIndex))
        return NothingSent();
    return SendDelete("AT+CPBW", nIndex, 61468, kBeforeDeleteMs);
}

bool CPhoneSession::DeleteSimEntry(int nIndex)
{
    if (!SimIndexBounds().Contains(nIndex))
        return NothingSent();
    return SendDelete("AT+CPBW", nIndex, 61468, kBeforeDeleteMs);
}

} // namespace dh1
