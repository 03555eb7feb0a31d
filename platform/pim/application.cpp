#include "platform/pim/application.h"

#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"

namespace pim {

std::unique_ptr<NameSpace> Application::GetNamespace(const QString& type, Error* error) const
{
    if (type.compare(u"MAPI", Qt::CaseInsensitive) != 0) {
        Fail(error, ErrorCode::InvalidArgument, QStringLiteral("Unknown namespace \"%1\"").arg(type));
        return nullptr;
    }
    return std::unique_ptr<NameSpace>(new NameSpace(m_root));
}

std::unique_ptr<Item> Application::CreateItem(OlItemType itemType, Error* error) const
{
    const Store store(m_root);
    switch (itemType) {
    case olContactItem:
        return std::make_unique<ContactItem>(store.FolderPath(olFolderContacts));
    case olAppointmentItem:
        return std::make_unique<AppointmentItem>(store.FolderPath(olFolderCalendar));
    case olNoteItem:
        return std::make_unique<NoteItem>(store.FolderPath(olFolderNotes));
    }
    Fail(error, ErrorCode::InvalidArgument, QStringLiteral("Unknown item type %1").arg(int(itemType)));
    return nullptr;
}

} // namespace pim
