// Deskhand's exchange with files of the PIM store as other programs write them: an edit or a
// delete touches its own component alone (see support/pim_store_files.h).
#include "document/mvsync_doc.h"

#include "platform/string_table.h"
#include "support/pim_store_files.h"
#include "support/recording_progress.h"

using namespace dh1;

namespace {

struct Deskhand {
    using Doc = CMVsyncDoc;
    static auto& Contacts(Doc& doc) { return doc.m_outlookContacts; }
    static auto& Schedules(Doc& doc) { return doc.m_outlookSchedules; }
    static auto& Notes(Doc& doc) { return doc.m_outlookMemos; }
    static QString& NoteText(CMemoEntry& memo) { return memo.m_strText; }
};

TEST(PimStoreFiles, AnEditOrDeleteTouchesOnlyItsOwnComponent)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingProgress progress;
    testsupport::RunPimFileCases<Deskhand>(testsupport::PimFileCases());
}

} // namespace
