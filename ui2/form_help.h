#pragma once

#include <QWidget>

class QTextBrowser;

namespace dh2 {

// A page that shows the local help page "Help(Pilla).html" in a browser inside a 6-pixel
// black frame. The main frame adds no tab for it.
class CForm_Help final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFrame = 6;
    static inline const QString kPage = QStringLiteral("Help(Pilla).html");

    explicit CForm_Help(QWidget* parent = nullptr);

    // Opens the page from the program's files; a missing page says so in the browser.
    void OnInitialUpdate();
    QTextBrowser* Browser() const { return m_pBrowser; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QTextBrowser* m_pBrowser;
};

} // namespace dh2
