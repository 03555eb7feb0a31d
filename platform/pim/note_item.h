#pragma once

#include "platform/pim/item.h"

#include <QString>

#include <memory>
#include <vector>

namespace pim {

class ICalDocument;

// A note: one VJOURNAL whose DESCRIPTION is the body (a journal that has only a SUMMARY
// keeps its text there). Everything else in the file stays.
class NoteItem final : public Item {
public:
    explicit NoteItem(const QString& folderPath);
    // One note of a file (see Item::LoadAll); null when its journal cannot be read.
    static std::unique_ptr<NoteItem> FromSpans(const QString& folderPath, const QString& path, const ComponentFile& file,
                                               const ItemSpans& spans);
    ~NoteItem() override;

    OlItemType ItemType() const override { return olNoteItem; }
    std::unique_ptr<Item> Clone() const override;

    QString Body() const { return m_body; }
    void SetBody(const QString& value) { m_body = value; }

protected:
    bool SerializeNew(const QString& uid, QByteArray& bytes, Error* error) override;
    bool SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error* error) override;
    void Saved() override;
    QString Extension() const override { return QStringLiteral(".ics"); }

private:
    NoteItem(const QString& folderPath, const QString& path, const ComponentFile& file, const ItemSpans& spans,
             std::unique_ptr<ICalDocument> document);
    NoteItem(const NoteItem& other);

    // The document with the changes since the last save (kept for Saved).
    ICalDocument& written(const QString& uid);

    std::unique_ptr<ICalDocument> m_document;
    std::unique_ptr<ICalDocument> m_written;
    bool m_bodyInSummary = false;
    QString m_body;
    QString m_savedBody;
};

} // namespace pim
