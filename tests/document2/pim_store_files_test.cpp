// Deskhand2's exchange with files of the PIM store as other programs write them: an edit or a
// delete touches its own component alone (see support/pim_store_files.h).
#include "document2/mvsync_doc.h"

#include "platform/clock.h"
#include "platform/string_table.h"
#include "support/pim_store_files.h"
#include "support/recording_progress.h"

using namespace dh2;

namespace {

struct Deskhand2 {
    using Doc = CMVsyncDoc;
    static auto& Contacts(Doc& doc) { return doc.m_arOutlookContacts; }
    static auto& Schedules(Doc& doc) { return doc.m_arOutlookSchedules; }
    static auto& Notes(Doc& doc) { return doc.m_arOutlookMemos; }
    static QString& NoteText(CScheduleEntry& memo) { return memo.m_strSubject; }
};

TEST(PimStoreFiles, AnEditOrDeleteTouchesOnlyItsOwnComponent)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingProgress progress;
    // The exchange's pauses cost no real time.
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard{clock};
    testsupport::RunPimFileCases<Deskhand2>(testsupport::PimFileCases());
}

} // namespace
