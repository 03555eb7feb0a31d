#include "tools/link2_command.h"

#include "common/reply_parser.h"
#include "link2/message_parser.h"
#include "link2/model_profile.h"
#include "link2/phone_session.h"
#include "link2/sms_pdu.h"
#include "platform/serial/com_port.h"
#include "tools/link2_json.h"
#include "tools/tool_main.h"

#include <QJsonArray>

namespace dh2 {

namespace {

const QStringList kBooks = {QStringLiteral("handset"), QStringLiteral("sim")};

std::optional<int> IndexArgument(const QString& text)
{
    bool isNumber = false;
    const int index = text.toInt(&isNumber);
    return isNumber ? std::optional<int>(index) : std::nullopt;
}

QString NotAnIndex(const QString& text)
{
    return QStringLiteral("\"%1\" is not an index").arg(text);
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

QJsonObject CLinkCommand::Refuse(const QString& error) const
{
    return {{"ok", false}, {"result", m_session.m_nResult}, {"error", error}};
}

QJsonObject CLinkCommand::Outcome(bool ok) const
{
    QJsonObject output {{"ok", ok}, {"result", m_session.m_nResult}};
    // Only a phone that answered its identification has told what it is.
    if (m_session.m_nResult != SESSION_WAKE_UP_FAILED && m_session.m_port.IsOpen())
        output.insert(QStringLiteral("profile"), ProfileToJson(ModelProfile()));
    if (!ok && !m_session.m_port.IsOpen()) {
        const int port = m_session.m_port.m_nPort;
        output.insert(QStringLiteral("error"),
            QStringLiteral("cannot use COM %1 (%2)").arg(port).arg(platform::ComPortPath(port)));
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
        const bool ok = what == QLatin1String("sim") ? m_session.ReadSimBook(list) : m_session.ReadHandsetBook(list);
        output = Outcome(ok);
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
        output = Outcome(m_session.ReadSchedules(list));
        output.insert(QStringLiteral("records"), recordjson::RecordsToJson(list));
        return output;
    } else if (what == QLatin1String("messages") || what == QLatin1String("messages-text")) {
        RecordList<CSmsEntry> list;
        output = Outcome(what == QLatin1String("messages") ? m_session.ReadMessages(list) : m_session.ReadMessagesText(list));
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

    if (schedules) {
        QJsonObject output = Outcome(m_session.WriteSchedules(entries));
        output.insert(QStringLiteral("records"), recordjson::RecordsToJson(entries));
        return output;
    }
    const bool sim = what == QLatin1String("sim");
    if (!(sim ? m_session.SelectSimBook() : m_session.SelectHandsetBook()))
        return Outcome(false);
    QJsonArray written;
    bool ok = true;
    for (auto& record : contacts) {
        ok = sim ? m_session.AddSimEntry(*record) : m_session.AddHandsetEntry(*record);
        if (!ok)
            break;
        written.append(RecordToJson(*record));
    }
    m_session.Disconnect();
    QJsonObject output = Outcome(ok);
    output.insert(QStringLiteral("records"), written);
    return output;
}

QJsonObject CLinkCommand::Delete(const QString& what, const QStringList& indices)
{
    if (!kBooks.contains(what))
        return Refuse(QStringLiteral("cannot delete in \"%1\": expected handset or sim").arg(what));
    std::vector<int> numbers;
    for (const QString& text : indices) {
        const std::optional<int> index = IndexArgument(text);
        if (!index)
            return Refuse(NotAnIndex(text));
        numbers.push_back(*index);
    }
    const bool sim = what == QLatin1String("sim");
    if (!(sim ? m_session.SelectSimBook() : m_session.SelectHandsetBook()))
        return Outcome(false);
    bool ok = true;
    for (const int index : numbers) {
        if (!(ok = sim ? m_session.DeleteSimEntry(index) : m_session.DeleteHandsetEntry(index)))
            break;
    }
    m_session.Disconnect();
    return Outcome(ok);
}

QJsonObject CLinkCommand::StoreMessage(const QString& text)
{
    CSmsEntry entry;
    entry.m_strText = text;
    QJsonObject output = Outcome(m_session.StoreMessage(entry));
    output.insert(QStringLiteral("records"), QJsonArray {RecordToJson(entry)});
    return output;
}

QJsonObject CLinkCommand::SendStored(const QString& index, const QString& number)
{
    CSmsEntry entry;
    const std::optional<int> stored = IndexArgument(index);
    if (!stored)
        return Refuse(NotAnIndex(index));
    entry.m_nIndex = *stored;
    entry.m_strNumber = number;
    return Outcome(m_session.SendStoredMessage(entry));
}

QJsonObject CLinkCommand::DeleteMessage(const QString& index)
{
    const std::optional<int> stored = IndexArgument(index);
    if (!stored)
        return Refuse(NotAnIndex(index));
    if (!m_session.Connect())
        return Outcome(false);
    const bool ok = m_session.DeleteMessage(*stored);
    m_session.Disconnect();
    return Outcome(ok);
}

QJsonObject CLinkCommand::DecodePdu(const QString& hex) const
{
    QByteArray bytes;
    common::HexToBytes(bytes, hex.toUpper());
    CSmsPdu pdu;
    if (!pdu.Decode(bytes))
        return {{"ok", false}, {"error", QStringLiteral("the PDU does not decode")}};
    pdu.DecodeElements();
    QJsonArray elements;
    for (const auto& element : pdu.Elements())
        elements.append(ElementToJson(*element));
    return {{"ok", true}, {"record", RecordToJson(*MessageRecord(pdu))}, {"elements", elements}};
}

void CStderrProgressView::SetText(const QString& text)
{
    tools::PrintProgressLine(m_stream, text);
}

} // namespace dh2
