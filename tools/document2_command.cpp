#include "tools/document2_command.h"

#include "document2/mvsync_doc.h"
#include "link2/model_profile.h"
#include "tools/link2_json.h"

#include <QJsonArray>

namespace dh2 {

namespace {

using recordjson::IntFromJson;
using recordjson::ListFromJson;
using recordjson::RecordsFromJson;
using recordjson::RecordsToJson;

const QStringList kCsvKinds = {QStringLiteral("contacts"), QStringLiteral("schedules"), QStringLiteral("memos")};
const QStringList kPimKinds = {QStringLiteral("contacts"), QStringLiteral("appointments"), QStringLiteral("notes")};

QJsonObject refuse(const QString& error)
{
    return {{"ok", false}, {"error", error}};
}

// Runs f on the PC list (or with pim the PIM-side list) of a kind 0-2: contacts, schedule
// entries, memos.
template <typename F>
auto withList(CMVsyncDoc& doc, int kind, bool pim, F f)
{
    switch (kind) {
    case 0: return f(pim ? doc.m_arOutlookContacts : doc.m_arPcContacts);
    case 1: return f(pim ? doc.m_arOutlookSchedules : doc.m_arPcSchedules);
    default: return f(pim ? doc.m_arOutlookMemos : doc.m_arPcMemos);
    }
}

QJsonArray listJson(CMVsyncDoc& doc, int kind, bool pim)
{
    return withList(doc, kind, pim, [](const auto& list) { return RecordsToJson(list); });
}

// The model type: a number, or the profile object data dump prints (its flags follow the type).
bool profileFromJson(const QJsonValue& value, int& type, QString* error)
{
    QJsonValue number = value;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (const QString& key : object.keys()) {
            if (key != QLatin1String("type") && !(key.size() == 2 && key[0] == u'f' && key[1] >= u'0' && key[1] <= u'7')) {
                *error = QStringLiteral("profile: unknown member \"%1\"").arg(key);
                return false;
            }
        }
        number = object.value(QLatin1String("type"));
    }
    if (!number.isDouble() || number.toDouble() != double(number.toInt())) {
        *error = QStringLiteral("profile: expected a model type or {\"type\": n}");
        return false;
    }
    type = number.toInt();
    return true;
}

bool groupsFromJson(const QJsonValue& value, GroupTable& groups, QString* error)
{
    const auto fail = [error](const QString& reason) {
        *error = QStringLiteral("groups: %1").arg(reason);
        return false;
    };
    if (!value.isArray())
        return fail(QStringLiteral("expected an array"));
    GroupTable read;
    for (const QJsonValue& entry : value.toArray()) {
        const QJsonObject object = entry.toObject();
        CGroupEntry group;
        QString reason;
        if (!entry.isObject() || !object.value(QLatin1String("m_strName")).isString()
            || !recordjson::OnlyKnownKeys(object, {"m_strName", "m_nMembers", "m_nCapacity"}, &reason)
            || !IntFromJson(object, "m_nMembers", group.m_nMembers, &reason)
            || !IntFromJson(object, "m_nCapacity", group.m_nCapacity, &reason))
            return fail(QStringLiteral("group %1: %2").arg(read.size()).arg(reason.isEmpty() ? QStringLiteral("expected {\"m_strName\": ...}") : reason));
        group.m_strName = object.value(QLatin1String("m_strName")).toString();
        read.push_back(group);
    }
    groups = std::move(read);
    return true;
}

} // namespace

bool CDocumentCommand::Handles(const QStringList& args)
{
    return !args.isEmpty()
           && (args[0] == QLatin1String("data") || args[0] == QLatin1String("csv") || args[0] == QLatin1String("pim"));
}

QString CDocumentCommand::Usage()
{
    return QStringLiteral("  data dump PATH\n"
                          "  data write FILE.json PATH\n"
                          "  csv import contacts|schedules|memos FILE.csv\n"
                          "  csv export contacts|schedules|memos FILE.json FILE.csv\n"
                          "  pim read contacts|appointments|notes\n"
                          "  pim write contacts|appointments|notes FILE.json\n");
}

