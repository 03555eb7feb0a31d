#include "platform/pim/name_space.h"

namespace pim {

bool NameSpace::Logon(Error* error)
{
    m_loggedOn = m_store.Open(error);
    return m_loggedOn;
}

void NameSpace::Logoff()
{
    m_loggedOn = false;
}

bool NameSpace::checkLoggedOn(Error* error) const
{
    return m_loggedOn || Fail(error, ErrorCode::NotLoggedOn, QStringLiteral("Not logged on to the PIM store"));
}

std::unique_ptr<MAPIFolder> NameSpace::GetDefaultFolder(OlDefaultFolders folder, Error* error) const
{
    if (!checkLoggedOn(error))
        return nullptr;
    switch (folder) {
    case olFolderContacts:
    case olFolderCalendar:
    case olFolderNotes:
        return std::unique_ptr<MAPIFolder>(new MAPIFolder(folder, m_store.Root(), m_store.FolderID(folder)));
    }
    Fail(error, ErrorCode::InvalidArgument, QStringLiteral("There is no default folder %1").arg(int(folder)));
    return nullptr;
}

std::unique_ptr<Item> NameSpace::GetItemFromID(const QString& entryId, const QString& storeId, Error* error)
{
    if (!checkLoggedOn(error))
        return nullptr;
    if (storeId.isEmpty() || storeId == m_store.StoreID())
        return m_store.Find(entryId, error);
    for (OlDefaultFolders folder : {olFolderContacts, olFolderCalendar, olFolderNotes}) {
        if (storeId == m_store.FolderID(folder))
            return m_store.Find(folder, entryId, error);
    }
    Fail(error, ErrorCode::NotFound, QStringLiteral("The store %1 is not open").arg(storeId));
    return nullptr;
}

} // namespace pim
