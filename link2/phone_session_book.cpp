// The phonebooks: the caller-group table, the handset book ("PM") and the SIM book ("SM").
#include "link2/phone_session.h"

#include "common/text_codec.h"
#include "link2/model_profile.h"
#include "link2/reply_parser.h"
#include "platform/ansi_codepage.h"
#include "platform/ansi_width.h"
#include "platform/clock.h"
#include "platform/phone_number.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <algorithm>

namespace dh2 {

namespace {

constexpr int kSavingText = 62468;  // "Saving data..."
constexpr int kLoadingText = 62467; // "Loading data... %d-%d"
constexpr int kFaxLeftOutText = 64320; // "The phone cannot hold the whole entry ..."
constexpr int kNoGroupOnPhone = 255;
constexpr int kTextFieldLimit = 24; // e-mail and fax
constexpr int kPairPauseMs = 10;
constexpr int kAfterBulkFailureMs = 1000;

QByteArray RangeCommand(int first, int last)
{
    return "AT+CPBR=" + QByteArray::number(first) + ',' + QByteArray::number(last) + '\r';
}

QString PaddedTo(const QString& text, int width)
{
    return text + QString(std::max(0, width - platform::ansiWidth(text)), u' ');
}

// A plain field as the phone keeps it: printable ASCII without the double quote. The field
// holds bytes, which the phone shows one by one; no code page's letters would read back.
QString PlainField(const QString& text)
{
    QString plain = text;
    plain.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() > 0x7E || c == u'"'; });
    return plain;
}

// The group a write sends: a position of the table, 255 for none (7 is "No group").
int GroupOnPhone(int group)
{
    return group >= 0 && group < int(g_arrGroups.size()) && group != CPhoneEntry::kNoGroup ? group : kNoGroupOnPhone;
}

QByteArray TypeOf(const QString& number)
{
    return number.startsWith(u'+') ? "145" : "129";
}

// The name as the phone stores it: one blank for none, cut to the limit (to the bytes the septets
// of the limit take when the name needs the wide form). 14 characters under a limit of 14 become
// 13, since the phone keeps one place for itself there.
QString CutName(const QString& name, int limit, bool gsm)
{
    QString cut = platform::ansiLeft(name.isEmpty() ? QStringLiteral(" ") : name, gsm ? limit : (limit * 7 + 7) / 8);
    if (limit == 14 && platform::ansiWidth(cut) == 14)
        cut = platform::ansiLeft(cut, 13);
    return cut;
}

// The name as the phone stores it from what a Base64 field can carry.
QString StorableName(const QString& name, int limit)
{
    const QString storable = common::StorableText(name, CPhoneSession::kTextUnitLimit);
    return CutName(storable, limit, common::CTextCodec(common::GsmDialect::Second).IsGsmEncodable(storable));
}

// The name field: names of 14 characters (under a larger limit) and of 20 go with one blank more.
QString NameField(const CPhoneSession& session, const QString& name, int limit)
{
    const int width = platform::ansiWidth(name);
    return session.EncodeBase64Text((width == 14 && limit > 14) || width == 20 ? name + u' ' : name);
}

} // namespace

bool CPhoneSession::ReadGroups()
{
    const CModelProfile& profile = ModelProfile();
    if (!profile.callerGroups)
        return true;
    if (Send("AT+CPGR=?\r") != AT_OK)
        return false;
    const std::optional<GroupRange> range = ParseGroupRange(m_strReply);
    if (!range) {
        SetResult(SESSION_BAD_GROUPS);
        return false;
    }
    if (Send("AT+CPGR=" + QByteArray::number(range->first) + ',' + QByteArray::number(range->last) + '\r') != AT_OK)
        return false;
    // Read into a table of its own: a list that does not parse keeps the one there is.
    std::optional<GroupTable> groups = ParseGroupList(m_strReply);
    if (!groups) {
        SetResult(SESSION_BAD_GROUPS);
        return false;
    }
    if (profile.GetModel() == CModelProfile::TypeCorvo && groups->size() == kGroupCount - 1)
        groups->emplace_back(QStringLiteral("No group"), 0, 200);
    if (groups->size() == kGroupCount)
        g_arrGroups = std::move(*groups);
    else
        ResetDefaultGroups();
    return true;
}