QJsonObject CDocumentCommand::Run(const QStringList& args)
{
    if (args.value(0) == QLatin1String("data"))
        return Data(args.mid(1));
    if (args.value(0) == QLatin1String("csv"))
        return Csv(args.mid(1));
    if (args.value(0) == QLatin1String("pim"))
        return Pim(args.mid(1));
    return refuse(QStringLiteral("cannot understand \"%1\"").arg(args.join(u' ')));
}

QJsonObject CDocumentCommand::DocumentToJson(const CMVsyncDoc& doc)
{
    return {
        {"m_nComPort", doc.m_nComPort},
        {"m_nBaudRate", doc.m_nBaudRate},
        {"profile", ProfileToJson(ModelProfile())},
        {"groups", GroupsToJson(g_arrGroups)},
        {"m_arPcContacts", RecordsToJson(doc.m_arPcContacts)},
        {"m_arPcSchedules", RecordsToJson(doc.m_arPcSchedules)},
        {"m_arPcMemos", RecordsToJson(doc.m_arPcMemos)},
        {"m_arMessages", RecordsToJson(doc.m_arMessages)},
        {"m_arOutlookContacts", RecordsToJson(doc.m_arOutlookContacts)},
        {"m_arOutlookSchedules", RecordsToJson(doc.m_arOutlookSchedules)},
        {"m_arOutlookMemos", RecordsToJson(doc.m_arOutlookMemos)},
    };
}

bool CDocumentCommand::DocumentFromJson(const QJsonObject& object, CMVsyncDoc& doc, QString* error)
{
    static const QStringList kKnown = {"m_nComPort", "m_nBaudRate", "profile", "groups", "m_arPcContacts",
        "m_arPcSchedules", "m_arPcMemos", "m_arMessages", "m_arOutlookContacts", "m_arOutlookSchedules",
        "m_arOutlookMemos", "ok", "error"};
    if (!recordjson::OnlyKnownKeys(object, kKnown, error))
        return false;
    int comPort = doc.m_nComPort;
    int baudRate = doc.m_nBaudRate;
    int model = ModelProfile().GetModel();
    GroupTable groups = g_arrGroups;
    if (!IntFromJson(object, "m_nComPort", comPort, error) || !IntFromJson(object, "m_nBaudRate", baudRate, error)
        || (object.contains(QLatin1String("profile")) && !profileFromJson(object.value(QLatin1String("profile")), model, error))
        || (object.contains(QLatin1String("groups")) && !groupsFromJson(object.value(QLatin1String("groups")), groups, error)))
        return false;
    RecordList<CPhoneEntry> pcContacts, outlookContacts;
    RecordList<CScheduleEntry> pcSchedules, pcMemos, outlookSchedules, outlookMemos;
    RecordList<CSmsEntry> messages;
    if (!ListFromJson(object, "m_arPcContacts", pcContacts, error) || !ListFromJson(object, "m_arPcSchedules", pcSchedules, error)
        || !ListFromJson(object, "m_arPcMemos", pcMemos, error) || !ListFromJson(object, "m_arMessages", messages, error)
        || !ListFromJson(object, "m_arOutlookContacts", outlookContacts, error)
        || !ListFromJson(object, "m_arOutlookSchedules", outlookSchedules, error)
        || !ListFromJson(object, "m_arOutlookMemos", outlookMemos, error))
        return false;

    doc.m_nComPort = doc.m_session.m_port.m_nPort = comPort;
    doc.m_nBaudRate = doc.m_session.m_port.m_nBaud = baudRate;
    ModelProfile().SetModel(model);
    g_arrGroups = std::move(groups);
    doc.m_arPcContacts = std::move(pcContacts);
    doc.m_arPcSchedules = std::move(pcSchedules);
    doc.m_arPcMemos = std::move(pcMemos);
    doc.m_arMessages = std::move(messages);
    doc.m_arOutlookContacts = std::move(outlookContacts);
    doc.m_arOutlookSchedules = std::move(outlookSchedules);
    doc.m_arOutlookMemos = std::move(outlookMemos);
    doc.NotifyChanged();
    return true;
}

