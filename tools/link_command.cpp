#include "tools/link_command.h"

#include "document/mvsync_doc.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "link/phone_session.h"
#include "link/record_rules.h"
#include "platform/folders.h"
#include "platform/serial/serial_port.h"
#include "tools/record_json.h"
#include "tools/tool_main.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace dh1 {

namespace {

constexpr int kFailedToRead = 62000;
constexpr int kFailedToRemove = 62001;
constexpr int kFailedToWrite = 62002;
constexpr int kFailedToConnect = 62003;

const QStringList kBooks = {QStringLiteral("handset"), QStringLiteral("sim"), QStringLiteral("schedules"),
    QStringLiteral("memos")};

std::optional<int> Integer(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// What a failed operation's result says went wrong: the error box's reason for the last error,
// and more only where the box's reason covers several results.
QString ResultReason(int result)
{
    switch (result) {
    case AT_WRITE_FAILED: return QStringLiteral("writing to the line failed");
    case AT_PROMPT: return QStringLiteral("the phone waits for text");
    case AT_CME_ERROR: return QStringLiteral("the phone answered +CME ERROR");
    case AT_CME_NOT_FOUND: return QStringLiteral("the phone found no such entry");
    case AT_CMS_ERROR: return QStringLiteral("the phone answered +CMS ERROR");
    case AT_EXT_ERROR:
        if (g_nLastError != kLastErrorFdn)
            return QStringLiteral("the phone answered +EXT ERROR");
        break;
    case SESSION_BAD_REPLY: return QStringLiteral("a list or an answer of the phone did not read");
    case SESSION_BAD_LINE: return QStringLiteral("an entry the phone listed does not read");
    case SESSION_NOTHING_SENT: return QStringLiteral("a value the phone cannot keep; nothing was sent");
    // The entry is on the phone all the same.
    case SESSION_NO_INDEX: return ErrorReasonText(kLastErrorNoIndex) + QStringLiteral("; read the list again before writing it again");
    default: break;
    }
    const QString reason = ErrorReasonText(g_nLastError);
    return reason.isEmpty() ? QStringLiteral("result %1").arg(result) : reason;
}

QString Outside(const char* member, int index, const char* list, const IndexBounds& bounds)
{
    return QStringLiteral("%1 %2 is outside the %3 (%4-%5)").arg(QLatin1String(member)).arg(index).arg(QLatin1String(list))
        .arg(bounds.first).arg(bounds.last);
}

// Why the phone cannot keep the record as a write of the list; empty when it can. A new
// entry's index is -1.
QString WriteProblem(const CPhoneEntry& record, bool sim)
{
    const int index = sim ? record.m_nSimIndex : record.m_nIndex;
    const IndexBounds bounds = sim ? SimIndexBounds() : HandsetIndexBounds();
    if (!bounds.TakesWrite(index))
        return Outside(sim ? "m_nSimIndex" : "m_nIndex", index, sim ? "SIM book" : "handset book", bounds);
    if (!IsCallerGroup(record.m_nGroup))
        return QStringLiteral("m_nGroup %1 is no caller group (0-%2)").arg(record.m_nGroup).arg(kCallerGroupCount - 1);
    return {};
}

QString WriteProblem(const CScheduleEntry& record)
{
    const IndexBounds bounds = ScheduleIndexBounds();
    if (!bounds.TakesWrite(record.m_nIndex))
        return Outside("m_nIndex", record.m_nIndex, "schedule list", bounds);
    if (!IsScheduleRepeat(record.m_nRepeat))
        return QStringLiteral("m_nRepeat %1 is no repeat the phone keeps (0-4)").arg(record.m_nRepeat);
    if (!IsScheduleAlarm(record.m_nAlarm))
        return QStringLiteral("m_nAlarm %1 is no alarm the phone keeps (0-5)").arg(record.m_nAlarm);
    if (record.m_dtStart.GetStatus() != COleDateTime::valid)
        return QStringLiteral("m_dtStart is no date");
    if (!IsScheduleStart(record.m_dtStart)) {
        return QStringLiteral("m_dtStart %1 is outside what the phone keeps (%2-01-01 to %3-12-31)")
            .arg(DateTimeToJson(record.m_dtStart).toString())
            .arg(kFirstScheduleYear)
            .arg(kLastScheduleYear);
    }
    return {};
}

QString WriteProblem(const CMemoEntry& record)
{
    const IndexBounds bounds = MemoIndexBounds();
    if (!bounds.TakesWrite(record.m_nIndex))
        return Outside("m_nIndex", record.m_nIndex, "memo list", bounds);
    return {};
}

// The first record the phone cannot keep, as "record N: why"; empty when it keeps them all.
template <typename Record, typename Problem>
QString FirstProblem(const RecordList<Record>& list, Problem problem)
{
    for (size_t i = 0; i < list.size(); ++i) {
        if (const QString why = problem(*list[i]); !why.isEmpty())
            return QStringLiteral("record %1: %2").arg(i).arg(why);
    }
    return {};
}

} // namespace

QString CLinkCommand::Usage()
{
    return QStringLiteral(
        "usage: deskhand-link [--com N] [--baud B] [--ircomm PORT] COMMAND ...\n"
        "  read handset|sim|schedules|memos|messages\n"
        "  write handset|sim|schedules|memos FILE.json\n"
        "  delete handset|sim|schedules|memos INDEX...\n"
        "  delete-message STORAGE INDEX    (STORAGE 3 handset, 4 SIM)\n");
}

void CLinkCommand::UseIrComm(int nPort)
{
    m_session.m_port.m_bIrComm = true;
    m_session.m_port.m_nIrCommPort = nPort;
    CMVsyncDoc doc;
    doc.SetDataDir(platform::DataDir(QStringLiteral("deskhand")));
    doc.ReadConfig();
}

QJsonObject CLinkCommand::Run(const QStringList& args)
{
    const QString command = args.value(0);
    const bool known = (command == QLatin1String("read") && args.size() == 2)
        || (command == QLatin1String("write") && args.size() == 3)
        || (command == QLatin1String("delete") && args.size() >= 3)
        || (command == QLatin1String("delete-message") && args.size() == 3);
    if (!known) {
        if (command.isEmpty())
            return Refuse(QStringLiteral("no command given"));
        return Refuse(QStringLiteral("cannot understand \"%1\"").arg(args.join(u' ')));
    }
    if (!platform::SerialPort::TakesBaud(m_session.m_port.m_nBaud)) {
        return Refuse(QStringLiteral("--baud %1 is no rate a serial line takes (300, 600, 1200, 2400, 4800, 9600, "
                                     "19200, 38400, 57600, 115200, 230400, 460800 or 921600)")
                          .arg(m_session.m_port.m_nBaud));
    }
    if (command == QLatin1String("read"))
        return Read(args[1]);
    if (command == QLatin1String("write"))
        return Write(args[1], args[2]);
    if (command == QLatin1String("delete"))
        return Delete(args[1], args.mid(2));
    return DeleteMessage(args[1], args[2]);
}

QJsonObject CLinkCommand::Refuse(const QString& error) const
{
    // Nothing went to the phone.
    return {{"ok", false}, {"result", SESSION_NOTHING_SENT}, {"lastError", g_nLastError}, {"records", QJsonArray()},
        {"error", error}};
}

QString CLinkCommand::FailureText(const QString& subject) const
{
    const int result = m_session.m_nResult;
    if (result == SESSION_NO_PORT) {
        const CATPort& port = m_session.m_port;
        return tools::PortFailureText(port.m_bIrComm ? port.m_nIrCommPort : port.m_nPort, port.m_nBaud);
    }
    QString reason = ResultReason(result);
    if (m_session.m_bUnconfirmed)
        reason = tools::UnconfirmedText(reason, QStringLiteral("carried it out"));
    return subject.isEmpty() ? reason : subject + QStringLiteral(": ") + reason;
}

QJsonObject CLinkCommand::Finish(bool ok, int failureMessage, const QJsonArray& records, const QString& subject)
{
    QJsonObject output {{"ok", ok}, {"result", m_session.m_nResult}, {"lastError", g_nLastError}, {"records", records}};
    if (!ok) {
        output.insert(QStringLiteral("error"), FailureText(subject));
        ShowError(failureMessage, m_session.m_bUnconfirmed);
    }
    return output;
}

QJsonObject CLinkCommand::Read(const QString& what)
{
    bool ok = false;
    QJsonArray records;
    if (what == QLatin1String("handset") || what == QLatin1String("sim")) {
        RecordList<CPhoneEntry> list;
        ok = what == QLatin1String("sim") ? m_session.ReadSimBook(list) : m_session.ReadHandsetBook(list);
        records = RecordsToJson(list);
        QJsonObject output = Finish(ok, kFailedToRead, records);
        output.insert(QStringLiteral("groups"), QJsonArray::fromStringList(g_arrGroupNames));
        return output;
    }
    if (what == QLatin1String("schedules")) {
        RecordList<CScheduleEntry> list;
        ok = m_session.ReadSchedules(list);
        records = RecordsToJson(list);
    } else if (what == QLatin1String("memos")) {
        RecordList<CMemoEntry> list;
        ok = m_session.ReadMemos(list);
        records = RecordsToJson(list);
    } else if (what == QLatin1String("messages")) {
        RecordList<CSmsEntry> list;
        ok = m_session.ReadMessages(list);
        records = RecordsToJson(list);
    } else {
        return Refuse(QStringLiteral("cannot read \"%1\": expected handset, sim, schedules, memos or messages").arg(what));
    }
    return Finish(ok, kFailedToRead, records);
}

bool CLinkCommand::Open(const QString& what)
{
    bool ok = false;
    if (what == QLatin1String("handset"))
        ok = m_session.SelectHandsetBook();
    else if (what == QLatin1String("sim"))
        ok = m_session.SelectSimBook();
    else
        ok = m_session.Connect(false);
    // A book selection the phone refused leaves the session open.
    if (!ok && m_session.m_bConnected)
        m_session.Disconnect();
    return ok;
}

QJsonObject CLinkCommand::Write(const QString& what, const QString& path)
{
    if (!kBooks.contains(what))
        return Refuse(QStringLiteral("cannot write \"%1\": expected handset, sim, schedules or memos").arg(what));
    QString error;
    const std::optional<QJsonArray> array = ReadRecordArrayFile(path, &error);
    if (!array)
        return Refuse(error);

    // Every record is checked before the phone is touched.
    RecordList<CPhoneEntry> contacts;
    RecordList<CScheduleEntry> schedules;
    RecordList<CMemoEntry> memos;
    const bool sim = what == QLatin1String("sim");
    const bool parsed = what == QLatin1String("schedules") ? RecordsFromJson(*array, schedules, &error)
        : what == QLatin1String("memos")                   ? RecordsFromJson(*array, memos, &error)
                                                           : RecordsFromJson(*array, contacts, &error);
    if (!parsed)
        return Refuse(QStringLiteral("%1: %2").arg(path, error));
    const QString problem = !contacts.empty() ? FirstProblem(contacts, [sim](const CPhoneEntry& r) { return WriteProblem(r, sim); })
        : !schedules.empty()                  ? FirstProblem(schedules, [](const CScheduleEntry& r) { return WriteProblem(r); })
                                              : FirstProblem(memos, [](const CMemoEntry& r) { return WriteProblem(r); });
    if (!problem.isEmpty())
        return Refuse(QStringLiteral("%1: %2; nothing was sent").arg(path, problem));

    if (!Open(what))
        return Finish(false, kFailedToConnect, {});
    QJsonArray written;
    QJsonArray unconfirmed;
    int failedAt = -1;
    // Writes each record in order; the first failure ends the run.
    const auto writeAll = [&](auto& list, auto write) {
        for (size_t i = 0; i < list.size() && failedAt < 0; ++i) {
            if (write(*list[i])) {
                written.append(RecordToJson(*list[i]));
                continue;
            }
            failedAt = int(i);
            if (m_session.m_bUnconfirmed)
                unconfirmed.append(RecordToJson(*list[i]));
        }
    };
    writeAll(contacts, [&](CPhoneEntry& r) { return sim ? m_session.WriteSimEntry(r) : m_session.WriteHandsetEntry(r); });
    writeAll(schedules, [&](CScheduleEntry& r) { return m_session.WriteSchedule(r); });
    writeAll(memos, [&](CMemoEntry& r) { return m_session.WriteMemo(r); });
    m_session.Disconnect();
    QJsonObject output = Finish(failedAt < 0, kFailedToWrite, written, QStringLiteral("record %1").arg(failedAt));
    if (!unconfirmed.isEmpty())
        output.insert(QStringLiteral("unconfirmed"), unconfirmed);
    return output;
}

QJsonObject CLinkCommand::Delete(const QString& what, const QStringList& indices)
{
    if (!kBooks.contains(what))
        return Refuse(QStringLiteral("cannot delete in \"%1\": expected handset, sim, schedules or memos").arg(what));
    const IndexBounds bounds = what == QLatin1String("handset") ? HandsetIndexBounds()
        : what == QLatin1String("sim")                          ? SimIndexBounds()
        : what == QLatin1String("schedules")                    ? ScheduleIndexBounds()
                                                                : MemoIndexBounds();
    const char* const list = what == QLatin1String("handset") ? "handset book"
        : what == QLatin1String("sim")                        ? "SIM book"
        : what == QLatin1String("schedules")                  ? "schedule list"
                                                              : "memo list";
    std::vector<int> numbers;
    for (const QString& text : indices) {
        const std::optional<int> index = Integer(text);
        if (!index)
            return Refuse(QStringLiteral("\"%1\" is not an index").arg(text));
        if (!bounds.Contains(*index))
            return Refuse(QStringLiteral("index %1 is outside the %2 (%3-%4); nothing was sent")
                              .arg(*index).arg(QLatin1String(list)).arg(bounds.first).arg(bounds.last));
        numbers.push_back(*index);
    }

    if (!Open(what))
        return Finish(false, kFailedToConnect, {});
    QJsonArray deleted;
    QJsonArray unconfirmed;
    int failedAt = -1;
    for (const int index : numbers) {
        bool ok = false;
        if (what == QLatin1String("handset"))
            ok = m_session.DeleteHandsetEntry(index);
        else if (what == QLatin1String("sim"))
            ok = m_session.DeleteSimEntry(index);
        else if (what == QLatin1String("schedules"))
            ok = m_session.DeleteSchedule(index);
        else
            ok = m_session.DeleteMemo(index);
        if (ok) {
            deleted.append(index);
            continue;
        }
        failedAt = index;
        if (m_session.m_bUnconfirmed)
            unconfirmed.append(index);
        break;
    }
    m_session.Disconnect();
    QJsonObject output = Finish(failedAt < 0, kFailedToRemove, {}, QStringLiteral("index %1").arg(failedAt));
    output.insert(QStringLiteral("deleted"), deleted);
    if (!unconfirmed.isEmpty())
        output.insert(QStringLiteral("unconfirmed"), unconfirmed);
    return output;
}

QJsonObject CLinkCommand::DeleteMessage(const QString& storage, const QString& index)
{
    std::optional<int> storageNumber = Integer(storage);
    if (storage == QLatin1String("handset"))
        storageNumber = 3;
    else if (storage == QLatin1String("sim"))
        storageNumber = 4;
    const std::optional<int> number = Integer(index);
    if (!storageNumber || !number || (*storageNumber != 3 && *storageNumber != 4))
        return Refuse(QStringLiteral("expected delete-message STORAGE INDEX, with STORAGE 3 (handset) or 4 (SIM)"));
    if (*number < 1)
        return Refuse(QStringLiteral("index %1 is no message index (1 and above); nothing was sent").arg(*number));

    if (!m_session.Connect(true))
        return Finish(false, kFailedToConnect, {});
    const bool ok = m_session.DeleteMessage(*number, *storageNumber);
    m_session.Disconnect();
    QJsonObject output = Finish(ok, kFailedToRemove, {}, QStringLiteral("index %1").arg(*number));
    output.insert(QStringLiteral("deleted"), ok ? QJsonArray {*number} : QJsonArray());
    if (m_session.m_bUnconfirmed)
        output.insert(QStringLiteral("unconfirmed"), QJsonArray {*number});
    return output;
}

} // namespace dh1