void CPhoneSession::NoteHandsetLimits(const QString& reply)
{
    const BookLimits limits = ParseBookLimits(reply);
    m_nHandsetNumberLimit = limits.numberLimit.value_or(m_nHandsetNumberLimit);
    m_nHandsetNameLimit = limits.nameLimit.value_or(m_nHandsetNameLimit);
    if (ModelProfile().nameCappedAt20)
        m_nHandsetNameLimit = std::min(m_nHandsetNameLimit, 20);
}

bool CPhoneSession::ReadBookRange(const QByteArray& command, bool sim, RecordList<CPhoneEntry>& list)
{
    if (Send(command) != AT_OK)
        return false;
    if (!ParseBookReply(m_strReply, sim, BookFormatOf(ModelProfile()), list)) {
        m_nResult = SESSION_BAD_ENTRY;
        return false;
    }
    return true;
}

bool CPhoneSession::ReadHandsetBook(RecordList<CPhoneEntry>& list)
{
    if (!OpenRead(1, m_nHandsetCapacity))
        return false;
    if (!ReadGroups())
        return Finish();
    if (Send("AT+CPBS=\"PM\"\r") != AT_OK || Send("AT+CPBR=?\r") != AT_OK)
        return Finish();
    NoteHandsetLimits(m_strReply);

    // The whole book in one command; a phone that cannot list it at once is read in pairs.
    ShowProgressF(kLoadingText, 1, m_nHandsetCapacity);
    const size_t before = list.size();
    if (ReadBookRange(RangeCommand(1, m_nHandsetCapacity), false, list))
        return Finish();
    if (m_nResult == SESSION_BAD_ENTRY) {
        list.resize(before);
        m_nResult = SESSION_BAD_BULK_READ;
    }
    platform::Sleep(kAfterBulkFailureMs);
    for (int first = 1; first <= m_nHandsetCapacity; first += 2) {
        const int last = std::min(first + 1, m_nHandsetCapacity);
        ShowProgressF(kLoadingText, first, last);
        platform::Sleep(kPairPauseMs);
        if (!ReadBookRange(RangeCommand(first, last), false, list))
            break;
    }
    return Finish();
}

bool CPhoneSession::ReadSimLimits(int& capacity)
{
    if (Send("AT+CPBR=?\r") != AT_OK) {
        platform::AfxMessageBox(QStringLiteral("SIM is not ready"));
        return false;
    }
    const BookLimits limits = ParseBookLimits(m_strReply);
    // A SIM that reports no range, or room for one entry, reads as empty.
    capacity = limits.capacity.value_or(0);
    if (capacity > 1)
        m_nSimCapacity = capacity;
    m_nSimNumberLimit = limits.numberLimit.value_or(m_nSimNumberLimit);
    m_nSimNameLimit = limits.nameLimit.value_or(m_nSimNameLimit);
    return true;
}

bool CPhoneSession::ReadSimEntries(int capacity, RecordList<CPhoneEntry>& list)
{
    constexpr int kOneByOneCapacity = 255;
    constexpr int kBlock = 10;
    if (capacity == kOneByOneCapacity) {
        for (int index = 1; index <= capacity; ++index) {
            ShowProgressF(kLoadingText, index, index);
            platform::Sleep(kPairPauseMs);
            if (ReadBookRange("AT+CPBR=" + QByteArray::number(index) + '\r', true, list))
                continue;
            // An empty place may answer with an error; a silent, closed or cancelled line ends
            // the read.
            if (m_nResult == SESSION_BAD_ENTRY || m_nResult == AT_NO_PORT || m_nResult == AT_TIMEOUT
                || m_nResult == AT_WRITE_FAILED || m_nResult == AT_READ_FAILED || m_nResult == AT_CANCELLED)
                return false;
        }
        m_nResult = AT_OK;
        return true;
    }
    const int type = ModelProfile().GetModel();
    if (type == CModelProfile::TypePilla || type == CModelProfile::TypeTondav) {
        for (int first = 1; first <= capacity; first += kBlock) {
            const int last = std::min(first + kBlock - 1, capacity);
            ShowProgressF(kLoadingText, first, last);
            if (!ReadBookRange(RangeCommand(first, last), true, list))
                return false;
        }
        return true;
    }
    const int half = capacity / 2;
    for (const auto& [first, last] : {std::pair(1, half), std::pair(half + 1, capacity)}) {
        ShowProgressF(kLoadingText, first, last);
        if (!ReadBookRange(RangeCommand(first, last), true, list)) {
            if (m_nResult != SESSION_BAD_ENTRY)
                SetResult(SESSION_BAD_LIST);
            return false;
        }
    }
    return true;
}

