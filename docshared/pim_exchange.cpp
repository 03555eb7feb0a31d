#include "docshared/pim_exchange.h"

#include "platform/pim/appointment_item.h"
#include "platform/pim/contact_item.h"
#include "platform/pim/note_item.h"
#include "platform/string_table.h"

namespace docshared {

namespace {

const QString kNotLoggedOn = QStringLiteral("Not logged on to the PIM store");

} // namespace

CPimExchange::~CPimExchange() = default;

bool CPimExchange::Logon()
{
    if (m_bLoggedOn)
        return true;
    ShowStatus(m_texts.logon);
    auto application = std::make_unique<pim::Application>();
    pim::Error error;
    std::unique_ptr<pim::NameSpace> ns = application->GetNamespace(QStringLiteral("MAPI"), &error);
    if (!ns || !ns->Logon(&error))
        return Fail(error.description);
    m_application = std::move(application);
    m_namespace = std::move(ns);
    m_bLoggedOn = true;
    OpenProgress();
    ShowStatus(m_texts.logon);
    return true;
}

bool CPimExchange::Logoff()
{
    if (!m_bLoggedOn)
        return true;
    ShowStatus(m_texts.logoff);
    m_namespace->Logoff();
    m_namespace.reset();
    m_application.reset();
    m_bLoggedOn = false;
    CloseProgress();
    return true;
}

void CPimExchange::ShowStatus(int stringId)
{
    Log(platform::LoadString(stringId));
}

bool CPimExchange::Fail(const QString& reason)
{
    m_strLastError = reason;
    m_bRefused = false;
    return false;
}

bool CPimExchange::Refuse(const QString& reason)
{
    Fail(reason);
    m_bRefused = true;
    return false;
}

bool CPimExchange::WriteEnded(const QStringList& refusals)
{
    if (refusals.isEmpty())
        return true;
    return Fail(refusals.join(u'\n'));
}

bool CPimExchange::FailWithoutEntryId()
{
    return Fail(QStringLiteral("The entry has no EntryID"));
}

bool CPimExchange::Stop()
{
    Logoff();
    return false;
}

std::unique_ptr<pim::Items> CPimExchange::OpenFolder(pim::OlDefaultFolders folderType)
{
    pim::Error error;
    std::unique_ptr<pim::MAPIFolder> folder = m_namespace->GetDefaultFolder(folderType, &error);
    std::unique_ptr<pim::Items> items = folder ? folder->Items(&error) : nullptr;
    if (!items) {
        Logoff();
        Fail(error.description);
    }
    return items;
}

std::unique_ptr<pim::Item> CPimExchange::CreateAnyItem(pim::OlItemType type)
{
    pim::Error error;
    std::unique_ptr<pim::Item> item = m_application ? m_application->CreateItem(type, &error) : nullptr;
    if (!item)
        Fail(m_application ? error.description : kNotLoggedOn);
    return item;
}

std::unique_ptr<pim::Item> CPimExchange::FindAnyItem(pim::OlDefaultFolders folder, const QString& entryId,
                                                     pim::Error* error)
{
    if (!m_namespace) {
        *error = pim::Error{pim::ErrorCode::NotLoggedOn, kNotLoggedOn};
        Fail(error->description);
        return nullptr;
    }
    std::unique_ptr<pim::MAPIFolder> store = m_namespace->GetDefaultFolder(folder, error);
    std::unique_ptr<pim::Item> item = store ? m_namespace->GetItemFromID(entryId, store->StoreID(), error) : nullptr;
    if (!item && error->code != pim::ErrorCode::NotFound)
        Fail(error->description);
    return item;
}

template <typename ItemType, typename Fill>
bool CPimExchange::AddItemOfKind(pim::OlItemType type, QString& entryId, Fill fill)
{
    ShowStatus(m_texts.creating);
    std::unique_ptr<ItemType> item = pim::ItemCast<ItemType>(CreateAnyItem(type));
    if (!item)
        return false;
    fill(*item);
    return SaveItem(*item, entryId);
}

bool CPimExchange::AddItem(const PimContactValues& values, QString& entryId)
{
    return AddItemOfKind<pim::ContactItem>(pim::olContactItem, entryId, [&](pim::ContactItem& item) {
        WriteContact(item, values, nullptr, m_contactProperties);
    });
}

bool CPimExchange::AddItem(const PimAppointmentValues& values, QString& entryId)
{
    return AddItemOfKind<pim::AppointmentItem>(pim::olAppointmentItem, entryId, [&](pim::AppointmentItem& item) {
        FillNewAppointment(item, values.subject, values.start, values.alarm, values.repeat, m_reminders);
    });
}

bool CPimExchange::AddItem(const PimNoteValues& values, QString& entryId)
{
    return AddItemOfKind<pim::NoteItem>(pim::olNoteItem, entryId, [&](pim::NoteItem& item) { item.SetBody(values.text); });
}

template <typename ItemType, typename Values, typename Write>
bool CPimExchange::UpdateItemOfKind(const Values& values, QString& entryId, Write write)
{
    ShowStatus(m_texts.changing);
    if (entryId.isEmpty())
        return FailWithoutEntryId();
    pim::Error error;
    std::unique_ptr<ItemType> item = pim::ItemCast<ItemType>(FindAnyItem(FolderOf<Values>(), entryId, &error));
    if (!item)
        return error.code == pim::ErrorCode::NotFound && AddItem(values, entryId);
    write(*item, m_pBaseline ? m_pBaseline->Find<Values>(entryId) : nullptr);
    return SaveItem(*item, entryId);
}

bool CPimExchange::UpdateItem(const PimContactValues& values, QString& entryId)
{
    return UpdateItemOfKind<pim::ContactItem>(values, entryId, [&](pim::ContactItem& item, const PimContactValues* base) {
        WriteContact(item, values, base, m_contactProperties);
    });
}

bool CPimExchange::UpdateItem(const PimAppointmentValues& values, QString& entryId)
{
    return UpdateItemOfKind<pim::AppointmentItem>(values, entryId,
        [&](pim::AppointmentItem& item, const PimAppointmentValues* base) {
            UpdateAppointment(item, values, base, m_reminders);
        });
}

bool CPimExchange::UpdateItem(const PimNoteValues& values, QString& entryId)
{
    return UpdateItemOfKind<pim::NoteItem>(values, entryId,
        [&](pim::NoteItem& item, const PimNoteValues* base) { UpdateNote(item, values, base); });
}

bool CPimExchange::DeleteItem(pim::OlDefaultFolders folder, const QString& entryId)
{
    ShowStatus(m_texts.deleting);
    if (entryId.isEmpty())
        return FailWithoutEntryId();
    pim::Error error;
    std::unique_ptr<pim::Item> item = FindAnyItem(folder, entryId, &error);
    // An item that is already gone is as deleted as it will get.
    if (!item)
        return error.code == pim::ErrorCode::NotFound;
    if (item->Delete(&error) || error.code == pim::ErrorCode::NotFound)
        return true;
    return Fail(error.description);
}

// A failed save of a new or changed item fails the write: the record keeps its state, so the
// next export tries again instead of losing the change. The store refuses values it cannot hold
// (a year beyond its calendar) before it writes anything; that concerns the one record, and the
// records after it are still written.
bool CPimExchange::SaveItem(pim::Item& item, QString& entryId)
{
    pim::Error error;
    if (!item.Save(&error))
        return error.code == pim::ErrorCode::InvalidArgument ? Refuse(error.description) : Fail(error.description);
    entryId = item.EntryID();
    return true;
}

} // namespace docshared
