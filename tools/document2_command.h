#pragma once

#include <QJsonObject>
#include <QStringList>

namespace dh2 {

class CMVsyncDoc;

// The deskhand2-link commands that run through Deskhand2's document rather than a session:
//
//   data dump PATH                                    a data file as JSON
//   data write FILE.json PATH                         the reverse; {} writes a first start's file
//   csv import contacts|schedules|memos FILE.csv      a CSV file into an empty document
//   csv export contacts|schedules|memos FILE.json FILE.csv   (FILE.json: an array of records)
//   pim read contacts|appointments|notes              the PIM store ($DESKHAND_PIM_DIR)
//   pim write contacts|appointments|notes FILE.json
//
// Each uses the document's own loading, saving, CSV and exchange code. The result has "ok" and
// the document's members by their own names ("profile" for the model, "groups" for the group
// table); "error" for a command line or file refused, or a data file that was not whole.
class CDocumentCommand {
public:
    explicit CDocumentCommand(CMVsyncDoc& doc) : m_doc(doc) {}

    // The command line without the program's name: "data ...", "csv ..." or "pim ...".
    QJsonObject Run(const QStringList& args);
    // The help text on the object data write takes.
    static QString DataFileUsage();

    // The document as one JSON object, and the reverse (strict; false and the reason when the
    // object is refused, leaving the document as it was).
    static QJsonObject DocumentToJson(const CMVsyncDoc& doc);
    static bool DocumentFromJson(const QJsonObject& object, CMVsyncDoc& doc, QString* error);

private:
    CMVsyncDoc& m_doc;
};

} // namespace dh2