bool CPhoneSession::ReadSimBook(RecordList<CPhoneEntry>& list)
{
    if (!OpenRead(1, m_nSimCapacity))
        return false;
    if (!ReadGroups() || Send("AT+CPBS=\"SM\"\r") != AT_OK)
        return Finish();
    int capacity = 0;
    if (!ReadSimLimits(capacity))
        return Finish();
    platform::Sleep(kPairPauseMs);
    if (capacity > 1)
        ReadSimEntries(capacity, list);
    return Finish();
}

bool CPhoneSession::SelectBook(const char* command, bool sim)
{
    if (!Connect())
        return false;
    int capacity = 0;
    if (!ReadGroups() || Send(command) != AT_OK || (sim && !ReadSimLimits(capacity))) {
        Disconnect();
        return false;
    }
    return true;
}

bool CPhoneSession::SelectHandsetBook()
{
    return SelectBook("AT+CPBS=\"PM\"\r", false);
}

bool CPhoneSession::SelectSimBook()
{
    return SelectBook("AT+CPBS=\"SM\"\r", true);
}

bool CPhoneSession::CountInGroup(CPhoneEntry& entry)
{
    if (!ModelProfile().callerGroups)
        return true;
    if (entry.m_nGroup == -1)
        entry.m_nGroup = CPhoneEntry::kNoGroup;
    if (entry.m_nGroup < 0 || entry.m_nGroup >= int(g_arrGroups.size()))
        return true;
    CGroupEntry& group = g_arrGroups[size_t(entry.m_nGroup)];
    // A capacity of 0 is one the phone has not told (the default groups).
    if (group.m_nCapacity > 0 && group.m_nMembers >= group.m_nCapacity) {
        platform::AfxMessageBox(QStringLiteral("Member is full"));
        m_nResult = AT_CGR_ERROR;
        return false;
    }
    if (entry.m_bCountsInGroup)
        ++group.m_nMembers;
    return true;
}

QByteArray CPhoneSession::BuildHandsetWrite(CPhoneEntry& entry, bool* faxLeftOut) const
{
    const CModelProfile& profile = ModelProfile();
    entry.m_strName = StorableName(entry.m_strName, m_nHandsetNameLimit);
    const QString name = NameField(*this, entry.m_strName, m_nHandsetNameLimit);

    // A number holds what a number field takes, whatever its source (a PIM card, a CSV file).
    QString* numbers[3] = {&entry.m_strMobile, &entry.m_strOffice, &entry.m_strHome};
    for (QString* number : numbers)
        *number = platform::kDeskhand2Numbers.Clean(*number).left(std::max(0, m_nHandsetNumberLimit));
    // The first number there is goes first; each kind follows in its turn.
    int first = 0;
    while (first < 2 && numbers[first]->isEmpty())
        ++first;
    QByteArray fields;
    for (int slot = 0; slot < 3; ++slot) {
        const int source = (first + slot) % 3;
        QString number = *numbers[source];
        QByteArray type = TypeOf(number);
        if (slot > 0 && number.isEmpty()) {
            number = QStringLiteral(" ");
            type.clear();
        }
        const QByteArray text = '"' + platform::ToAnsi(number.replace(u'P', u'+')) + '"';
        const QByteArray kind = QByteArray::number(source + 1);
        // The name stands after the first number's type.
        fields += slot == 0 ? text + ',' + type + ",\"" + name.toLatin1() + "\"," + kind : ',' + text + ',' + type + ',' + kind;
    }

    entry.m_strEmail = common::StorableText(entry.m_strEmail, kTextUnitLimit);
    entry.m_strEmail = platform::ansiLeft(entry.m_strEmail, IsGsmText(entry.m_strEmail) ? kTextFieldLimit : 21);
    const int emailWidth = platform::ansiWidth(entry.m_strEmail);
    const QString email = entry.m_strEmail.isEmpty() ? QStringLiteral(" ")
        : emailWidth >= 14 && emailWidth < kTextFieldLimit ? PaddedTo(entry.m_strEmail, kTextFieldLimit)
                                                          : entry.m_strEmail;

    entry.m_strFax = platform::ansiLeft(
        profile.base64Fax ? common::StorableText(entry.m_strFax, kTextUnitLimit) : PlainField(entry.m_strFax), kTextFieldLimit);
    const int faxWidth = platform::ansiWidth(entry.m_strFax);
    const QString fax = entry.m_strFax.isEmpty() ? QStringLiteral(" ")
        : faxWidth >= 14 && faxWidth < 26 ? PaddedTo(entry.m_strFax, 26)
                                          : entry.m_strFax;
    const auto faxField = [&](const QString& text) {
        return profile.base64Fax ? EncodeBase64Text(text).toLatin1() : platform::ToAnsi(text);
    };
    const auto build = [&](const QByteArray& faxText) {
        QByteArray command = "AT+CPBW=" + QByteArray::number(entry.m_nIndex) + ',' + fields + ",\""
            + EncodeBase64Text(email).toLatin1() + "\",\"" + faxText + '"';
        if (profile.callerGroups)
            command += ',' + QByteArray::number(GroupOnPhone(entry.m_nGroup));
        return command + '\r';
    };
    QByteArray command = build(faxField(fax));
    const bool leftOut = command.size() >= kMaxHandsetCommand;
    // The phone takes no longer line: the fax goes, and the entry holds what the phone has.
    if (leftOut) {
        command = build(faxField(QString()));
        entry.m_strFax.clear();
    }
    if (faxLeftOut)
        *faxLeftOut = leftOut;
    return command;
}

