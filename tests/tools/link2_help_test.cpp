// deskhand2-link --help names every member of the JSON files a user writes for it (its commands
// are checked with deskhand-link's, in tool_help_test.cpp). The members come from the JSON
// forms themselves, so that a member added without help fails.
#ifdef DESKHAND2_LINK_BIN

#include "document2/mvsync_doc.h"
#include "support/tool_help_check.h"
#include "tools/document2_command.h"
#include "tools/link2_json.h"

#include <QJsonArray>

namespace {

using namespace dh2;
using testsupport::NamesMissingFrom;

TEST(Deskhand2LinkHelp, NamesEveryMemberOfTheFilesItReads)
{
    const QString help = testsupport::ToolHelp(QStringLiteral(DESKHAND2_LINK_BIN));
    CMVsyncDoc doc;
    const struct {
        const char* file;
        QStringList members;
    } rows[] = {
        {"contacts of write handset|sim, csv export, pim write", RecordToJson(CPhoneEntry()).keys()},
        {"schedule entries and memos of write schedules, csv export, pim write", RecordToJson(CScheduleEntry()).keys()},
        {"messages of data write", RecordToJson(CSmsEntry()).keys()},
        {"data write", CDocumentCommand::DocumentToJson(doc).keys()},
        {"groups of data write", GroupsToJson({CGroupEntry(QStringLiteral("Family"), 1, 10)})[0].toObject().keys()},
        {"dates of a record", {"m_status", "m_dt"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NamesMissingFrom(help, row.members).join(u' ').toStdString(), "") << row.file;
}

} // namespace

#endif
