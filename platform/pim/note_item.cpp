#include "platform/pim/note_item.h"

#include "platform/pim/ical_document.h"

#include <QFileInfo>

namespace pim {

NoteItem::NoteItem(const QString& folderPath)
    : Item(folderPath, QString(), QString()), m_document(ICalDocument::Create(ICAL_VJOURNAL_COMPONENT))
{
}

NoteItem::NoteItem(const QString& folderPath, const QString& path, const QString& entryId,
                   std::unique_ptr<ICalDocument> document)
    : Item(folderPath, path, entryId), m_document(std::move(document))
{
    m_bodyInSummary =
        !m_document->HasProperty(ICAL_DESCRIPTION_PROPERTY) && m_document->HasProperty(ICAL_SUMMARY_PROPERTY);
    m_body = m_document->Text(m_bodyInSummary ? ICAL_SUMMARY_PROPERTY : ICAL_DESCRIPTION_PROPERTY);
    m_savedBody = m_body;
}

NoteItem::NoteItem(const NoteItem& other)
    : Item(other),
      m_document(other.m_document->Clone()),
      m_bodyInSummary(other.m_bodyInSummary),
      m_body(other.m_body),
      m_savedBody(other.m_savedBody)
{
}

NoteItem::~NoteItem() = default;

std::unique_ptr<NoteItem> NoteItem::FromFile(const QString& folderPath, const QString& path, const QByteArray& bytes)
{
    std::unique_ptr<ICalDocument> document = ICalDocument::Parse(bytes, ICAL_VJOURNAL_COMPONENT);
    if (!document)
        return nullptr;
    QString entryId = document->Uid();
    if (entryId.isEmpty())
        entryId = QFileInfo(path).completeBaseName();
    return std::unique_ptr<NoteItem>(new NoteItem(folderPath, path, entryId, std::move(document)));
}

std::unique_ptr<Item> NoteItem::Clone() const
{
    return std::unique_ptr<Item>(new NoteItem(*this));
}

bool NoteItem::Serialize(const QString& uid, QByteArray& bytes, Error*)
{
    if (m_document->Text(ICAL_UID_PROPERTY) != uid)
        m_document->SetText(ICAL_UID_PROPERTY, uid);
    if (m_body != m_savedBody)
        m_document->SetText(m_bodyInSummary ? ICAL_SUMMARY_PROPERTY : ICAL_DESCRIPTION_PROPERTY, m_body);
    m_document->Stamp();
    bytes = m_document->Serialize();
    return true;
}

} // namespace pim
