#pragma once

#include "controls/tabbed_frame.h"

namespace dh2 {

class CDataForm;
class CMVsyncDoc;

// The single top-level window of Deskhand2: the menus, then the caption bar naming the page in
// its colours, the page, and the tab strip. Its title names the phone model; the document
// tells it whenever the model changes.
class CMainFrame : public CTabbedFrame {
    Q_OBJECT

public:
    explicit CMainFrame(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // "Zentra Deskhand" and the model's name.
    void UpdateTitle(const QString& title);

    // The page on tab n (0 phonebook, 1 schedule, 2 memo), or nullptr.
    CDataForm* GetForm(int n) const;

protected:
    std::optional<TabStyle> TabStyleOf(int n) const override;
    std::unique_ptr<QDialog> CreateAboutDialog() override;

private:
    void BuildMenus();
    void UpdateChecks();

    CMVsyncDoc& m_doc;
};

} // namespace dh2
