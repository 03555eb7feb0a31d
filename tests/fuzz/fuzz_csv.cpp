// Arbitrary file bytes through the CSV reader and all three imports.
#include "document/csv_file.h"
#include "document/mvsync_doc.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
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
    return 0;
}
