#pragma once

#include "ui2/organizer_form.h"

namespace dh2 {

// The memo page of Deskhand2, the schedule page's twin: the PC pane shows the local memos
// ("Memo") or the PIM-side notes ("Outlook"), the Mobile pane the memos of the phone's combined
// list.
class CForm_Memo : public COrganizerForm {
    Q_OBJECT

public:
    static constexpr COLORREF kFormColor = 0x84ACAC;

    explicit CForm_Memo(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Memo() override;

protected:
    std::vector<CDetailListCtrl::Row> RecordDetails(const CScheduleEntry* record) const override;
    bool EditRecord(CScheduleEntry& record, int mode) override;
    int CopySourceList() const override { return PcKind(); }
    int CopyTargetList() const override { return PcKind(); }
    void AfterPhoneRowsFilled(int ownRows) override;
};

} // namespace dh2
