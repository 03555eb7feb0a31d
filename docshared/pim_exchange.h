#pragma once

#include "platform/pim/application.h"
#include "platform/pim/items.h"
#include "platform/pim/mapi_folder.h"
#include "platform/pim/name_space.h"
#include "platform/pim/pim_types.h"

#include <QString>

#include <memory>
#include <vector>

namespace docshared {

// What a write did with one record, for whoever keeps track of the store's values.
enum class PimWrite { Added, Updated, Deleted };

// The part of an exchange with the PIM store that both programs share: logging on and off,
// reading a default folder item by item, writing records back by their EntryID and state,
// finding items in the folder of their own kind, and failures with the store's reason.
// Which fields map to which properties, what the progress window shows and whether the user can
// stop the exchange are each program's own (the derived class's).
//
// Every failure is a false result whose reason LastError() gives (empty when the user stopped it
// or the log-on was refused without one).
class CPimExchange {
public:
    // The string-table texts of the steps.
    struct Texts {
        int logon;
        int logoff;
        int loading; // at the start of a read
        int saving;  // at the start of a write
        int creating;
        int changing;
        int deleting;
    };

    virtual ~CPimExchange();
    CPimExchange(const CPimExchange&) = delete;
    CPimExchange& operator=(const CPimExchange&) = delete;

    QString LastError() const { return m_strLastError; }

    bool Logon();
    bool Logoff();
    bool IsLoggedOn() const { return m_bLoggedOn; }

    // The progress window of the exchange: opened by the log-on, closed by the log-off. A status
    // line shows only while it is open.
    virtual void OpenProgress() = 0;
    virtual void CloseProgress() = 0;
    virtual void Log(const QString& text) = 0;
    void ShowStatus(int stringId);

protected:
    explicit CPimExchange(const Texts& texts) : m_texts(texts) {}

    // Asked before every item read and every record written: true ends the exchange with a
    // failure (logged off). The exchange runs to its end by default.
    virtual bool Cancelled() { return false; }
    // The folder of a read is open with that many items.
    virtual void FolderOpened(int count) { (void)count; }
    // A write of that many records starts.
    virtual void WriteStarting(int count) { (void)count; }

    // Reads every item of a default folder: convert makes the record of an item (and gets its
    // number from 1), or nothing to leave the item out.
    template <typename ItemType, typename Record, typename Convert>
    bool ReadFolder(pim::OlDefaultFolders folder, std::vector<std::unique_ptr<Record>>& list, Convert convert);

    // Writes a list back in order, dead records included: a record without EntryID is added
    // unless it is marked deleted, one with an EntryID is deleted when marked so, updated when
    // changed (and then unchanged), else left alone. The first failure ends the write; the
    // records before it keep what they got. done(record, previous EntryID, what was done)
    // follows every successful add, update and delete.
    template <typename Record, typename Add, typename Update, typename Remove, typename Done>
    bool WriteRecords(std::vector<std::unique_ptr<Record>>& list, Add add, Update update, Remove remove, Done done);

    // A new item of that kind; null (the reason noted) when it cannot be made.
    template <typename ItemType>
    std::unique_ptr<ItemType> CreateItem(pim::OlItemType type)
    {
        return pim::ItemCast<ItemType>(CreateAnyItem(type));
    }
    // The item of that kind with the EntryID, in its own default folder. Null when there is none
    // (NotFound in *error) or it cannot be read, which is noted as the last failure.
    template <typename ItemType>
    std::unique_ptr<ItemType> FindItem(pim::OlDefaultFolders folder, const QString& entryId, pim::Error* error)
    {
        return pim::ItemCast<ItemType>(FindAnyItem(folder, entryId, error));
    }
    // Deletes the item with the EntryID; one that is already gone counts as deleted.
    bool DeleteItem(pim::OlDefaultFolders folder, const QString& entryId);
    // Saves the item and takes its EntryID.
    bool SaveItem(pim::Item& item, QString& entryId);
    // Notes the reason of a failure; always false.
    bool Fail(const QString& reason);
    // Fails an update or delete of a record that has no EntryID.
    bool FailWithoutEntryId();

    const Texts m_texts;

private:
    std::unique_ptr<pim::Item> CreateAnyItem(pim::OlItemType type);
    std::unique_ptr<pim::Item> FindAnyItem(pim::OlDefaultFolders folder, const QString& entryId, pim::Error* error);
    // The items of a default folder; null (logged off, the reason noted) when it cannot be read.
    std::unique_ptr<pim::Items> OpenFolder(pim::OlDefaultFolders folder);
    bool Stop();

    QString m_strLastError;
    bool m_bLoggedOn = false;
    std::unique_ptr<pim::Application> m_application;
    std::unique_ptr<pim::NameSpace> m_namespace;
};

template <typename ItemType, typename Record, typename Convert>
bool CPimExchange::ReadFolder(pim::OlDefaultFolders folder, std::vector<std::unique_ptr<Record>>& list, Convert convert)
{
    ShowStatus(m_texts.loading);
    if (!Logon())
        return false;
    const std::unique_ptr<pim::Items> items = OpenFolder(folder);
    if (!items)
        return false;
    FolderOpened(int(items->Count()));
    for (long i = 1; i <= items->Count(); ++i) {
        if (Cancelled())
            return Stop();
        pim::Error error;
        auto item = pim::ItemCast<ItemType>(items->Item(i, &error));
        if (!item) {
            Logoff();
            return Fail(error.description);
        }
        if (std::unique_ptr<Record> record = convert(*item, int(i)))
            list.push_back(std::move(record));
    }
    Logoff();
    return true;
}

template <typename Record, typename Add, typename Update, typename Remove, typename Done>
bool CPimExchange::WriteRecords(std::vector<std::unique_ptr<Record>>& list, Add add, Update update, Remove remove,
                                Done done)
{
    ShowStatus(m_texts.saving);
    if (!Logon())
        return false;
    WriteStarting(int(list.size()));
    for (const auto& record : list) {
        if (Cancelled())
            return Stop();
        const QString previousId = record->m_strEntryID;
        bool ok = true;
        if (previousId.isEmpty()) {
            if (!record->IsDeleted() && (ok = add(*record)))
                done(*record, previousId, PimWrite::Added);
        } else if (record->IsDeleted()) {
            if ((ok = remove(*record)))
                done(*record, previousId, PimWrite::Deleted);
        } else if (record->m_nState == Record::StateChanged) {
            if ((ok = update(*record))) {
                record->m_nState = Record::StateUnchanged;
                done(*record, previousId, PimWrite::Updated);
            }
        }
        if (!ok) {
            Logoff();
            return false;
        }
    }
    Logoff();
    return true;
}

} // namespace docshared
