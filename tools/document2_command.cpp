#include "tools/document2_command.h"

#include "document2/mvsync_doc.h"
#include "link2/model_profile.h"
#include "tools/document_tool.h"
#include "tools/link2_json.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>

namespace dh2 {

namespace {

using recordjson::IntFromJson;
using recordjson::ListFromJson;
using recordjson::RecordsToJson;

// The model type: a number, or the profile object data dump prints (its flags follow the type).
bool profileFromJson(const QJsonValue& value, int& type, QString* error)
{
    QJsonValue number = value;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        // Dumps of earlier versions name the features f0 to f7; they follow the type all the same.
        static const QRegularExpression earlierName(QStringLiteral("^f[0-7]$"));
        const auto isFeature = [](const QString& key) {
            return earlierName.match(key).hasMatch()
                || std::any_of(kModelFeatureNames.begin(), kModelFeatureNames.end(),
                    [&key](const ModelFeatureName& feature) { return key == QLatin1String(feature.name); });
        };
        for (const QString& key : object.keys()) {
            if (key != QLatin1String("type") && !isFeature(key)) {
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

QString CDocumentCommand::DataFileUsage()
{
    return QStringLiteral(
        "\n"
        "The FILE.json of data write holds one object, as data dump prints it ({} writes a first\n"
        "start's file); a member left out keeps a new document's value:\n"
        "  m_nComPort (1), m_nBaudRate (19200), profile (the model type 0-4, or the object data\n"
        "  dump prints: its type counts), groups (the caller group table: [{\"m_strName\",\n"
        "  \"m_nMembers\", \"m_nCapacity\"}, ...]),\n"
        "  m_arPcContacts, m_arPcSchedules, m_arPcMemos, m_arMessages (the PC lists) and\n"
        "  m_arOutlookContacts, m_arOutlookSchedules, m_arOutlookMemos (the PIM lists): arrays of\n"
        "  records as above\n");
}

QJsonObject CDocumentCommand::Run(const QStringList& args)
{
    return tools::RunDocumentCommand(m_doc, args, &DocumentToJson, &DocumentFromJson, "deskhand2");
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

} // namespace dh2
