// The drivers' --help: every command, and (for deskhand-link) every member of the JSON files a
// user writes for it. The members come from the JSON forms themselves, so that a member added
// without help fails; deskhand2-link's members are checked beside its own JSON forms.
#include "support/tool_help_check.h"

#ifdef DESKHAND_LINK_BIN
#include "document/mvsync_doc.h"
#include "tools/document_command.h"
#include "tools/record_json.h"
#endif

namespace {

using testsupport::NamesMissingFrom;

#if defined(DESKHAND_LINK_BIN) || defined(DESKHAND2_LINK_BIN)
// A usage line per command, and the command argument's description naming it.
TEST(LinkToolHelp, ListsEveryCommand)
{
    const struct {
        const char* program;
        QStringList commands;
    } programs[] = {
#ifdef DESKHAND_LINK_BIN
        {DESKHAND_LINK_BIN, {"read", "write", "delete", "delete-message", "data", "csv", "pim"}},
#endif
#ifdef DESKHAND2_LINK_BIN
        {DESKHAND2_LINK_BIN, {"identify", "read", "write", "delete", "store-message", "send-stored", "delete-message",
            "decode-pdu", "data", "csv", "pim"}},
#endif
    };
    for (const auto& p : programs) {
        const QString help = testsupport::ToolHelp(QString::fromLocal8Bit(p.program));
        const QString lines = help.section(QStringLiteral("Options:"), 0, 0);
        const QString argument = help.section(QStringLiteral("Arguments:"), 1);
        for (const QString& command : p.commands) {
            const QRegularExpression usage(QStringLiteral("\n  %1[ \n]").arg(QRegularExpression::escape(command)));
            EXPECT_TRUE(usage.match(lines).hasMatch()) << p.program << ": " << command.toStdString() << " has no usage line";
            EXPECT_TRUE(NamesMissingFrom(argument, {command}).isEmpty())
                << p.program << ": " << command.toStdString() << " is not in the command argument";
        }
    }
}
#endif

#ifdef DESKHAND_LINK_BIN
TEST(DeskhandLinkHelp, NamesEveryMemberOfTheFilesItReads)
{
    using namespace dh1;
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
#endif

} // namespace
