#pragma once

#include "controls/dialog_parts.h"
#include "controls/schedule_edit_dlg.h"
#include "link2/records.h"

namespace dh2 {

// Edits one schedule entry of Deskhand2: subject, date, time, repeat and alarm. Built with the
// entry and a mode (1 New, 2 Edit; the title says which); the entry changes only on OK.
class CScheduleDlg : public CScheduleEditDlg {
    Q_OBJECT

public:
    using enum EditDialogMode;

    CScheduleDlg(CScheduleEntry& entry, int mode, QWidget* parent = nullptr);

public Q_SLOTS:
    // Subject (an empty one too), repeat, the date with the hour and minute (second 0), and the
    // alarm when one is chosen, go to the entry.
    void accept() override;
    void OnChangeSubject();

private:
    CScheduleEntry& m_entry;
};

// The typing limit of a memo or a subject: 28 bytes while the text holds fewer than 28 UTF-16
// units (a line break counting as CR LF), from then on what the text already takes, so that it
// can shrink but not grow.
int OrganizerTextLimit(const QString& text);

} // namespace dh2
