#include "controls/splitter_tab_wnd.h"

#include "controls/wnd_tab.h"

#include <algorithm>

CSplitterTabWnd::CSplitterTabWnd(QWidget* parent) : QWidget(parent) {}

CSplitterTabWnd::~CSplitterTabWnd() = default;

QWidget* CSplitterTabWnd::GetView(int id) const
{
    if (id < 0 || id >= int(m_arrViews.size()))
        return nullptr;
    return m_arrViews[size_t(id)];
}

int CSplitterTabWnd::AddView(const ViewFactory& create, const QString& title)
{
    m_arrTitles.append(title);
    if (m_pWndTab) {
        m_pWndTab->MarkWidthsDirty();
        m_pWndTab->update();
    }

    const int hidden = HidePane();
    std::unique_ptr<QWidget> view = create ? create() : nullptr;
    if (!view) {
        if (hidden >= 0)
            ShowView(hidden);
        return -1;
    }

    // The id is the tab's index, so that a view that could not be made leaves a gap instead
    // of shifting every later view onto its neighbour's tab.
    const int id = int(m_arrTitles.size()) - 1;
    view->setParent(this);
    m_arrViews.resize(size_t(id) + 1);
    m_arrViews[size_t(id)] = view.release();
    ShowView(id);
    RecalcLayout();
    update();
    return id;
}

int CSplitterTabWnd::CreateTabWindow(ITabFrame* frame)
{
    m_pFrame = frame;
    if (!m_pWndTab) {
        m_pWndTab = new CWndTab(this);
        m_pWndTab->SetSplitter(this);
        m_pWndTab->show();
    }
    SelectView(0);
    return 1;
}

void CSplitterTabWnd::SelectView(int n)
{
    if (GetView(n)) {
        if (n != m_nShownView) {
            HidePane();
            ShowView(n);
        }
        RecalcLayout();
    }
    m_nCurrentView = n;
    if (m_pWndTab)
        m_pWndTab->update();
    if (m_pFrame)
        m_pFrame->SelectTab(n);
}

int CSplitterTabWnd::HidePane()
{
    const int id = m_nShownView;
    if (QWidget* view = GetView(id))
        view->hide();
    m_nShownView = -1;
    return id;
}

void CSplitterTabWnd::ShowView(int id)
{
    if (QWidget* view = GetView(id)) {
        m_nShownView = id;
        view->show();
    }
}

void CSplitterTabWnd::RecalcLayout()
{
    const QRect client = rect();
    const int tabHeight = m_pWndTab ? m_pWndTab->GetTabHeight() : 0;
    const int viewHeight = std::max(0, client.height() - tabHeight);
    if (m_pWndTab)
        m_pWndTab->setGeometry(client.left(), client.top() + viewHeight, client.width(), tabHeight);
    if (QWidget* view = GetView(m_nShownView))
        view->setGeometry(client.left(), client.top(), client.width(), viewHeight);
}

void CSplitterTabWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
}
