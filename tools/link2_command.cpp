#include "tools/link2_command.h"

#include "common/answer_lines.h"
#include "common/reply_parser.h"
#include "link2/message_parser.h"
#include "link2/model_profile.h"
#include "link2/phone_session.h"
#include "link2/sms_pdu.h"
#include "platform/phone_number.h"
#include "platform/serial/com_port.h"
#include "tools/link2_json.h"
#include "tools/tool_main.h"

#include <QJsonArray>

#include <algorithm>

namespace dh2 {

namespace {

const QStringList kBooks = {QStringLiteral("handset"), QStringLiteral("sim")};

// An index of the command line: digits alone, nothing else goes into a command. Nothing, and
// the reason, when it is none.
std::optional<int> IndexArgument(const QString& text, QString* error)
{
    bool isNumber = false;
    const int index = text.toInt(&isNumber);
    const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (isNumber && index < 0 && text.startsWith(u'-'))
        *error = QStringLiteral("index %1 is below 0").arg(index);
    else if (!isNumber || !digits)
        *error = QStringLiteral("\"%1\" is not an index").arg(text);
    else
        return index;
    return std::nullopt;
}

// Why a number of the command line is none a stored message can be sent to: it must hold what
// the session would send, nothing more. Nothing when it is one.
std::optional<QString> SendNumberProblem(const QString& number)
{
    if (CPhoneSession::SendNumber(number) == number)
        return std::nullopt;
    const QString problem = QStringLiteral("\"%1\" is no number a message can be sent to: ").arg(number);
    if (platform::kMessageNumbers.Clean(number) == number && number.size() > CPhoneSession::kMaxSendNumber)
        return problem + QStringLiteral("it has %1 characters, the phone takes %2").arg(number.size()).arg(CPhoneSession::kMaxSendNumber);
    return problem + QStringLiteral("digits, '*' and '#', and a '+' in front");
}

// What a transport's result code or a session code says went wrong.
QString ResultReason(int result)
{
    switch (result) {
    case AT_NO_PORT: return QStringLiteral("the line was lost");
    case AT_PROMPT: return QStringLiteral("the phone waits for text");
    case AT_ERROR: return QStringLiteral("the phone answered ERROR");
    case AT_CME_ERROR: return QStringLiteral("the phone answered +CME ERROR");
    case AT_CMS_ERROR: return QStringLiteral("the phone answered +CMS ERROR");
    case AT_CGR_ERROR: return QStringLiteral("the caller group is full");
    case AT_TIMEOUT: return QStringLiteral("the phone did not answer in time");
    case AT_WRITE_FAILED: return QStringLiteral("writing to the line failed");
    case AT_READ_FAILED: return QStringLiteral("reading from the line failed");
    case AT_RING: return QStringLiteral("a call came in");
    case AT_CANCELLED: return QStringLiteral("cancelled");
    case SESSION_BAD_BULK_READ: return QStringLiteral("the book did not read in one piece");
    case SESSION_BAD_LIST: return QStringLiteral("a list did not read");
    case SESSION_BAD_GROUPS: return QStringLiteral("the caller groups did not read");
    case SESSION_BAD_ENTRY: return QStringLiteral("an entry the phone listed does not read");
    case SESSION_NOTHING_SENT: return QStringLiteral("a value the phone cannot keep; nothing was sent");
    case SESSION_NOT_SUPPORTED: return QStringLiteral("the phone is no supported model");
    case SESSION_RESYNC_FAILED: return QStringLiteral("the phone did not enter its synchronisation mode");
    case SESSION_WAKE_UP_FAILED: return QStringLiteral("the phone did not wake up");
    default: return QStringLiteral("result %1").arg(result);
    }
}

// What ended an operation, as the session's result and its cause say; `list` names what a list
// read (10) was reading.
QString FailureReason(const CPhoneSession& session, const QString& list)
{
    const int result = session.m_nResult;
    const QString cause = session.m_nCause ? ": " + ResultReason(session.m_nCause) : QString();
    switch (result) {
    case SESSION_BAD_LIST:
        return (list.isEmpty() ? ResultReason(result) : list + QStringLiteral(" did not read")) + cause;
    case SESSION_NOT_SUPPORTED:
        return cause.isEmpty() ? ResultReason(result) : QStringLiteral("the phone's identification failed") + cause;
    case SESSION_RESYNC_FAILED:
        return ResultReason(result) + cause;
    default:
        return ResultReason(result);
    }
}

// The error of an operation whose deciding command got no answer.
QString UnconfirmedReason(const CPhoneSession& session, const QString& mayHave)
{
    return tools::UnconfirmedText(ResultReason(session.m_nResult), mayHave);
}

// Why the phone cannot keep a schedule record, for the driver's refusal.
QString ScheduleProblemText(const CScheduleEntry& entry, ScheduleProblem problem)
{
    switch (problem) {
    case ScheduleProblem::NoStart: return QStringLiteral("its start is no date");
    case ScheduleProblem::StartYear:
        return QStringLiteral("its start year %1 is outside the phone's calendar (%2-%3)")
            .arg(entry.m_dtStart.GetYear()).arg(kFirstPhoneYear).arg(kLastPhoneYear);
    case ScheduleProblem::AlarmYear:
        return QStringLiteral("its alarm would ring before the phone's calendar begins (%1)").arg(kFirstPhoneYear);
    case ScheduleProblem::Kind: return QStringLiteral("m_nKind %1 is neither 1 (schedule) nor 2 (memo)").arg(entry.m_nKind);
    case ScheduleProblem::Repeat: return QStringLiteral("m_nRepeat %1 is outside 0-4").arg(entry.m_nRepeat);
    case ScheduleProblem::Alarm: return QStringLiteral("m_nAlarm %1 is outside 0-5").arg(entry.m_nAlarm);
    case ScheduleProblem::Index:
        return QStringLiteral("m_nIndex %1 is outside the list's places (0-%2)").arg(entry.m_nIndex).arg(CPhoneSession::kScheduleCapacity - 1);
    case ScheduleProblem::DuplicateIndex:
        return QStringLiteral("m_nIndex %1 is taken by an earlier record").arg(entry.m_nIndex);
    }
    return {};
}

// The reason a book refused an index before anything went out.
QString OutsideTheBook(int index, bool sim, int last)
{
    return QStringLiteral("index %1 is outside the %2 book (1-%3)").arg(index).arg(sim ? "SIM" : "handset").arg(last);
}

// An element as decode-pdu prints it: its type, and the converted text of a picture, an
// animation or a melody.
QJsonObject ElementToJson(const CEmsElement& element)
{
    QJsonObject object {{"type", element.GetTypeName()}};
    QByteArray text;
    if (const auto* sound = dynamic_cast<const CEmsUserSound*>(&element))
        text = sound->NormalisedMelody();
    else if (dynamic_cast<const CEmsPictureElement*>(&element) || dynamic_cast<const CEmsAnimationElement*>(&element))
        element.GetData(&text);
    else
        return object;
    object.insert(QStringLiteral("text"), QString::fromLatin1(text));
    return object;
}

} // namespace

QString CLinkCommand::Usage()
{
    return QStringLiteral(
        "usage: deskhand2-link [--com N] [--baud B] COMMAND ...\n"
        "  identify\n"
        "  read handset|sim|groups|schedules\n"
        "  write handset|sim|schedules FILE.json\n"
        "  delete handset|sim INDEX...\n"
        "  read messages|messages-text\n"
        "  store-message TEXT\n"
        "  send-stored INDEX NUMBER\n"
        "  delete-message INDEX\n"
        "  decode-pdu HEX\n");
}

QJsonObject CLinkCommand::Run(const QStringList& args)
{
    m_bRefused = false;
    const QString command = args.value(0);
    if (command == QLatin1String("identify") && args.size() == 1)
        return Identify();
    if (command == QLatin1String("read") && args.size() == 2)
        return Read(args[1]);
    if (command == QLatin1String("write") && args.size() == 3)
        return Write(args[1], args[2]);
    if (command == QLatin1String("delete") && args.size() >= 3)
        return Delete(args[1], args.mid(2));
    if (command == QLatin1String("store-message") && args.size() == 2)
        return StoreMessage(args[1]);
    if (command == QLatin1String("send-stored") && args.size() == 3)
        return SendStored(args[1], args[2]);
    if (command == QLatin1String("delete-message") && args.size() == 2)
        return DeleteMessage(args[1]);
    if (command == QLatin1String("decode-pdu") && args.size() == 2)
        return DecodePdu(args[1]);
    if (command.isEmpty())
        return Refuse(QStringLiteral("no command given"));
    return Refuse(QStringLiteral("cannot understand \"%1\"").arg(args.join(u' ')));
}

QJsonObject CLinkCommand::Refuse(const QString& error)
{
    m_bRefused = true;
    return {{"ok", false}, {"result", m_session.m_nResult}, {"error", error}};
}

QJsonObject CLinkCommand::Outcome(bool ok, const QString& reason, const QString& list) const
{
    const int result = m_session.m_nResult;
    QJsonObject output {{"ok", ok}, {"result", result}};
    // Only a phone that answered its identification has told what it is.
    if (result != SESSION_NO_PORT && result != SESSION_WAKE_UP_FAILED)
        output.insert(QStringLiteral("profile"), ProfileToJson(ModelProfile()));
    if (ok)
        return output;
    if (result == SESSION_NO_PORT) {
        output.insert(QStringLiteral("error"), tools::PortFailureText(m_session.m_port.m_nPort, m_session.m_port.m_nBaud));
    } else {
        output.insert(QStringLiteral("error"), reason.isEmpty() ? FailureReason(m_session, list) : reason);
    }
    return output;
}

QJsonObject CLinkCommand::Identify()
{
    const bool ok = m_session.Connect();
    if (ok)
        m_session.Disconnect();
    return Outcome(ok);
}

QJsonObject CLinkCommand::Read(const QString& what)
{
    QJsonObject output;
    if (kBooks.contains(what)) {
        RecordList<CPhoneEntry> list;
        const bool sim = what == QLatin1String("sim");
        const bool ok = sim ? m_session.ReadSimBook(list) : m_session.ReadHandsetBook(list);
        output = Outcome(ok, {}, sim ? QStringLiteral("the SIM book") : QStringLiteral("the handset book"));
        output.insert(QStringLiteral("records"), recordjson::RecordsToJson(list));
    } else if (what == QLatin1String("groups")) {
        bool ok = m_session.Connect();
        if (ok) {
            ok = m_session.ReadGroups();
            m_session.Disconnect();
        }
        output = Outcome(ok);
    } else if (what == QLatin1String("schedules")) {
        RecordList<CScheduleEntry> list;
        output = Outcome(m_session.ReadSchedules(list), {}, QStringLiteral("the schedule list"));
        output.insert(QStringLiteral("records"), recordjson::RecordsToJson(list));
        return output;
    } else if (what == QLatin1String("messages") || what == QLatin1String("messages-text")) {
        RecordList<CSmsEntry> list;
        output = Outcome(what == QLatin1String("messages") ? m_session.ReadMessages(list) : m_session.ReadMessagesText(list),
            {}, QStringLiteral("the message list"));
        output.insert(QStringLiteral("records"), recordjson::RecordsToJson(list));
        return output;
    } else {
        return Refuse(QStringLiteral("cannot read \"%1\": expected handset, sim, groups, schedules, messages or "
                                     "messages-text")
                          .arg(what));
    }
    output.insert(QStringLiteral("groups"), GroupsToJson(g_arrGroups));
    return output;
}

QString CLinkCommand::BookProblem(const RecordList<CPhoneEntry>& contacts, bool sim) const
{
    const int last = sim ? m_session.m_nSimCapacity : m_session.m_nHandsetCapacity;
    for (size_t i = 0; i < contacts.size(); ++i) {
        const CPhoneEntry& record = *contacts[i];
        const int index = sim ? record.m_nSimIndex : record.m_nIndex;
        if (index < 1 || index > last)
            return QStringLiteral("record %1: ").arg(i) + OutsideTheBook(index, sim, last);
        if (!m_session.GroupFits(record.m_nGroup)) {
            return QStringLiteral("record %1: group %2 is outside the phone's caller groups (0-%3)")
                .arg(i).arg(record.m_nGroup).arg(int(g_arrGroups.size()) - 1);
        }
    }
    return {};
}

QJsonObject CLinkCommand::Write(const QString& what, const QString& path)
{
    const bool schedules = what == QLatin1String("schedules");
    if (!schedules && !kBooks.contains(what))
        return Refuse(QStringLiteral("cannot write \"%1\": expected handset, sim or schedules").arg(what));
    QString error;
    const std::optional<QJsonArray> array = recordjson::ReadRecordArrayFile(path, &error);
    if (!array)
        return Refuse(error);
    // Every record is checked before the phone is touched.
    RecordList<CPhoneEntry> contacts;
    RecordList<CScheduleEntry> entries;
    if (!(schedules ? recordjson::RecordsFromJson(*array, entries, &error) : recordjson::RecordsFromJson(*array, contacts, &error)))
        return Refuse(QStringLiteral("%1: %2").arg(path, error));
    const bool sim = what == QLatin1String("sim");
    const auto belowZero = [&path](const auto& list, auto index, const char* name) -> QString {
        for (size_t i = 0; i < list.size(); ++i) {
            if ((*list[i]).*index < 0)
                return QStringLiteral("%1: record %2: %3 %4 is below 0").arg(path).arg(i).arg(name).arg((*list[i]).*index);
        }
        return {};
    };
    const QString refused = schedules ? belowZero(entries, &CScheduleEntry::m_nIndex, "m_nIndex")
        : sim                         ? belowZero(contacts, &CPhoneEntry::m_nSimIndex, "m_nSimIndex")
                                      : belowZero(contacts, &CPhoneEntry::m_nIndex, "m_nIndex");
    if (!refused.isEmpty())
        return Refuse(refused);

    if (schedules)
        return WriteSchedules(path, entries);
    if (!(sim ? m_session.SelectSimBook() : m_session.SelectHandsetBook()))
        return Outcome(false);
    // What the phone cannot keep is refused once it told its books and groups, before any write.
    if (const QString problem = BookProblem(contacts, sim); !problem.isEmpty()) {
        m_session.Disconnect();
        QJsonObject output = Outcome(false, QStringLiteral("%1: %2; nothing was written").arg(path, problem));
        output.insert(QStringLiteral("records"), QJsonArray());
        return output;
    }
    QJsonArray written;
    QJsonArray unconfirmed;
    bool ok = true;
    for (size_t i = 0; i < contacts.size(); ++i) {
        CPhoneEntry& record = *contacts[i];
        ok = sim ? m_session.AddSimEntry(record) : m_session.AddHandsetEntry(record);
        if (ok) {
            written.append(RecordToJson(record));
            continue;
        }
        if (m_session.Unconfirmed())
            unconfirmed.append(RecordToJson(record));
        break;
    }
    m_session.Disconnect();
    QJsonObject output = Outcome(ok);
    output.insert(QStringLiteral("records"), written);
    if (!unconfirmed.isEmpty())
        output.insert(QStringLiteral("unconfirmed"), unconfirmed);
    return output;
}

QJsonObject CLinkCommand::WriteSchedules(const QString& path, RecordList<CScheduleEntry>& entries)
{
    const auto live = std::count_if(entries.begin(), entries.end(), [](const auto& entry) { return !entry->IsDeleted(); });
    if (live > CPhoneSession::kScheduleCapacity)
        return Refuse(QStringLiteral("%1: %2 entries; the phone's list holds at most %3")
                          .arg(path).arg(live).arg(CPhoneSession::kScheduleCapacity));
    if (const std::optional<ScheduleListFault> fault = CheckScheduleList(entries)) {
        return Refuse(QStringLiteral("%1: record %2: %3; the phone cannot keep it").arg(path).arg(fault->record)
                          .arg(ScheduleProblemText(*entries[fault->record], fault->problem)));
    }
    const bool ok = m_session.WriteSchedules(entries);
    QJsonArray sent;
    for (const auto& entry : entries) {
        if (!entry->IsDeleted())
            sent.append(RecordToJson(*entry));
    }
    const bool unconfirmed = !ok && m_session.Unconfirmed();
    QJsonObject output = Outcome(ok, unconfirmed ? UnconfirmedReason(m_session, QStringLiteral("taken the new list")) : QString(),
        QStringLiteral("the schedule list"));
    // The list is the phone's whole or not at all.
    output.insert(QStringLiteral("records"), ok ? sent : QJsonArray());
    if (unconfirmed)
        output.insert(QStringLiteral("unconfirmed"), sent);
    return output;
}

QJsonObject CLinkCommand::Delete(const QString& what, const QStringList& indices)
{
    if (!kBooks.contains(what))
        return Refuse(QStringLiteral("cannot delete in \"%1\": expected handset or sim").arg(what));
    std::vector<int> numbers;
    QString error;
    for (const QString& text : indices) {
        const std::optional<int> index = IndexArgument(text, &error);
        if (!index)
            return Refuse(error);
        numbers.push_back(*index);
    }
    const bool sim = what == QLatin1String("sim");
    if (!(sim ? m_session.SelectSimBook() : m_session.SelectHandsetBook()))
        return Outcome(false);
    QJsonArray deleted;
    QJsonArray unconfirmed;
    QString reason;
    bool ok = true;
    for (const int index : numbers) {
        ok = sim ? m_session.DeleteSimEntry(index) : m_session.DeleteHandsetEntry(index);
        if (ok) {
            deleted.append(index);
            continue;
        }
        if (m_session.Unconfirmed())
            unconfirmed.append(index);
        if (m_session.m_nResult == SESSION_NOTHING_SENT)
            reason = OutsideTheBook(index, sim, sim ? m_session.m_nSimCapacity : m_session.m_nHandsetCapacity);
        break;
    }
    m_session.Disconnect();
    QJsonObject output = Outcome(ok, reason);
    output.insert(QStringLiteral("deleted"), deleted);
    if (!unconfirmed.isEmpty())
        output.insert(QStringLiteral("unconfirmed"), unconfirmed);
    return output;
}

QJsonObject CLinkCommand::StoreMessage(const QString& text)
{
    if (text.isEmpty())
        return Refuse(QStringLiteral("the text is empty: the phone keeps no message without one"));
    CSmsEntry entry;
    entry.m_strText = text;
    const bool ok = m_session.StoreMessage(entry);
    const bool unconfirmed = !ok && m_session.Unconfirmed();
    QJsonObject output = Outcome(ok, unconfirmed ? UnconfirmedReason(m_session, QStringLiteral("stored the message")) : QString(),
        QStringLiteral("the message storage's counts"));
    output.insert(QStringLiteral("records"), ok ? QJsonArray {RecordToJson(entry)} : QJsonArray());
    // Perhaps stored, at an index nobody can be sure of: the record has none.
    if (unconfirmed)
        output.insert(QStringLiteral("unconfirmed"), QJsonArray {RecordToJson(entry)});
    return output;
}

QJsonObject CLinkCommand::SendStored(const QString& index, const QString& number)
{
    CSmsEntry entry;
    QString error;
    const std::optional<int> stored = IndexArgument(index, &error);
    if (!stored)
        return Refuse(error);
    if (const std::optional<QString> problem = SendNumberProblem(number))
        return Refuse(*problem);
    entry.m_nIndex = *stored;
    entry.m_strNumber = number;
    const bool ok = m_session.SendStoredMessage(entry);
    const bool unconfirmed = !ok && m_session.Unconfirmed();
    QJsonObject output = Outcome(ok,
        unconfirmed ? UnconfirmedReason(m_session, QStringLiteral("sent the message; do not send it again before the list shows it unsent"))
                    : QString());
    output.insert(QStringLiteral("sent"), ok ? QJsonArray {*stored} : QJsonArray());
    if (unconfirmed)
        output.insert(QStringLiteral("unconfirmed"), QJsonArray {*stored});
    return output;
}

QJsonObject CLinkCommand::DeleteMessage(const QString& index)
{
    QString error;
    const std::optional<int> stored = IndexArgument(index, &error);
    if (!stored)
        return Refuse(error);
    if (!m_session.Connect())
        return Outcome(false);
    const bool ok = m_session.DeleteMessage(*stored);
    const bool unconfirmed = !ok && m_session.Unconfirmed();
    m_session.Disconnect();
    QJsonObject output = Outcome(ok, unconfirmed ? UnconfirmedReason(m_session, QStringLiteral("deleted the message")) : QString());
    output.insert(QStringLiteral("deleted"), ok ? QJsonArray {*stored} : QJsonArray());
    if (unconfirmed)
        output.insert(QStringLiteral("unconfirmed"), QJsonArray {*stored});
    return output;
}

QJsonObject CLinkCommand::DecodePdu(const QString& hex) const
{
    const QString digits = hex.trimmed();
    if (!common::IsHexLine(digits) || digits.size() % 2 != 0)
        return {{"ok", false}, {"error", QStringLiteral("\"%1\" is no PDU: an even number of hexadecimal digits is one").arg(hex)}};
    QByteArray bytes;
    common::HexToBytes(bytes, digits.toUpper());
    CSmsPdu pdu;
    if (!pdu.Decode(bytes))
        return {{"ok", false}, {"error", QStringLiteral("the PDU does not decode: its fields do not fit its %1 bytes").arg(bytes.size())}};
    pdu.DecodeElements();
    QJsonArray elements;
    for (const auto& element : pdu.Elements())
        elements.append(ElementToJson(*element));
    return {{"ok", true}, {"record", RecordToJson(*MessageRecord(pdu))}, {"elements", elements}};
}

} // namespace dh2
