#include "tools/document_command.h"

#include "document/mvsync_doc.h"
#include "platform/folders.h"
#include "tools/record_json.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject refuse(const QString& error)
{
    return {{"ok", false}, {"error", error}};
}

const QStringList kCsvKinds = {QStringLiteral("contacts"), QStringLiteral("schedules"), QStringLiteral("memos")};
const QStringList kPimKinds = {QStringLiteral("contacts"), QStringLiteral("appointments"), QStringLiteral("notes")};

template <typename Record>
bool listFromJson(const QJsonObject& object, const char* key, RecordList<Record>& list, QString* error)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    if (!value.isArray()) {
        *error = QStringLiteral("%1: expected an array").arg(QLatin1String(key));
        return false;
    }
    QString reason;
    if (!RecordsFromJson(value.toArray(), list, &reason)) {
        *error = QStringLiteral("%1: %2").arg(QLatin1String(key), reason);
        return false;
    }
    return true;
}

bool intFromJson(const QJsonObject& object, const char* key, int& target, QString* error)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    if (!value.isDouble() || value.toDouble() != double(value.toInt())) {
        *error = QStringLiteral("%1: expected an integer").arg(QLatin1String(key));
        return false;
    }
    target = value.toInt();
    return true;
}

// The list of a kind's records as a JSON array, whichever list the command used.
QJsonArray pcList(const CMVsyncDoc& doc, int tab)
{
    switch (tab) {
    case 0: return RecordsToJson(doc.m_pcContacts);
    case 1: return RecordsToJson(doc.m_pcSchedules);
    default: return RecordsToJson(doc.m_pcMemos);
    }
}

QJsonArray pimList(const CMVsyncDoc& doc, int kind)
{
    switch (kind) {
    case 0: return RecordsToJson(doc.m_outlookContacts);
    case 1: return RecordsToJson(doc.m_outlookSchedules);
    default: return RecordsToJson(doc.m_outlookMemos);
    }
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
                          "  csv import contacts|schedules|memos FILE\n"
                          "  csv export contacts|schedules|memos FILE.json OUT\n"
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
    for (const QString& key : object.keys()) {
        if (!kKnown.contains(key)) {
            *error = QStringLiteral("%1: not a member of the document").arg(key);
            return false;
        }
    }
    int comPort = doc.m_nComPort;
    int openDelay = doc.m_session.m_nOpenDelayMs;
    int irPort = doc.m_nIrCommPort;
    int irTimeout = doc.m_nIrCommTimeout;
    if (!intFromJson(object, "m_nComPort", comPort, error) || !intFromJson(object, "m_nOpenDelayMs", openDelay, error)
        || !intFromJson(object, "m_nIrCommPort", irPort, error)
        || !intFromJson(object, "m_nIrCommTimeout", irTimeout, error))
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
    if (!listFromJson(object, "m_pcContacts", pcContacts, error)
        || !listFromJson(object, "m_pcSchedules", pcSchedules, error)
        || !listFromJson(object, "m_pcMemos", pcMemos, error)
        || !listFromJson(object, "m_outlookContacts", outlookContacts, error)
        || !listFromJson(object, "m_outlookSchedules", outlookSchedules, error)
        || !listFromJson(object, "m_outlookMemos", outlookMemos, error))
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
        QFile file(args[1]);
        if (!file.open(QIODevice::ReadOnly))
            return refuse(QStringLiteral("cannot read %1: %2").arg(args[1], file.errorString()));
        QJsonParseError parseError;
        const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (!json.isObject())
            return refuse(QStringLiteral("%1: expected a JSON object (%2)").arg(args[1], parseError.errorString()));
        QString error;
        if (!DocumentFromJson(json.object(), m_doc, &error))
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
    const int tab = int(kCsvKinds.indexOf(args.value(1)));
    if (args.value(0) == QLatin1String("import") && args.size() == 3 && tab >= 0) {
        const bool ok = m_doc.LoadCsvFile(tab, args[2]);
        return {{"ok", ok}, {"records", pcList(m_doc, tab)}};
    }
    if (args.value(0) == QLatin1String("export") && args.size() == 4 && tab >= 0) {
        QString error;
        const std::optional<QJsonArray> records = ReadRecordArrayFile(args[2], &error);
        bool read = records.has_value();
        if (read && tab == 0)
            read = RecordsFromJson(*records, m_doc.m_pcContacts, &error);
        else if (read && tab == 1)
            read = RecordsFromJson(*records, m_doc.m_pcSchedules, &error);
        else if (read)
            read = RecordsFromJson(*records, m_doc.m_pcMemos, &error);
        if (!read)
            return refuse(error);
        const bool ok = m_doc.SaveCsvFile(tab, args[3]);
        return {{"ok", ok}, {"records", pcList(m_doc, tab)}};
    }
    return refuse(QStringLiteral("expected \"csv import KIND FILE\" or \"csv export KIND FILE.json OUT\" with KIND "
                                 "contacts, schedules or memos"));
}

QJsonObject CDocumentCommand::Pim(const QStringList& args)
{
    const int kind = int(kPimKinds.indexOf(args.value(1)));
    const bool isRead = args.value(0) == QLatin1String("read") && args.size() == 2 && kind >= 0;
    const bool isWrite = args.value(0) == QLatin1String("write") && args.size() == 3 && kind >= 0;
    if (!isRead && !isWrite)
        return refuse(QStringLiteral("expected \"pim read KIND\" or \"pim write KIND FILE.json\" with KIND contacts, "
                                     "appointments or notes"));
    // The values as read live in the data folder, as the program keeps them, so that a write
    // after a read changes only what was edited in between.
    if (m_doc.DataDir().isEmpty())
        m_doc.SetDataDir(platform::DataDir(QStringLiteral("deskhand")));
    CPimBaseline& baseline = m_doc.PimBaseline();
    baseline.Load(m_doc.DataDir());
    if (isRead) {
        const bool ok = kind == 0   ? m_doc.ImportOutlookContacts()
                        : kind == 1 ? m_doc.ImportOutlookSchedules()
                                    : m_doc.ImportOutlookNotes();
        if (ok)
            baseline.Save(m_doc.DataDir());
        return {{"ok", ok}, {"records", pimList(m_doc, kind)}};
    }
    QString error;
    const std::optional<QJsonArray> records = ReadRecordArrayFile(args[2], &error);
    bool read = records.has_value();
    if (read && kind == 0)
        read = RecordsFromJson(*records, m_doc.m_outlookContacts, &error);
    else if (read && kind == 1)
        read = RecordsFromJson(*records, m_doc.m_outlookSchedules, &error);
    else if (read)
        read = RecordsFromJson(*records, m_doc.m_outlookMemos, &error);
    if (!read)
        return refuse(error);
    const bool ok = kind == 0   ? m_doc.ExportOutlookContacts()
                    : kind == 1 ? m_doc.ExportOutlookSchedules()
                                : m_doc.ExportOutlookNotes();
    // Also after a failure: the items written before it are what the store holds now.
    baseline.Save(m_doc.DataDir());
    return {{"ok", ok}, {"records", pimList(m_doc, kind)}};
}
