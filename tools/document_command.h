#pragma once

#include <QJsonObject>
#include <QStringList>

namespace dh1 {

class CMVsyncDoc;

// The deskhand-link commands that run through the document rather than a phone session:
//
//   data dump PATH                                   a data file as JSON
//   data write FILE.json PATH                        the reverse
//   csv import contacts|schedules|memos FILE.csv     a CSV file into an empty document
//   csv export contacts|schedules|memos FILE.json FILE.csv
//   pim read contacts|appointments|notes             the PIM store ($DESKHAND_PIM_DIR)
//   pim write contacts|appointments|notes FILE.json  (the values a read saw are kept in the
//                                                    data folder, as the program keeps them)
//
// Each uses the document's own loading, saving, CSV and exchange code. The result has "ok"
// and the document's members by their own names; "error" for a command line or file refused,
// with "file" when a file could not be written; "warning" when a PIM command could not keep the
// values it read.
class CDocumentCommand {
public:
    explicit CDocumentCommand(CMVsyncDoc& doc) : m_doc(doc) {}

    // True for the first words this class runs.
    static bool Handles(const QStringList& args);
    QJsonObject Run(const QStringList& args);
    static QString Usage();
    // The help text on the object data write takes.
    static QString DataFileUsage();

    // The document as one JSON object, and the reverse (strict; false and the reason when the
    // object is refused, leaving the document as it was).
    static QJsonObject DocumentToJson(const CMVsyncDoc& doc);
    static bool DocumentFromJson(const QJsonObject& object, CMVsyncDoc& doc, QString* error);

private:
    CMVsyncDoc& m_doc;
};

} // namespace dh1
