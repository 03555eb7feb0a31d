#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CWndTab;

// The frame that holds the splitter: told which page is shown, so that it can restyle its
// caption and remember the current tab. The splitter never owns it.
class ITabFrame {
public:
    virtual void SelectTab(int n) = 0;

protected:
    ~ITabFrame() = default;
};

// A page switcher: the upper pane shows one of several views, the lower pane is the tab strip.
// There is no bar to drag; only a click on the strip changes the page.
class CSplitterTabWnd : public QWidget {
    Q_OBJECT

public:
    // Makes one view; nullptr when it cannot be made.
    using ViewFactory = std::function<std::unique_ptr<QWidget>()>;

    explicit CSplitterTabWnd(QWidget* parent = nullptr);
    ~CSplitterTabWnd() override;

    // Adds a page titled title and shows its view. Returns the view id, which is the index of
    // its tab, or -1 when the view could not be made (the tab stays, without a view).
    int AddView(const ViewFactory& create, const QString& title);
    // Creates the tab strip and shows view 0; called once, after the views are added.
    int CreateTabWindow(ITabFrame* frame);
    // Shows view n (when it exists), makes n current, repaints the strip and tells the frame.
    void SelectView(int n);
    virtual void RecalcLayout();

    int GetCurrentView() const { return m_nCurrentView; }
    int GetViewCount() const { return int(m_arrTitles.size()); }
    const QStringList& GetTitles() const { return m_arrTitles; }
    QWidget* GetView(int id) const;
    CWndTab* GetTabWnd() const { return m_pWndTab; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int HidePane();
    void ShowView(int id);

    int m_nCurrentView = 0;
    CWndTab* m_pWndTab = nullptr; // a child: the Qt tree owns it
    QStringList m_arrTitles;
    std::vector<QPointer<QWidget>> m_arrViews; // by id; empty where the view could not be made
    int m_nShownView = -1;                     // the view in the upper pane
    ITabFrame* m_pFrame = nullptr;
};
