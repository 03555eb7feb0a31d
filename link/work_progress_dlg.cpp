#include "link/work_progress_dlg.h"

#include "common/window_exposure.h"
#include "link/globals.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kStepPauseMs = 100;
constexpr int kFinishTextPauseMs = 100;
constexpr int kFinishEndPauseMs = 500;
constexpr int kFinishEnd = 100;
} // namespace

CWorkProgressDlg::CWorkProgressDlg(QWidget* pParent)
    : QDialog(nullptr)
{
    setObjectName(QStringLiteral("CWorkProgressDlg"));
    setModal(false);
    // The title bar names the program, as its boxes do.
    setWindowTitle(QStringLiteral("Deskhand"));

    m_pAnimation = new QLabel(this);
    m_pAnimation->setObjectName(QStringLiteral("animation"));
    m_pAnimation->setMinimumSize(272, 40);
    m_pStatus = new QLabel(QStringLiteral("progressing...."), this);
    m_pStatus->setObjectName(QStringLiteral("status"));
    m_pProgress = new QProgressBar(this);
    m_pProgress->setObjectName(QStringLiteral("progress"));
    m_pProgress->setTextVisible(false);
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pAbort = new QPushButton(QStringLiteral("Abort"), this);
    m_pAbort->setObjectName(QStringLiteral("abort"));
    // Enter must not reach the button through the dialog's default-button rule.
    m_pAbort->setAutoDefault(false);
    m_pAbort->setDefault(false);
    connect(m_pAbort, &QPushButton::clicked, this, &CWorkProgressDlg::OnAbort);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pAbort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pAnimation);
    layout->addWidget(m_pStatus);
    layout->addWidget(m_pProgress);
    layout->addLayout(buttons);
    adjustSize();

    QRect area;
    if (pParent)
        area = pParent->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());

    platform::UiServices::instance().enableMainWindow(false);
}

CWorkProgressDlg::~CWorkProgressDlg() = default;

void CWorkProgressDlg::SetBarPosition(int position)
{
    // The bar clamps positions beyond its range rather than ignoring them.
    m_pProgress->setValue(std::clamp(position, m_pProgress->minimum(), m_pProgress->maximum()));
}

void CWorkProgressDlg::RepaintNow()
{
    if (isVisible())
        repaint();
}

void CWorkProgressDlg::Step(const QString& text)
{
    m_pProgress->setRange(0, std::max(0, g_nProgressRange));
    SetBarPosition(m_nStep++);
    m_pStatus->setText(text);
    setEnabled(true);
    common::ShowNow(*this);
    platform::Sleep(kStepPauseMs);
}

void CWorkProgressDlg::Finish()
{
    m_pStatus->setText(platform::LoadString(61495));
    RepaintNow();
    platform::Sleep(kFinishTextPauseMs);
    for (int position = m_nStep; position <= kFinishEnd; ++position) {
        SetBarPosition(position);
        if (isVisible())
            m_pProgress->repaint();
    }
    g_nProgressRange = 10;
    platform::Sleep(kFinishEndPauseMs);
}

QString CWorkProgressDlg::StatusText() const
{
    return m_pStatus->text();
}

void CWorkProgressDlg::OnAbort()
{
    g_bUserAbort = true;
    QDialog::done(QDialog::Rejected);
}

void CWorkProgressDlg::accept()
{
}

void CWorkProgressDlg::reject()
{
    QDialog::reject();
}

void CWorkProgressDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