QJsonObject CDocumentCommand::Data(const QStringList& args)
{
    if (args.value(0) == QLatin1String("dump") && args.size() == 2) {
        QString error;
        const bool ok = m_doc.LoadLocalData(args[1], &error);
        QJsonObject output = DocumentToJson(m_doc);
        output.insert(QStringLiteral("ok"), ok);
        if (!ok)
            output.insert(QStringLiteral("error"), QStringLiteral("%1: %2").arg(args[1], error));
        return output;
    }
    if (args.value(0) == QLatin1String("write") && args.size() == 3) {
        QString error;
        const std::optional<QJsonObject> json = recordjson::ReadObjectFile(args[1], &error);
        if (!json)
            return refuse(error);
        if (!DocumentFromJson(*json, m_doc, &error))
            return refuse(QStringLiteral("%1: %2").arg(args[1], error));
        if (!m_doc.SaveLocalData(args[2]))
            return refuse(QStringLiteral("cannot write %1").arg(args[2]));
        QJsonObject output = DocumentToJson(m_doc);
        output.insert(QStringLiteral("ok"), true);
        return output;
    }
    return refuse(QStringLiteral("expected \"data dump PATH\" or \"data write FILE.json PATH\""));
}

QJsonObject CDocumentCommand::Csv(const QStringList& args)
{
    const int kind = int(kCsvKinds.indexOf(args.value(1)));
    if (args.value(0) == QLatin1String("import") && args.size() == 3 && kind >= 0) {
        const bool ok = m_doc.LoadCsvFile(kind, args[2]);
        return {{"ok", ok}, {"records", listJson(m_doc, kind, false)}};
    }
    if (args.value(0) == QLatin1String("export") && args.size() == 4 && kind >= 0) {
        QString error;
        const std::optional<QJsonArray> records = recordjson::ReadRecordArrayFile(args[2], &error);
        if (!records || !withList(m_doc, kind, false, [&](auto& list) { return RecordsFromJson(*records, list, &error); }))
            return refuse(error);
        const bool ok = m_doc.SaveCsvFile(kind, args[3]);
        return {{"ok", ok}, {"records", listJson(m_doc, kind, false)}};
    }
    return refuse(QStringLiteral("expected \"csv import KIND FILE.csv\" or \"csv export KIND FILE.json FILE.csv\" with "
                                 "KIND contacts, schedules or memos"));
}

QJsonObject CDocumentCommand::Pim(const QStringList& args)
{
    const int kind = int(kPimKinds.indexOf(args.value(1)));
    if (args.value(0) == QLatin1String("read") && args.size() == 2 && kind >= 0) {
        const bool ok = kind == 0 ? m_doc.ImportOutlookContacts()
                        : kind == 1 ? m_doc.ImportOutlookSchedules()
                                    : m_doc.ImportOutlookNotes();
        return {{"ok", ok}, {"records", listJson(m_doc, kind, true)}};
    }
    if (args.value(0) == QLatin1String("write") && args.size() == 3 && kind >= 0) {
        QString error;
        const std::optional<QJsonArray> records = recordjson::ReadRecordArrayFile(args[2], &error);
        if (!records || !withList(m_doc, kind, true, [&](auto& list) { return RecordsFromJson(*records, list, &error); }))
            return refuse(error);
        const bool ok = kind == 0 ? m_doc.ExportOutlookContacts()
                        : kind == 1 ? m_doc.ExportOutlookSchedules()
                                    : m_doc.ExportOutlookNotes();
        return {{"ok", ok}, {"records", listJson(m_doc, kind, true)}};
    }
    return refuse(QStringLiteral("expected \"pim read KIND\" or \"pim write KIND FILE.json\" with KIND contacts, "
                                 "appointments or notes"));
}

} // namespace dh2
