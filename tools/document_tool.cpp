#include "tools/document_tool.h"

namespace tools {

bool IsDocumentCommand(const QStringList& args)
{
    return !args.isEmpty()
           && (args[0] == QLatin1String("data") || args[0] == QLatin1String("csv") || args[0] == QLatin1String("pim"));
}

QString DocumentCommandUsage()
{
    return QStringLiteral("  data dump PATH\n"
                          "  data write FILE.json PATH\n"
                          "  csv import contacts|schedules|memos FILE.csv\n"
                          "  csv export contacts|schedules|memos FILE.json FILE.csv\n"
                          "  pim read contacts|appointments|notes\n"
                          "  pim write contacts|appointments|notes FILE.json\n");
}

QJsonObject Refuse(const QString& error)
{
    return {{"ok", false}, {"error", error}};
}

QJsonObject CannotWrite(const QString& path, const QString& reason)
{
    const QString folder = FolderProblem(path);
    return {{"ok", false}, {"error", QStringLiteral("cannot write %1: %2").arg(path, folder.isEmpty() ? reason : folder)},
            {"file", path}};
}

} // namespace tools
