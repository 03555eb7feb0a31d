#include "link2/work_progress_dlg.h"

#include "link2/message_pump.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace dh2 {

CWorkProgressDlg::CWorkProgressDlg(QWidget* pParent)
    : QDialog(nullptr)
{
    setObjectName(QStringLiteral("CWorkProgressDlg"));
    setModal(false);
    // The title bar names the program, as its boxes do.
    setWindowTitle(QStringLiteral("Deskhand2"));
    g_bCancel = false;

    m_pAnimation = new QProgressBar(this);
    m_pAnimation->setObjectName(QStringLiteral("animation"));
    m_pAnimation->setTextVisible(false);
    m_pAnimation->setMinimumSize(272, 16);
    m_pAnimation->setRange(0, 1);
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("status"));
    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancel->setObjectName(QStringLiteral("cancel"));
    m_pCancel->setAutoDefault(false);
    m_pCancel->setDefault(false);
    QPalette face = m_pCancel->palette();
    face.setColor(QPalette::Button, platform::toQColor(kButtonFace));
    m_pCancel->setPalette(face);
    connect(m_pCancel, &QPushButton::clicked, this, &CWorkProgressDlg::OnCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_pAnimation);
    layout->addWidget(m_pStatus);
    layout->addLayout(buttons);
    adjustSize();

    QRect area;
    if (pParent)
        area = pParent->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

CWorkProgressDlg::~CWorkProgressDlg() = default;

void CWorkProgressDlg::PlayAnimation()
{
    // A busy indicator in the look's colour runs until the window closes.
    QPalette palette = m_pAnimation->palette();
    palette.setColor(QPalette::Highlight, platform::toQColor(OuterColor()));
    m_pAnimation->setPalette(palette);
    m_pAnimation->setRange(0, 0);
    update();
}

bool CWorkProgressDlg::IsAnimating() const
{
    return m_pAnimation->maximum() == 0;
}

void CWorkProgressDlg::Step(const QString& text)
{
    m_pStatus->setText(text);
    update();
    if (isVisible())
        repaint();
}

QString CWorkProgressDlg::StatusText() const
{
    return m_pStatus->text();
}

void CWorkProgressDlg::OnCancel()
{
    g_bCancel = true;
}

void CWorkProgressDlg::accept()
{
}

void CWorkProgressDlg::reject()
{
    OnCancel();
}

void CWorkProgressDlg::closeEvent(QCloseEvent* event)
{
    OnCancel();
    event->ignore();
}

void CWorkProgressDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(platform::toQColor(OuterColor()), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(QPen(platform::toQColor(InnerColor()), 1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

} // namespace dh2
