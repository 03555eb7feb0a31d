#pragma once

#include "controls/tabbed_frame.h"
#include "document/option_editor.h"

namespace dh1 {

class CDataForm;
class CMVsyncDoc;

// The single top-level window of Deskhand: the menus, then from top to bottom the caption bar
// naming the current form in its colours, the current form, and the tab strip.
class CMainFrame : public CTabbedFrame {
    Q_OBJECT

public:
    // Builds the client (the forms and the tab strip), shows the splash, then the caption bar
    // styled for the first tab, and sets the title.
    explicit CMainFrame(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The form on tab n, or nullptr.
    CDataForm* GetForm(int n) const;

protected:
    std::optional<TabStyle> TabStyleOf(int n) const override;
    std::unique_ptr<QDialog> CreateAboutDialog() override;

private:
    void BuildMenus();
    void UpdateComPortChecks();

    CMVsyncDoc& m_doc;
    // The option commands open their dialogs over this window, through its modal runner.
    ScopedOptionEditor m_optionDialogs;
};

} // namespace dh1
