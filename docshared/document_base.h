#pragma once

#include "docshared/busy_scope.h"
#include "docshared/data_file.h"
#include "docshared/pim_baseline.h"
#include "docshared/record_lists.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class CArchive;

namespace docshared {

class CPimExchange;

// What the documents of both programs are besides their lists: the data folder with the data
// file and the PIM baseline beside it (loaded at start-up, saved on close and on File Save), the
// count of commands that run inside their own event pump, the CSV commands of the current tab,
// the PIM exchange of a list, and the signal on which every view refills its rows. Each program's
// CMVsyncDoc says what its data file and its CSV files hold.
class CDocumentBase : public QObject {
    Q_OBJECT

public:
    // List numbers: contacts 1 PC, 2 PIM side, 3 handset, 4 SIM; schedule entries and memos 1, 2
    // and 3, the phone's.
    enum ListKind { ListPc = 1, ListOutlook = 2, ListHandset = 3, ListPhone = 3, ListSim = 4 };
    // The column sets of the views (GetColumnFormat).
    enum ColumnKind { ColumnsContacts, ColumnsSimContacts, ColumnsSchedules, ColumnsMemos, ColumnsMessages };
    // The main frame's tabs, as the CSV commands read them.
    enum Tab { TabContacts, TabSchedules, TabMemos };

    // The document's files, and the string-table texts of their boxes.
    struct Files {
        QString dataFile;           // in the data folder
        QString baselineFile;       // the PIM baseline, beside the data file
        int savedText;              // File Save worked
        int saveFailedText;         // File Save failed
        int damagedMovedText;       // a damaged data file was moved aside (%1 the new path)
        int damagedKeptText;        // a damaged data file could not be moved (%1 its path)
        int quitUnsavedText;        // the save at exit failed: quit all the same?
        int keptUnreadText;         // why a data file that did not read at the start is not saved
        QString csvOpenName;        // what the CSV open dialog offers
        int csvSaveFailedText;      // an export could not be written
        unsigned csvSaveFailedIcon; // platform::MB_ICON... of that box
    };

    ~CDocumentBase() override;

    // The data folder; the program's own (platform::DataDir) unless a caller chose another first.
    void SetDataDir(const QString& dir);
    QString DataDir() const { return m_strDataDir; }
    // Close: saves quietly; a failed save keeps the previous files.
    void OnCloseDocument();
    // Before the window closes: saves, and when that fails asks whether to quit all the same,
    // naming the files that were not saved and why. False keeps the window open.
    bool CanCloseFrame();
    // File Save: saves and says whether it worked; a failure names each file and its reason.
    void OnFileSave();
    // Loads the data file when it exists. A damaged file is moved aside as "<file>.damaged"
    // (".damaged.2", ... beside earlier ones) after what could be read whole was kept, and the
    // user is told once; one with old single-byte text is first copied to "<file>.legacy". A file
    // that cannot be read, moved aside or copied is never saved over.
    void LoadLocalData();
    // Loads any data file (keeping a legacy copy beside it as above); false (and the reason) when
    // it could not be read whole, in which case what was read whole is kept.
    bool LoadLocalData(const QString& path, QString* error);
    // Writes the program's side files (SaveSideFiles), the PIM baseline, then the data file, each
    // atomically; true when every one was written, else failures (when given) names each file
    // that was not and why. A data file that must not be saved over counts as not written.
    bool SaveLocalData(SaveFailures* failures = nullptr);
    // Writes the data file alone to path; false, and why in error, when it could not be.
    bool SaveLocalData(const QString& path, QString* error = nullptr);
    // The data file's layout, storing or loading. Loading fills the document only from a
    // complete file; use LoadLocalData for files that may be damaged.
    virtual void Serialize(CArchive& ar) = 0;

    // True while a command runs inside its own event pump: the window must not close then.
    bool IsBusy() const { return m_nBusy > 0; }
    // Counts as busy for its lifetime.
    using BusyScope = docshared::BusyScope;
    [[nodiscard]] BusyScope MarkBusy() { return BusyScope(m_nBusy); }

