#pragma once

#include "controls/control_names.h"
#include "controls/pane_form_view.h"

#include <QMargins>
#include <QRect>
#include <QString>

#include <functional>
#include <map>

class CDetailListCtrl;
class CFormButton;
class CImageButton;
class CRecordListCtrl;
class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QPrinter;

// The design of the data forms' templates in both programs: the PC pane left of the centre,
// the Mobile pane right of it. Anchors refer to these places.
namespace panelayout {
constexpr QSize kDesignSize(780, 450);
constexpr int kCentre = 390;
constexpr int kButtonRow = 32;
constexpr int kSelectRow = 62;
constexpr int kDetailTop = 96;
constexpr int kListGap = 14; // between a detail list and the record list under it
constexpr int kListBottom = 430;
constexpr int kPcLeft = 20;
constexpr int kPcWidth = 352;
constexpr int kMobileLeft = kCentre + 56;
constexpr int kMobileWidth = 312;
const QRect kPcCaption(12, 8, 370, 434);
const QRect kMobileCaption(kCentre + 2, 8, 376, 434);
const QMargins kDetailShadow(6, 6, 8, 7);
const QMargins kPcListShadow(5, 6, 8, 7);
const QMargins kMobileListShadow(5, 6, 8, 5);

// The command button in a slot of a pane's button row.
inline QRect ButtonAt(int left, int slot)
{
    return QRect(left + slot * 56, kButtonRow, 52, 24);
}
// The record lists take the room the detail lists leave.
inline QRect ListRect(int left, int width, int detailHeight)
{
    const int top = kDetailTop + detailHeight + kListGap;
    return QRect(left, top, width, kListBottom - top);
}
// The arrows between the panes: ">>" (0) and "<<" (1).
inline QRect ArrowRect(int slot)
{
    return QRect(kCentre + 10, slot == 0 ? 200 : 236, 38, 28);
}
} // namespace panelayout

// What the data forms of both programs share beyond the two panes: their controls by id, the
// builders that put a control at its design place with its text as its accessible name, the
// runner of their dialogs, printing of a list, and the small helpers over source selectors and
// buttons. It knows no document.
class CDataPaneForm : public CPaneFormView {
    Q_OBJECT

public:
    using ModalRunner = std::function<int(QDialog&)>;

    explicit CDataPaneForm(const QSize& designSize, QWidget* parent = nullptr);
    ~CDataPaneForm() override;

    // Dialogs of the form run through this; the default runs them modally.
    void SetModalRunner(ModalRunner runner) { m_runModal = std::move(runner); }
    int RunModal(QDialog& dialog) const;
    // Printing goes to this printer instead of asking the user (the caller keeps it alive).
    void SetPrinter(QPrinter* printer) { m_pPrinter = printer; }
    // File > Print on this form.
    virtual void OnFilePrint() = 0;

    // The controls, by id.
    CFormButton* FormButton(int id) const;
    CImageButton* ImageButton(int id) const;
    CRecordListCtrl* RecordList(int id) const;
    CDetailListCtrl* DetailList(int id) const;
    QCheckBox* CheckBox(int id) const;
    QLabel* Static(int id) const;
    QGroupBox* Caption(int id) const;

protected:
    // The list number a record list shows: 1 the local list, 2 the PIM side, 3 and 4 the
    // phone's; 0 for a list of no kind.
    void SetListKind(const CRecordListCtrl* list, int kind) { m_listKinds[list] = kind; }
    int ListKind(const CRecordListCtrl* list) const;
    bool IsPcList(const CRecordListCtrl* list) const;
    const std::map<const CRecordListCtrl*, int>& ListKinds() const { return m_listKinds; }

    // Builders of the form's controls, at their design rectangles.
    CFormButton* AddFormButton(int id, const QString& text, const QString& name, const QString& pane, const QRect& rect);
    CImageButton* AddSelector(int id, const QString& text, const QString& name, const QRect& rect);
    CImageButton* AddArrowButton(int id, const QString& text, const QString& name, const QRect& rect);
    QCheckBox* AddCheckBox(int id, const QString& text, const QString& name, const QString& pane, const QRect& rect);
    // Shows a state in a box without telling its handlers, which answer the user's changes
    // only: a form keeping a Select All box in step with its rows must not act on the rows.
    static void SetCheck(QCheckBox* box, bool checked);
    // Whether a pane's Select All shows ticked: when every row is marked. An empty PC list counts
    // as all marked; an empty phone list does not: nothing read, a failed read or an empty phone
    // leaves nothing there to select.
    static bool AllMarked(int rows, int marked, bool pcPane) { return (rows > 0 || pcPane) && marked == rows; }
    QGroupBox* AddPaneCaption(int id, const QString& text, const QString& name, const QRect& rect);
    CRecordListCtrl* AddRecordList(int id, const QString& name, const QRect& rect);
    // Called for every record list the builder added.
    virtual void OnRecordListAdded(CRecordListCtrl* /*list*/) {}

    void EnableControl(int id, bool enable);
    // Checks one selector of a pane and unchecks the others.
    void CheckSelector(int checked, std::initializer_list<int> others);
    void CheckSelector(int checked, const std::vector<int>& pane);
    // The selectors' look once the form is set up: no border, checked in white on the
    // button-shadow colour.
    void StyleSelectors(const std::vector<int>& ids);

    // Prints a list as a table under a title, with the program's footer; an empty list
    // prints nothing.
    void PrintList(CRecordListCtrl* list, const QString& title, const QString& footer);

    // Scrolls the row whose item data is id into view.
    static void ScrollToRecord(CRecordListCtrl& list, quintptr id);

private:
    std::map<const CRecordListCtrl*, int> m_listKinds;
    ModalRunner m_runModal;
    QPrinter* m_pPrinter = nullptr;
};
