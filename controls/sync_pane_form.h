#pragma once

#include "controls/data_pane_form.h"
#include "controls/record_list_ctrl.h"

#include <QString>

#include <vector>

// The data form of both programs whose PC pane shows the local list or the PIM side (list
// kinds 1 and 2, each with its source selector) and whose Mobile pane shows the phone's lists:
// the controls every such form has, where they sit, how they follow the divider and the
// window's size, switching the PC source, the total and printing of the local list. Each
// program adds its command buttons, numbers the controls and gives the texts.
class CSyncPaneForm : public CDataPaneForm {
    Q_OBJECT

public:
    // The program's ids of the shared controls that every form numbers alike.
    struct PaneIds {
        int pcNew;
        int pcEdit;
        int pcDelete;
        int pcRead;
        int mobileRead;
        int mobileDelete;
        int pcCaption;
        int mobileCaption;
        int outlookSelector;
        int pcList;
        int outlookList;
        int pcDetail;
        int mobileDetail;
        int info;
        int copyToMobile;
        int copyToPc;
    };
    // What differs between the forms' templates.
    struct Layout {
        int localSelector = 0; // the PC source selector of the local list
        QString localText;     // its text
        int pcSelectAll = 0;
        int mobileSelectAll = 0;
        int total = 0;
        int dividerLeftLimit = 400;
        int detailHeight = 166; // the detail lists; the record lists take the room below
        QString printTitle;     // what a printed list starts with, line breaks included
    };
    // The texts of the shared controls the panes build after the command buttons.
    struct PaneTexts {
        QString outlookSource;
        QString selectAll;
        QString total;
        QString info; // the status text before any command
        int infoWidth = 90;
        QString localList; // the PC lists are named by the caption that stands over them
        QString outlookList;
    };

    // What the panes' controls are described by for screen readers.
    static inline const QString kPcPane = QStringLiteral("PC pane");
    static inline const QString kMobilePane = QStringLiteral("Mobile pane");

    // The footer goes under every printed page.
    CSyncPaneForm(const PaneIds& ids, const Layout& layout, const QString& printFooter, QWidget* parent = nullptr);
    ~CSyncPaneForm() override;

    // The PC list shown and its kind (1 local, 2 PIM side).
    int PcKind() const;
    CRecordListCtrl* ShownPcList() const;

    // Reloads the list of one kind.
    virtual void RefreshList(int kind) = 0;

    // The local list is printed whichever PC source is shown.
    void OnFilePrint() override;

public Q_SLOTS:
    // The commands of the shared controls.
    virtual void OnPcNew() = 0;
    virtual void OnPcEdit() = 0;
    virtual void OnPcDelete() = 0;
    // The PIM side read or written again; the PIM list shows the result.
    void OnPcRead();
    void OnPcWrite();
    virtual void OnMobileRead() = 0;
    virtual void OnMobileDelete() = 0;
    virtual void OnCopyToMobile() = 0;
    virtual void OnCopyToPc() = 0;
    void ShowLocalList();
    virtual void ShowOutlookList() = 0;
    virtual void OnPcSelectAll() = 0;
    virtual void OnMobileSelectAll() = 0;

protected:
    // Shows the local list or the PIM side in the PC pane.
    virtual void ShowPcSource(bool outlook) = 0;
    // The PIM read and write of the form's kind, and the box that says the PIM side failed.
    virtual bool ImportPim() = 0;
    virtual bool ExportPim() = 0;
    virtual void ShowPimError() = 0;

    // The builders, in the order the forms' controls are made: the pane captions, then (the
    // program's) command buttons, then the rest.
    void AddPaneCaptions(const QString& pc, const QString& mobile);
    void AddPaneControls(const PaneTexts& texts);
    // A list of the Mobile pane: in its place, with its shadow, its left edge on the divider.
    CRecordListCtrl* AddMobileList(int id, int kind, const QString& name, const QString& caption);
    // Connects the shared controls to their commands.
    void ConnectPaneCommands();
    // The divider moves the Mobile pane's command buttons with the pane's other controls.
    void SetPaneDivider();
    // The Mobile pane's command buttons, which move with the pane.
    virtual std::vector<int> MobileButtons() const = 0;
    // Per form: anchors of its own controls.
    virtual void AnchorFormControls() {}
    // Anchors the shared controls, the Mobile pane's buttons and the form's own controls, then
    // lays the form out: the first step of the initial update.
    void ArrangePanes();

    // A click or double click on a record list.
    virtual void OnClickList(CRecordListCtrl* list) = 0;
    virtual void OnDblClkList(CRecordListCtrl* list) = 0;
    // Every record list answers clicks and double clicks.
    void OnRecordListAdded(CRecordListCtrl* list) override;

    // Checks the PC source's selector among `selectors`, shows its list and hides the other,
    // shows PC Read with the PIM side only, and titles the PC caption. Returns the list shown.
    CRecordListCtrl* SwitchPcSource(bool outlook, const std::vector<int>& selectors, const QString& caption);
    // The total of the PC list shown, by a format with "%d".
    void ShowPcTotal(const QString& format);

    const PaneIds m_ids;
    const Layout m_layout;

private:
    const QString m_printFooter;
};

// The same with rows that stand for records of one type, resolved through the program's
// document.
template <typename Record>
class CRecordPaneForm : public CSyncPaneForm {
public:
    using CSyncPaneForm::CSyncPaneForm;

protected:
    // The document's live record with that identity in the list of that kind; null when gone.
    virtual Record* FindRecord(int kind, quintptr id) const = 0;
    // The record of a row; null when there is no such row or its record is gone.
    Record* RowRecord(const CRecordListCtrl& list, int row) const;
    Record* SelectedRecord(const CRecordListCtrl& list) const;
};

template <typename Record>
Record* CRecordPaneForm<Record>::RowRecord(const CRecordListCtrl& list, int row) const
{
    if (row < 0 || row >= list.GetItemCount())
        return nullptr;
    return FindRecord(ListKind(&list), list.GetItemData(row));
}

template <typename Record>
Record* CRecordPaneForm<Record>::SelectedRecord(const CRecordListCtrl& list) const
{
    return RowRecord(list, list.GetSelectedIndex());
}