QByteArray CPhoneSession::BuildSimWrite(CPhoneEntry& entry) const
{
    entry.m_strName = StorableName(entry.m_strName, m_nSimNameLimit);
    const QString name = NameField(*this, entry.m_strName, m_nSimNameLimit);
    QString number;
    for (const QString* candidate : {&entry.m_strMobile, &entry.m_strOffice, &entry.m_strHome}) {
        if (!candidate->isEmpty()) {
            number = *candidate;
            break;
        }
    }
    number = platform::kDeskhand2Numbers.Clean(number).left(std::max(0, m_nSimNumberLimit));
    // The entry holds what the phone has: one number, cleaned and cut, which it lists as mobile.
    entry.m_strMobile = number;
    entry.m_strOffice.clear();
    entry.m_strHome.clear();
    if (number.isEmpty())
        number = QStringLiteral(" ");
    QByteArray command = "AT+CPBW=" + QByteArray::number(entry.m_nSimIndex) + ",\"" + platform::ToAnsi(number) + "\","
        + TypeOf(number) + ",\"" + name.toLatin1() + '"';
    if (ModelProfile().callerGroups)
        command += ',' + QByteArray::number(GroupOnPhone(entry.m_nGroup));
    return command + '\r';
}

bool CPhoneSession::GroupFits(int group) const
{
    // Without caller groups the phone keeps none, and no group is sent.
    return !ModelProfile().callerGroups || group == -1 || (group >= 0 && group < int(g_arrGroups.size()));
}

bool CPhoneSession::AddHandsetEntry(CPhoneEntry& entry)
{
    if (entry.m_nIndex < 1 || entry.m_nIndex > m_nHandsetCapacity || !GroupFits(entry.m_nGroup))
        return NothingSent();
    ShowProgress(kSavingText);
    if (!CountInGroup(entry))
        return false;
    bool faxLeftOut = false;
    if (Send(BuildHandsetWrite(entry, &faxLeftOut)) != AT_OK)
        return false;
    if (faxLeftOut)
        platform::AfxMessageBox(platform::LoadString(kFaxLeftOutText).arg(entry.m_strName), platform::MB_ICONINFORMATION);
    return true;
}

bool CPhoneSession::AddSimEntry(CPhoneEntry& entry)
{
    if (entry.m_nSimIndex < 1 || entry.m_nSimIndex > m_nSimCapacity || !GroupFits(entry.m_nGroup))
        return NothingSent();
    ShowProgress(kSavingText);
    return Send(BuildSimWrite(entry)) == AT_OK;
}

bool CPhoneSession::DeleteEntry(int nIndex, int nLast)
{
    if (nIndex < 1 || nIndex > nLast)
        return NothingSent();
    return Send("AT+CPBW=" + QByteArray::number(nIndex) + '\r') == AT_OK;
}

bool CPhoneSession::DeleteHandsetEntry(int nIndex)
{
    return DeleteEntry(nIndex, m_nHandsetCapacity);
}

bool CPhoneSession::DeleteSimEntry(int nIndex)
{
    return DeleteEntry(nIndex, m_nSimCapacity);
}

} // namespace dh2
