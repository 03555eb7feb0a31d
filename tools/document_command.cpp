#include "tools/document_command.h"

#include "document/mvsync_doc.h"
#include "tools/document_tool.h"
#include "tools/record_json.h"

#include <QJsonArray>

namespace dh1 {

namespace {

using recordjson::IntFromJson;
using recordjson::ListFromJson;
using recordjson::OnlyKnownKeys;

} // namespace

bool CDocumentCommand::Handles(const QStringList& args)
{
    return tools::IsDocumentCommand(args);
}

QString CDocumentCommand::Usage()
{
    return tools::DocumentCommandUsage();
}

QString CDocumentCommand::DataFileUsage()
{
    return QStringLiteral(
        "\n"
        "The FILE.json of data write holds one object, as data dump prints it; a member left out\n"
        "keeps a new document's value:\n"
        "  m_nComPort (1), m_nOpenDelayMs (the pause after opening the port, 100),\n"
        "  m_bIrComm (the infrared link, false), m_nIrCommPort (4), m_nIrCommTimeout (20),\n"
        "  m_groupNames (the seven caller group names),\n"
        "  m_pcContacts, m_pcSchedules, m_pcMemos (the PC lists) and m_outlookContacts,\n"
        "  m_outlookSchedules, m_outlookMemos (the PIM lists): arrays of records as above\n");
}

QJsonObject CDocumentCommand::Run(const QStringList& args)
{
    return tools::RunDocumentCommand(m_doc, args, &DocumentToJson, &DocumentFromJson, "deskhand");
}

QJsonObject CDocumentCommand::DocumentToJson(const CMVsyncDoc& doc)
{
    return {
        {"m_nComPort", doc.m_nComPort},
        {"m_nOpenDelayMs", doc.m_session.m_nOpenDelayMs},
        {"m_bIrComm", doc.m_session.m_port.m_bIrComm},
        {"m_nIrCommPort", doc.m_nIrCommPort},
        {"m_nIrCommTimeout", doc.m_nIrCommTimeout},
        {"m_groupNames", QJsonArray::fromStringList(doc.m_groupNames)},
        {"m_pcContacts", RecordsToJson(doc.m_pcContacts)},
        {"m_pcSchedules", RecordsToJson(doc.m_pcSchedules)},
        {"m_pcMemos", RecordsToJson(doc.m_pcMemos)},
        {"m_outlookContacts", RecordsToJson(doc.m_outlookContacts)},
        {"m_outlookSchedules", RecordsToJson(doc.m_outlookSchedules)},
        {"m_outlookMemos", RecordsToJson(doc.m_outlookMemos)},
    };
}

bool CDocumentCommand::DocumentFromJson(const QJsonObject& object, CMVsyncDoc& doc, QString* error)
{
    static const QStringList kKnown = {"m_nComPort", "m_nOpenDelayMs", "m_bIrComm", "m_nIrCommPort", "m_nIrCommTimeout",
        "m_groupNames", "m_pcContacts", "m_pcSchedules", "m_pcMemos", "m_outlookContacts", "m_outlookSchedules",
        "m_outlookMemos", "ok"};
    if (!OnlyKnownKeys(object, kKnown, error))
        return false;
    int comPort = doc.m_nComPort;
    int openDelay = doc.m_session.m_nOpenDelayMs;
    int irPort = doc.m_nIrCommPort;
    int irTimeout = doc.m_nIrCommTimeout;
    if (!IntFromJson(object, "m_nComPort", comPort, error) || !IntFromJson(object, "m_nOpenDelayMs", openDelay, error)
        || !IntFromJson(object, "m_nIrCommPort", irPort, error)
        || !IntFromJson(object, "m_nIrCommTimeout", irTimeout, error))
        return false;
    const QJsonValue irComm = object.value(QLatin1String("m_bIrComm"));
    if (!irComm.isUndefined() && !irComm.isBool()) {
        *error = QStringLiteral("m_bIrComm: expected true or false");
        return false;
    }
    QStringList groups = doc.m_groupNames;
    const QJsonValue names = object.value(QLatin1String("m_groupNames"));
    if (!names.isUndefined()) {
        const QJsonArray array = names.toArray();
        if (!names.isArray() || array.size() != CMVsyncDoc::kGroupCount
            || !std::all_of(array.begin(), array.end(), [](const QJsonValue& v) { return v.isString(); })) {
            *error = QStringLiteral("m_groupNames: expected seven names");
            return false;
        }
        groups.clear();
        for (const QJsonValue& name : array)
            groups << name.toString();
    }
    RecordList<CPhoneEntry> pcContacts, outlookContacts;
    RecordList<CScheduleEntry> pcSchedules, outlookSchedules;
    RecordList<CMemoEntry> pcMemos, outlookMemos;
    if (!ListFromJson(object, "m_pcContacts", pcContacts, error)
        || !ListFromJson(object, "m_pcSchedules", pcSchedules, error)
        || !ListFromJson(object, "m_pcMemos", pcMemos, error)
        || !ListFromJson(object, "m_outlookContacts", outlookContacts, error)
        || !ListFromJson(object, "m_outlookSchedules", outlookSchedules, error)
        || !ListFromJson(object, "m_outlookMemos", outlookMemos, error))
        return false;

    doc.m_nComPort = comPort;
    doc.m_session.SetPort(comPort, 57600, 100);
    doc.m_session.m_nOpenDelayMs = openDelay;
    if (irComm.isBool())
        doc.m_session.m_port.m_bIrComm = irComm.toBool();
    doc.m_nIrCommPort = irPort;
    doc.m_nIrCommTimeout = irTimeout;
    doc.m_groupNames = groups;
    doc.m_pcContacts = std::move(pcContacts);
    doc.m_pcSchedules = std::move(pcSchedules);
    doc.m_pcMemos = std::move(pcMemos);
    doc.m_outlookContacts = std::move(outlookContacts);
    doc.m_outlookSchedules = std::move(outlookSchedules);
    doc.m_outlookMemos = std::move(outlookMemos);
    doc.NotifyChanged();
    return true;
}

} // namespace dh1