    // The PIM-side values as last read or written; loaded and saved with the data file.
    CPimBaseline& PimBaseline() { return m_pimBaseline; }

    // CSV export and import of the PC list of the current tab.
    // The main frame installs the provider of the current tab; without one nothing is exchanged.
    void SetCurrentTabProvider(std::function<int()> provider) { m_currentTab = std::move(provider); }
    void OnSaveAsCsv();
    void OnLoadFromCsv();
    // The same without dialogs: write the export of a tab to a file (replacing it whole), read a
    // file into a tab's list. Failures show their box and answer false; a file that could not be
    // written gives its reason in error too. What killed saves left in the export's folder goes
    // first.
    bool SaveCsvFile(int tab, const QString& path, QString* error = nullptr);
    virtual bool LoadCsvFile(int tab, const QString& path) = 0;
    // The rows of an export, header first; empty when the list has no live entry to export.
    virtual QString ExportCsv(int tab) const = 0;

    void NotifyChanged() { Q_EMIT changed(); }

Q_SIGNALS:
    // A list was replaced, emptied, reloaded or lost a record: every view refills its rows.
    void changed();

protected:
    CDocumentBase(Files files, QObject* parent);

    // Reads a data file's layout and keeps what was read whole; true when it was all there.
    virtual bool ReadLocalData(CArchive& ar) = 0;
    // Writes the files a program keeps beside its data file at every save; each one that could
    // not be written goes into failures.
    virtual void SaveSideFiles(SaveFailures& failures) { Q_UNUSED(failures) }
    // The tab the provider names; -1 without one.
    int CurrentTab() const { return m_currentTab ? m_currentTab() : -1; }

    // Reads a default folder of the PIM store into a PIM-side list with a fresh Exchange
    // (read(exchange, fresh)); each fresh record takes over the phone link of the old one with its
    // EntryID (merge). A failed read leaves the list alone and shows its box.
    template <typename Exchange, typename Record, typename Read, typename Merge>
    bool ImportFromPim(Records<Record>& list, Read read, Merge merge);
    // Writes a PIM-side list's changes back (write(exchange, list)); the records marked deleted
    // leave the list once the write went through, else the box shows why it did not.
    template <typename Exchange, typename Record, typename Write>
    bool ExportToPim(Records<Record>& list, Write write);
    // The box of a failed exchange.
    virtual void ShowExchangeError(bool write, const CPimExchange& exchange) = 0;

private:
    DataFileLoad LoadDataFile(const QString& path, QString* error);

    const Files m_files;
    CPimBaseline m_pimBaseline;
    QString m_strDataDir;
    // The data file on disk could not be read, moved aside or copied: no save replaces it.
    bool m_bKeepDataFile = false;
    int m_nBusy = 0;
    std::function<int()> m_currentTab;
};

template <typename Exchange, typename Record, typename Read, typename Merge>
bool CDocumentBase::ImportFromPim(Records<Record>& list, Read read, Merge merge)
{
    const BusyScope busy = MarkBusy();
    Exchange exchange;
    exchange.UseBaseline(m_pimBaseline);
    Records<Record> fresh;
    if (!read(exchange, fresh)) {
        ShowExchangeError(false, exchange);
        return false;
    }
    CarryPhoneLinks(fresh, list, merge);
    list = std::move(fresh);
    NotifyChanged();
    return true;
}

template <typename Exchange, typename Record, typename Write>
bool CDocumentBase::ExportToPim(Records<Record>& list, Write write)
{
    const BusyScope busy = MarkBusy();
    Exchange exchange;
    exchange.UseBaseline(m_pimBaseline);
    const bool ok = write(exchange, list);
    if (ok)
        std::erase_if(list, [](const auto& record) { return record->IsDeleted(); });
    else
        ShowExchangeError(true, exchange);
    NotifyChanged();
    return ok;
}

} // namespace docshared
