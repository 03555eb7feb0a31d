#pragma once

#include "common/progress_view.h"
#include "controls/busy_input_gate.h"
#include "controls/splitter_tab_wnd.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CCaptionBar;
class QAction;
class QDialog;
class QMenu;

namespace dh2 {

class CDataForm;
class CMVsyncDoc;

// The single top-level window of Deskhand2: the menus, then the caption bar naming the page in
// its colours, the page, and the tab strip. Its title names the phone model; the document
// tells it whenever the model changes.
class CMainFrame : public QMainWindow, public ITabFrame {
    Q_OBJECT

public:
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 600;

    // A page of the frame: its tab (0 phonebook, 1 schedule, 2 memo), its title string and how
    // it is made.
    struct Page {
        int tab;
        int titleId;
        std::function<std::unique_ptr<CDataForm>(CMVsyncDoc&)> create;
    };
    // The pages the frame holds, in tab order. A page is added here and nowhere else.
    static std::vector<Page> Pages();

    explicit CMainFrame(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Once the document has loaded its data: each page's first update.
    void InitialUpdateFrame();

    // Told by the splitter whenever a page is shown: restyles the caption bar for tab n and
    // keeps n as the current tab.
    void SelectTab(int n) override;
    int GetCurrentTab() const { return m_nCurrentTab; }
    // "Zentra Deskhand" and the model's name.
    void UpdateTitle(const QString& title);

    CCaptionBar* GetCaptionBar() const { return m_pCaptionBar; }
    CSplitterTabWnd* GetSplitter() const { return m_pSplitter; }
    // The page on tab n, or nullptr.
    CDataForm* GetForm(int n) const;
    // The menu action of a command id (kept as the action's data), or nullptr.
    QAction* FindAction(int id) const;

    // Dialogs of the frame, the pages and the document run through this (tests drive them).
    void SetModalRunner(std::function<int(QDialog&)> runner);

public Q_SLOTS:
    void OnHelp();
    void OnAppAbout();
    void OnFilePrint();

protected:
    // Closing is refused while a phone command or an exchange runs; otherwise the document
    // saves its data and the window closes. When the save fails the window stays, unless the
    // user chooses to quit all the same.
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCreateClient();
    void OnCreate();
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, int id, const QString& text);
    void UpdateChecks();

    CMVsyncDoc& m_doc;
    // Every operation shows its progress window, while this window lives.
    common::ScopedProgressViewFactory m_progressWindows;
    CSplitterTabWnd* m_pSplitter = nullptr;
    CCaptionBar* m_pCaptionBar = nullptr;
    int m_nCurrentTab = 0;
    std::function<int(QDialog&)> m_runModal;
    // While a command runs the window neither closes (closeEvent) nor takes input.
    CBusyInputGate m_inputGate;
};

} // namespace dh2
