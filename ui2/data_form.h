#pragma once

#include "controls/detail_list_ctrl.h"
#include "controls/sync_pane_form.h"
#include "document2/mvsync_doc.h"

#include <QString>

#include <map>
#include <vector>

namespace dh2 {

// The base of Deskhand2's data forms. The PC pane shows the local list or the PIM-side list,
// the Mobile pane a list of the phone; rows carry check boxes, and Delete, Delete on the phone,
// ">>" and "<<" act on the checked rows, Edit and the detail lists on the selected one. This
// class builds what every page has (captions, command buttons, arrows, Select All boxes, the
// total and info texts, the detail lists, the local and PIM-side lists with their selectors,
// the divider), keeps the panes' Select All boxes and Delete buttons in step with the checks,
// switches the PC source (the PIM side is read the first time it is shown), and carries PC
// Delete, the PIM read and write, printing of the local list and the message boxes.
//
// Rows hold a record's identity and resolve it through the document before every use; every
// page refills its lists whenever the document says its lists changed.
class CDataForm : public CRecordPaneForm<CSyncRecord> {
    Q_OBJECT

public:
    // What differs between the pages' templates.
    struct Layout : CSyncPaneForm::Layout {
        COLORREF formColor = 0xA05E60;
    };

    static constexpr COLORREF kButtonColor = 0xD9D9D9;
    static constexpr COLORREF kPcDetailColor = 0xE0FFFF;
    static constexpr COLORREF kMobileDetailColor = 0xF7EFE9;

    CDataForm(CMVsyncDoc& doc, const Layout& layout, QWidget* parent = nullptr);
    ~CDataForm() override;

    CMVsyncDoc& GetDocument() const { return m_doc; }

    // Anchors, colours, columns and the first rows; the page is then ready.
    void OnInitialUpdate() override;
    // Reloads every list of the page.
    virtual void OnUpdate() = 0;

    // The phone list shown.
    virtual CRecordListCtrl* ShownMobileList() const = 0;

    // The identities of the checked rows of a list, in row order.
    static std::vector<quintptr> CheckedIds(const CRecordListCtrl& list);
    static bool AnyChecked(const CRecordListCtrl& list);

public Q_SLOTS:
    void OnPcDelete() override;
    void OnPcSelectAll() override;
    void OnMobileSelectAll() override;
    void ShowOutlookList() override;

protected:
    // Per page, during the initial update: the columns of its lists, and the Mobile source
    // shown first.
    virtual void SetUpColumns() = 0;
    virtual void ShowMobileSource() = 0;
    // Every source selector of the page.
    virtual std::vector<int> SelectorIds() const;

    // The detail lists: the rows of a record (none: the labels alone).
    virtual std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record, bool pcPane) const = 0;
    void ShowPcEntryInfo(const CSyncRecord* record);
    void ShowMobileEntryInfo(const CSyncRecord* record);
    void UpdatePcTotal();
    void ShowPimError() override;
    // After a PC source was shown (false: the local list).
    virtual void OnPcSourceShown(bool /*outlook*/) {}

    // Selection and check handling of the record lists.
    void OnClickList(CRecordListCtrl* list) override;
    void OnDblClkList(CRecordListCtrl* list) override;
    // The pane's Select All is checked exactly when every row is (an empty list counts as all
    // checked); its Delete is enabled exactly when at least one row is.
    virtual void OnCheckChanged(CRecordListCtrl* list);
    void SetAllChecks(CRecordListCtrl* list, bool checked);

    // The pane's Select All checked: "Do you want to delete datas?" must be answered Yes.
    bool ConfirmDeletion(int selectAllId) const;
    // A box with the information icon.
    static void InfoBox(int stringId);
    // The Mobile pane's status text.
    void SetInfoText(const QString& text);

    bool m_bOutlookRead = false;

private:
    std::vector<int> MobileButtons() const override;
    void BuildCommonControls();
    void OnRecordListAdded(CRecordListCtrl* list) override;
    void ShowPcSource(bool outlook) override;

    CMVsyncDoc& m_doc;
};

} // namespace dh2
