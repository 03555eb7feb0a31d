#pragma once

// The commands both link tools run through their program's document rather than a phone
// session: data files, CSV files and the PIM store. Each program supplies its document's JSON
// form; the lists, the exchange calls, the command lines, files and outputs are one.
#include "docshared/pim_baseline.h"
#include "platform/folders.h"
#include "tools/json_members.h"
#include "tools/tool_main.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

namespace tools {

// True for "data", "csv" and "pim".
bool IsDocumentCommand(const QStringList& args);
QString DocumentCommandUsage();
QJsonObject Refuse(const QString& error);
// A file that could not be written: "error" names it and its reason (the folder's problem when
// the folder is to blame), "file" names it alone.
QJsonObject CannotWrite(const QString& path, const QString& reason);

// "data dump PATH" and "data write FILE.json PATH" through the document's own loading and saving.
// toJson(doc) gives the document's JSON form, fromJson(object, doc, &error) takes it back.
template <typename Doc, typename ToJson, typename FromJson>
QJsonObject RunDataCommand(Doc& doc, const QStringList& args, ToJson toJson, FromJson fromJson)
{
    if (args.value(0) == QLatin1String("dump") && args.size() == 2) {
        QString error;
        const bool ok = doc.LoadLocalData(args[1], &error);
        QJsonObject output = toJson(doc);
        output.insert(QStringLiteral("ok"), ok);
        if (!ok)
            output.insert(QStringLiteral("error"), QStringLiteral("%1: %2").arg(args[1], error));
        return output;
    }
    if (args.value(0) == QLatin1String("write") && args.size() == 3) {
        QString error;
        const std::optional<QJsonObject> json = recordjson::ReadObjectFile(args[1], &error);
        if (!json)
            return Refuse(error);
        if (!fromJson(*json, doc, &error))
            return Refuse(QStringLiteral("%1: %2").arg(args[1], error));
        if (!doc.SaveLocalData(args[2], &error))
            return CannotWrite(args[2], error);
        QJsonObject output = toJson(doc);
        output.insert(QStringLiteral("ok"), true);
        return output;
    }
    return Refuse(QStringLiteral("expected \"data dump PATH\" or \"data write FILE.json PATH\""));
}

// Runs f on the PC list (or with pim the PIM-side list) of a kind 0-2: contacts, schedules,
// memos.
template <typename Doc, typename F>
auto WithList(Doc& doc, int kind, bool pim, F f)
{
    const int list = pim ? Doc::ListOutlook : Doc::ListPc;
    switch (kind) {
    case 0: return f(*doc.ContactList(list));
    case 1: return f(*doc.ScheduleList(list));
    default: return f(*doc.MemoList(list));
    }
}

// "csv import KIND FILE.csv" and "csv export KIND FILE.json FILE.csv", KIND contacts, schedules
// or memos (tabs 0-2).
template <typename Doc>
QJsonObject RunCsvCommand(Doc& doc, const QStringList& args)
{
    const auto withPcList = [&doc](int tab, auto f) { return WithList(doc, tab, false, f); };
    const int tab = int(QStringList({"contacts", "schedules", "memos"}).indexOf(args.value(1)));
    const auto records = [&] { return withPcList(tab, [](const auto& list) { return recordjson::RecordsToJson(list); }); };
    if (args.value(0) == QLatin1String("import") && args.size() == 3 && tab >= 0) {
        const bool ok = doc.LoadCsvFile(tab, args[2]);
        return {{"ok", ok}, {"records", records()}};
    }
    if (args.value(0) == QLatin1String("export") && args.size() == 4 && tab >= 0) {
        QString error;
        const std::optional<QJsonArray> array = recordjson::ReadRecordArrayFile(args[2], &error);
        if (!array || !withPcList(tab, [&](auto& list) { return recordjson::RecordsFromJson(*array, list, &error); }))
            return Refuse(error);
        const bool ok = doc.SaveCsvFile(tab, args[3], &error);
        if (!ok && !error.isEmpty()) {
            QJsonObject output = CannotWrite(args[3], error);
            output.insert(QStringLiteral("records"), records());
            return output;
        }
        return {{"ok", ok}, {"records", records()}};
    }
    return Refuse(QStringLiteral("expected \"csv import KIND FILE.csv\" or \"csv export KIND FILE.json FILE.csv\" with "
                                 "KIND contacts, schedules or memos"));
}

// "pim read KIND" and "pim write KIND FILE.json", KIND contacts, appointments or notes (0-2),
// through the document's exchange. The values as read live in the data folder (the program's,
// named program, unless the document has one), as the program keeps them, so that a write after a
// read changes only what was edited in between.
template <typename Doc>
QJsonObject RunPimCommand(Doc& doc, const QStringList& args, const char* program)
{
    const auto withPimList = [&doc](int kind, auto f) { return WithList(doc, kind, true, f); };
    const int kind = int(QStringList({"contacts", "appointments", "notes"}).indexOf(args.value(1)));
    const bool isRead = args.value(0) == QLatin1String("read") && args.size() == 2 && kind >= 0;
    const bool isWrite = args.value(0) == QLatin1String("write") && args.size() == 3 && kind >= 0;
    if (!isRead && !isWrite)
        return Refuse(QStringLiteral("expected \"pim read KIND\" or \"pim write KIND FILE.json\" with KIND contacts, "
                                     "appointments or notes"));
    if (isWrite) {
        QString error;
        const std::optional<QJsonArray> array = recordjson::ReadRecordArrayFile(args[2], &error);
        if (!array || !withPimList(kind, [&](auto& list) { return recordjson::RecordsFromJson(*array, list, &error); }))
            return Refuse(error);
    }
    if (doc.DataDir().isEmpty())
        doc.SetDataDir(platform::DataDir(QLatin1String(program)));
    QString unsaved;
    const bool ok = docshared::ExchangeWithBaselineFile(
        doc.PimBaseline(), doc.DataDir(), isWrite,
        [&] {
            switch (kind) {
            case 0: return isWrite ? doc.ExportOutlookContacts() : doc.ImportOutlookContacts();
            case 1: return isWrite ? doc.ExportOutlookSchedules() : doc.ImportOutlookSchedules();
            default: return isWrite ? doc.ExportOutlookNotes() : doc.ImportOutlookNotes();
            }
        },
        &unsaved);
    QJsonObject output {{"ok", ok}, {"records", withPimList(kind, [](const auto& list) { return recordjson::RecordsToJson(list); })}};
    // The exchange itself went as "ok" says; the values as read stay as they were before it.
    if (!unsaved.isEmpty())
        output.insert(QStringLiteral("warning"), unsaved + QStringLiteral("; the values as read before are kept"));
    return output;
}

// A "data", "csv" or "pim" command line (IsDocumentCommand) through the document; program names
// the program's data folder.
template <typename Doc, typename ToJson, typename FromJson>
QJsonObject RunDocumentCommand(Doc& doc, const QStringList& args, ToJson toJson, FromJson fromJson, const char* program)
{
    const QString command = args.value(0);
    if (command == QLatin1String("data"))
        return RunDataCommand(doc, args.mid(1), toJson, fromJson);
    if (command == QLatin1String("csv"))
        return RunCsvCommand(doc, args.mid(1));
    if (command == QLatin1String("pim"))
        return RunPimCommand(doc, args.mid(1), program);
    return Refuse(QStringLiteral("cannot understand \"%1\"").arg(args.join(u' ')));
}

} // namespace tools
