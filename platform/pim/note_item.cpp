#include "platform/pim/note_item.h"

#include "platform/pim/ical_document.h"

namespace pim {

NoteItem::NoteItem(const QString& folderPath)
    : Item(folderPath), m_document(ICalDocument::Create(ICAL_VJOURNAL_COMPONENT))
{
}

NoteItem::NoteItem(const QString& folderPath, const QString& path, const ComponentFile& file, const ItemSpans& spans,
                   std::unique_ptr<ICalDocument> document)
    : Item(folderPath, path, file, spans.spans, spans.occurrence), m_document(std::move(document))
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

std::unique_ptr<NoteItem> NoteItem::FromSpans(const QString& folderPath, const QString& path, const ComponentFile& file,
                                              const ItemSpans& spans)
{
    std::unique_ptr<ICalDocument> document = ICalDocument::Parse(file, spans.spans);
    if (!document)
        return nullptr;
    return std::unique_ptr<NoteItem>(new NoteItem(folderPath, path, file, spans, std::move(document)));
}

std::unique_ptr<Item> NoteItem::Clone() const
{
    return std::unique_ptr<Item>(new NoteItem(*this));
}

ICalDocument& NoteItem::written(const QString& uid)
{
    m_written = m_document->Clone();
    if (!uid.isEmpty() && m_written->Text(ICAL_UID_PROPERTY).isEmpty())
        m_written->SetText(ICAL_UID_PROPERTY, uid);
    if (m_body != m_savedBody)
        m_written->SetText(m_bodyInSummary ? ICAL_SUMMARY_PROPERTY : ICAL_DESCRIPTION_PROPERTY, m_body);
    m_written->Stamp();
    return *m_written;
}

bool NoteItem::SerializeNew(const QString& uid, QByteArray& bytes, Error*)
{
    bytes = written(uid).Serialize();
    return true;
}

bool NoteItem::SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error*)
{
    texts = written(uid).SpanTexts();
    return true;
}

void NoteItem::Saved()
{
    if (m_written)
        m_document = std::move(m_written);
    m_document->Committed();
    m_savedBody = m_body;
}

} // namespace pim
