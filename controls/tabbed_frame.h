#pragma once

#include "common/progress_view.h"
#include "controls/busy_input_gate.h"
#include "controls/splitter_tab_wnd.h"
#include "platform/colorref.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CCaptionBar;
class CDataPaneForm;
struct SplashStyle;
class QAction;
class QDialog;
class QMenu;

// The single top-level window of both programs: the menus, then from top to bottom the caption
// bar naming the current page in its colours, the page, and the tab strip. This class holds
// what the two share: the pages and their first update, the caption bar's restyling when a tab
// is shown, the runner of the dialogs, Help, About and Print, every operation's progress window
// while the window lives, and the rules while a command runs (no input, no closing) and when
// the data cannot be saved (no closing unless the user says so). Each program's frame adds its
// menus, pages, tab colours and title.
class CTabbedFrame : public QMainWindow, public ITabFrame {
    Q_OBJECT

public:
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 600;

    using ModalRunner = std::function<int(QDialog&)>;

    // What the frame asks of the document it shows.
    struct DocumentHooks {
        std::function<bool()> isBusy;   // a phone command or an exchange runs
        std::function<bool()> canClose; // saves the data; false keeps the window
    };
    // A page of the frame: its tab title and how it is made.
    struct Page {
        QString title;
        CSplitterTabWnd::ViewFactory create;
    };
    // The caption bar of a tab: its text, the bar's background, the tab shape's fill and the
    // text colour.
    struct TabStyle {
        QString caption;
        COLORREF background;
        COLORREF shape;
        COLORREF text;
    };
    // The same with the caption as a string id, as the programs' tables give it.
    struct TabColours {
        int caption;
        COLORREF background;
        COLORREF shape;
        COLORREF text;
    };

    ~CTabbedFrame() override;

    // Once the document has loaded its data: each page's first update.
    void InitialUpdateFrame();

    // Told by the splitter whenever a page is shown: restyles the caption bar for tab n and
    // keeps n as the current tab.
    void SelectTab(int n) override;
    int GetCurrentTab() const { return m_nCurrentTab; }

    CCaptionBar* GetCaptionBar() const { return m_pCaptionBar; }
    CSplitterTabWnd* GetSplitter() const { return m_pSplitter; }
    // The menu action of a command id (kept as the action's data), or nullptr.
    QAction* FindAction(int id) const;

    // Dialogs of the frame, the pages and the document run through this (tests drive them).
    void SetModalRunner(ModalRunner runner);

public Q_SLOTS:
    void OnHelp();
    void OnAppAbout();
    void OnFilePrint();

protected:
    // program names the help page and the resources ("deskhand", "deskhand2"), the window's
    // icon among them.
    CTabbedFrame(DocumentHooks document, common::ProgressViewFactory progressWindows, const QString& program,
                 QWidget* parent);

    // The pages, in tab order, and the tab strip under them.
    void OnCreateClient(const std::vector<Page>& pages);
    // The splash over the frame while it is being built, the caption bar styled for the first
    // tab, and the title.
    void OnCreate(const SplashStyle& splash, const QString& title);
    // A command in a menu (none: an action of the frame outside any menu).
    QAction* AddCommand(QMenu* menu, int id, const QString& text);
    // The page on tab n, or nullptr.
    CDataPaneForm* GetPage(int n) const;
    const ModalRunner& GetModalRunner() const { return m_runModal; }

    // The caption bar's look for tab n; none leaves the bar and the current tab as they are.
    virtual std::optional<TabStyle> TabStyleOf(int n) const = 0;
    virtual std::unique_ptr<QDialog> CreateAboutDialog() = 0;

    // Closing is refused while a phone command or an exchange runs; otherwise the document
    // saves its data and the window closes. When the save fails the window stays, unless the
    // user chooses to quit all the same.
    void closeEvent(QCloseEvent* event) override;

private:
    DocumentHooks m_document;
    QString m_strProgram;
    // Every operation shows its progress window, while this window lives.
    common::ScopedProgressViewFactory m_progressWindows;
    CSplitterTabWnd* m_pSplitter = nullptr;
    CCaptionBar* m_pCaptionBar = nullptr;
    int m_nCurrentTab = 0;
    ModalRunner m_runModal;
    // While a command runs the window neither closes (closeEvent) nor takes input.
    CBusyInputGate m_inputGate;
};
