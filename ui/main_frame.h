#pragma once

#include "common/progress_view.h"
#include "controls/busy_input_gate.h"
#include "controls/splitter_tab_wnd.h"
#include "document/option_editor.h"

#include <QMainWindow>

#include <functional>

class CCaptionBar;
class CDataForm;
class CMVsyncDoc;
class QAction;
class QDialog;

// The single top-level window of Deskhand: the menus, then from top to bottom the caption bar
// naming the current form in its colours, the current form, and the tab strip.
class CMainFrame : public QMainWindow, public ITabFrame {
    Q_OBJECT

public:
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 600;

    // Builds the client (the forms and the tab strip), shows the splash, then the caption bar
    // styled for the first tab, and sets the title.
    explicit CMainFrame(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Once the document has loaded its data: each form's first update.
    void InitialUpdateFrame();

    // Told by the splitter whenever a form is shown: restyles the caption bar for tab n and
    // keeps n as the current tab.
    void SelectTab(int n) override;
    int GetCurrentTab() const { return m_nCurrentTab; }

    CCaptionBar* GetCaptionBar() const { return m_pCaptionBar; }
    CSplitterTabWnd* GetSplitter() const { return m_pSplitter; }
    // The form on tab n, or nullptr.
    CDataForm* GetForm(int n) const;
    // The menu action of a command id (kept as the action's data), or nullptr.
    QAction* FindAction(int id) const;

    // Dialogs of the frame, the forms and the option commands run through this (tests drive
    // them).
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
    void UpdateComPortChecks();

    CMVsyncDoc& m_doc;
    // Every operation shows its progress window, while this window lives.
    common::ScopedProgressViewFactory m_progressWindows;
    // The option commands open their dialogs over this window, through its modal runner.
    ScopedOptionEditor m_optionDialogs;
    CSplitterTabWnd* m_pSplitter = nullptr;
    CCaptionBar* m_pCaptionBar = nullptr;
    int m_nCurrentTab = 0;
    std::function<int(QDialog&)> m_runModal;
    // While a command runs the window neither closes (closeEvent) nor takes input.
    CBusyInputGate m_inputGate;
};
