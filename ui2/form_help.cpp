#include "ui2/form_help.h"

#include "platform/folders.h"

#include <QPainter>
#include <QRegion>
#include <QTextBrowser>
#include <QUrl>

namespace dh2 {

CForm_Help::CForm_Help(QWidget* parent) : QWidget(parent), m_pBrowser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("CForm_Help"));
    m_pBrowser->setObjectName(QStringLiteral("browser"));
    m_pBrowser->setAccessibleName(QStringLiteral("Tutorial"));
    m_pBrowser->setOpenExternalLinks(true);
}

void CForm_Help::OnInitialUpdate()
{
    const QString path = platform::FindResource(kPage, QStringLiteral("deskhand2"));
    if (path.isEmpty()) {
        m_pBrowser->setHtml(QStringLiteral("<p>The page %1 cannot be found.</p>").arg(kPage.toHtmlEscaped()));
        return;
    }
    m_pBrowser->setSource(QUrl::fromLocalFile(path));
}

void CForm_Help::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pBrowser->setGeometry(rect().adjusted(kFrame, kFrame, -kFrame, -kFrame));
    update();
}

void CForm_Help::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRegion frame = QRegion(rect()).subtracted(QRegion(rect().adjusted(kFrame, kFrame, -kFrame, -kFrame)));
    for (const QRect& part : frame)
        painter.fillRect(part, Qt::black);
}

} // namespace dh2
