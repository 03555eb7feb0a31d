// deskhand-link --help: every command, and every member of the JSON files a user writes for it.
// The members come from the JSON forms themselves, so that a member added without help fails.
#ifdef DESKHAND_LINK_BIN

#include "document/mvsync_doc.h"
#include "support/tool_help_check.h"
#include "tools/document_command.h"
#include "tools/record_json.h"

namespace {

using namespace dh1;
using testsupport::NamesMissingFrom;

TEST(DeskhandLinkHelp, NamesEveryMemberOfTheFilesItReads)
{
    const QString help = testsupport::ToolHelp(QStringLiteral(DESKHAND_LINK_BIN));
    CMVsyncDoc doc;
    const struct {
        const char* file;
        QStringList members;
    } rows[] = {
        {"contacts of write handset|sim, csv export, pim write", RecordToJson(CPhoneEntry()).keys()},
        {"schedule entries of write schedules, csv export, pim write", RecordToJson(CScheduleEntry()).keys()},
        {"memos of write memos, csv export, pim write", RecordToJson(CMemoEntry()).keys()},
        {"data write", CDocumentCommand::DocumentToJson(doc).keys()},
        {"dates of a record", {"m_status", "m_dt"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NamesMissingFrom(help, row.members).join(u' ').toStdString(), "") << row.file;
}

TEST(DeskhandLinkHelp, ListsEveryCommand)
{
    const QString help = testsupport::ToolHelp(QStringLiteral(DESKHAND_LINK_BIN));
    const QStringList commands = {"read", "write", "delete", "delete-message", "data", "csv", "pim"};
    const QString lines = help.section(QStringLiteral("Options:"), 0, 0);
    const QString argument = help.section(QStringLiteral("Arguments:"), 1);
    for (const QString& command : commands) {
        EXPECT_TRUE(lines.contains(QStringLiteral("\n  %1 ").arg(command))) << command.toStdString() << " has no usage line";
        EXPECT_TRUE(NamesMissingFrom(argument, {command}).isEmpty()) << command.toStdString() << " is not in the command argument";
    }
}

} // namespace

#endif
