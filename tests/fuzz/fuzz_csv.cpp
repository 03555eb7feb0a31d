// Arbitrary file bytes through the CSV reader and all three imports.
#include "docshared/csv_file.h"
#include "document/mvsync_doc.h"
#include "platform/ui_services.h"

#include <cstdint>
#include <cstdlib>

using namespace dh1;

namespace {

// Refused headers answer with a box; a fuzzer must not print one per input.
class SilentUiServices final : public platform::UiServices {
public:
    int messageBox(const QString&, unsigned) override { return platform::IDOK; }
    QString fileDialog(const platform::FileDialogRequest&) override { return {}; }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void enableMainWindow(bool) override {}
    bool processPendingEvents() override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentUiServices silent;
    platform::UiServices::install(&silent);

    const QString text = csv::DecodeFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QStringList lines = csv::SplitLines(text);
    for (const QString& line : lines)
        csv::SplitCells(line);
    static const char* const headers[] = {"name,mobile,home,office,email,memo,group",
                                          "subject,date and time,repeat,alarm", "memo"};
    CMVsyncDoc doc;
    for (const char* header : headers) {
        QStringList withHeader = lines;
        withHeader.prepend(QString::fromLatin1(header));
        doc.ImportContactsCsv(withHeader);
        doc.ImportSchedulesCsv(withHeader);
        doc.ImportMemosCsv(withHeader);
    }

    // Row for row: every memo the export writes reads back as one row.
    RecordList<CMemoEntry> memos;
    for (const QString& memo : text.split(QChar(u'\0'), Qt::SkipEmptyParts).mid(0, 64)) {
        memos.push_back(std::make_unique<CMemoEntry>());
        memos.back()->m_strText = memo;
    }
    const size_t written = memos.size();
    doc.m_pcMemos = std::move(memos);
    if (written > 0 && csv::SplitLines(doc.ExportCsv(2)).size() != qsizetype(written + 1))
        std::abort();
    return 0;
}
