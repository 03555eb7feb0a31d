#pragma once

#include "platform/pim/item.h"

#include <QString>

#include <memory>

namespace pim {

class ICalDocument;

// A note: one VJOURNAL whose DESCRIPTION is the body (a journal that has only a SUMMARY
// keeps its text there). Everything else in the file stays.
class NoteItem final : public Item {
public:
    explicit NoteItem(const QString& folderPath);
    static std::unique_ptr<NoteItem> FromFile(const QString& folderPath, const QString& path, const QByteArray& bytes);
    ~NoteItem() override;

    OlItemType ItemType() const override { return olNoteItem; }
    std::unique_ptr<Item> Clone() const override;

    QString Body() const { return m_body; }
    void SetBody(const QString& value) { m_body = value; }

protected:
    bool Serialize(const QString& uid, QByteArray& bytes, Error* error) override;
    void Saved() override { m_savedBody = m_body; }
    QString Extension() const override { return QStringLiteral(".ics"); }

private:
    NoteItem(const QString& folderPath, const QString& path, const QString& entryId,
             std::unique_ptr<ICalDocument> document);
    NoteItem(const NoteItem& other);

    std::unique_ptr<ICalDocument> m_document;
    bool m_bodyInSummary = false;
    QString m_body;
    QString m_savedBody;
};

} // namespace pim
