#include "tools/link_command.h"

#include "document/mvsync_doc.h"
#include "link/globals.h"
#include "link/message_pump.h"
#include "link/phone_session.h"
#include "platform/folders.h"
#include "tools/record_json.h"

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
    if (command == QLatin1String("read") && args.size() == 2)
        return Read(args[1]);
    if (command == QLatin1String("write") && args.size() == 3)
        return Write(args[1], args[2]);
    if (command == QLatin1String("delete") && args.size() >= 3)
        return Delete(args[1], args.mid(2));
    if (command == QLatin1String("delete-message") && args.size() == 3)
        return DeleteMessage(args[1], args[2]);
    if (command.isEmpty())
        return Refuse(QStringLiteral("no command given"));
    return Refuse(QStringLiteral("cannot understand \"%1\"").arg(args.join(u' ')));
}

QJsonObject CLinkCommand::Refuse(const QString& error) const
{
    return {{"ok", false}, {"result", m_session.m_nResult}, {"lastError", g_nLastError}, {"records", QJsonArray()},
        {"error", error}};
}

QJsonObject CLinkCommand::Finish(bool ok, int failureMessage, const QJsonArray& records)
{
    const QJsonObject output {{"ok", ok}, {"result", m_session.m_nResult}, {"lastError", g_nLastError}, {"records", records}};
    if (!ok)
        ShowError(failureMessage);
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
    const bool parsed = what == QLatin1String("schedules") ? RecordsFromJson(*array, schedules, &error)
        : what == QLatin1String("memos")                   ? RecordsFromJson(*array, memos, &error)
                                                           : RecordsFromJson(*array, contacts, &error);
    if (!parsed)
        return Refuse(QStringLiteral("%1: %2").arg(path, error));

    if (!Open(what))
        return Finish(false, kFailedToConnect, {});
    QJsonArray written;
    bool ok = true;
    for (auto& record : contacts) {
        ok = what == QLatin1String("sim") ? m_session.WriteSimEntry(*record) : m_session.WriteHandsetEntry(*record);
        if (!ok)
            break;
        written.append(RecordToJson(*record));
    }
    for (auto& record : schedules) {
        if (!(ok = m_session.WriteSchedule(*record)))
            break;
        written.append(RecordToJson(*record));
    }
    for (auto& record : memos) {
        if (!(ok = m_session.WriteMemo(*record)))
            break;
        written.append(RecordToJson(*record));
    }
    m_session.Disconnect();
    return Finish(ok, kFailedToWrite, written);
}

QJsonObject CLinkCommand::Delete(const QString& what, const QStringList& indices)
{
    if (!kBooks.contains(what))
        return Refuse(QStringLiteral("cannot delete in \"%1\": expected handset, sim, schedules or memos").arg(what));
    std::vector<int> numbers;
    for (const QString& text : indices) {
        const std::optional<int> index = Integer(text);
        if (!index)
            return Refuse(QStringLiteral("\"%1\" is not an index").arg(text));
        numbers.push_back(*index);
    }

    if (!Open(what))
        return Finish(false, kFailedToConnect, {});
    bool ok = true;
    for (const int index : numbers) {
        if (what == QLatin1String("handset"))
            ok = m_session.DeleteHandsetEntry(index);
        else if (what == QLatin1String("sim"))
            ok = m_session.DeleteSimEntry(index);
        else if (what == QLatin1String("schedules"))
            ok = m_session.DeleteSchedule(index);
        else
            ok = m_session.DeleteMemo(index);
        if (!ok)
            break;
    }
    m_session.Disconnect();
    return Finish(ok, kFailedToRemove, {});
}

QJsonObject CLinkCommand::DeleteMessage(const QString& storage, const QString& index)
{
    std::optional<int> storageNumber = Integer(storage);
    if (storage == QLatin1String("handset"))
        storageNumber = 3;
    else if (storage == QLatin1String("sim"))
        storageNumber = 4;
    const std::optional<int> number = Integer(index);
    if (!storageNumber || !number)
        return Refuse(QStringLiteral("expected delete-message STORAGE INDEX, with STORAGE 3 (handset) or 4 (SIM)"));

    if (!m_session.Connect(true))
        return Finish(false, kFailedToConnect, {});
    const bool ok = m_session.DeleteMessage(*number, *storageNumber);
    m_session.Disconnect();
    return Finish(ok, kFailedToRemove, {});
}

} // namespace dh1
