#include "controls/work_progress_dlg.h"

#include "controls/dialog_parts.h"
#include "controls/window_exposure.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
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

const CWorkProgressDlg::Style CWorkProgressDlg::kDeskhand {
    QStringLiteral("Deskhand"), QStringLiteral("progressing...."), QStringLiteral("Abort"), Indicator::StepBar, false, true};
const CWorkProgressDlg::Style CWorkProgressDlg::kDeskhand2 {
    QStringLiteral("Deskhand2"), QString(), QStringLiteral("Cancel"), Indicator::Animation, true, false};

CWorkProgressDlg::CWorkProgressDlg(const Style& style, const common::ProgressRequest& request, QWidget* pParent)
    : QDialog(nullptr)
    , m_style(style)
    , m_pStopFlag(request.stopFlag)
    , m_pStepRange(request.stepRange)
    , m_bLook(request.look == common::ProgressLook::Phone)
{
    setObjectName(QStringLiteral("CWorkProgressDlg"));
    setModal(false);
    setWindowTitle(style.title);
    if (!style.buttonEndsWindow && m_pStopFlag)
        *m_pStopFlag = false;

    auto* layout = new QVBoxLayout(this);
    if (style.framed)
        layout->setContentsMargins(12, 12, 12, 12);
    m_pBar = new QProgressBar(this);
    m_pBar->setTextVisible(false);
    m_pStatus = new QLabel(style.status, this);
    m_pStatus->setObjectName(QStringLiteral("status"));
    if (style.indicator == Indicator::StepBar) {
        // The animation's place stays, empty: nothing plays in it.
        auto* animation = new QLabel(this);
        animation->setObjectName(QStringLiteral("animation"));
        animation->setMinimumSize(272, 40);
        m_pBar->setObjectName(QStringLiteral("progress"));
        m_pBar->setRange(0, 100);
        m_pBar->setValue(0);
        layout->addWidget(animation);
        layout->addWidget(m_pStatus);
        layout->addWidget(m_pBar);
    } else {
        m_pBar->setObjectName(QStringLiteral("animation"));
        m_pBar->setMinimumSize(272, 16);
        m_pBar->setRange(0, 1);
        layout->addWidget(m_pBar);
        layout->addWidget(m_pStatus);
    }

    m_pStop = new QPushButton(style.button, this);
    m_pStop->setObjectName(style.buttonEndsWindow ? QStringLiteral("abort") : QStringLiteral("cancel"));
    // Enter must not reach the button through the dialog's default-button rule.
    m_pStop->setAutoDefault(false);
    m_pStop->setDefault(false);
    if (style.framed) {
        QPalette face = m_pStop->palette();
        face.setColor(QPalette::Button, platform::toQColor(kButtonFace));
        m_pStop->setPalette(face);
    }
    connect(m_pStop, &QPushButton::clicked, this, &CWorkProgressDlg::OnAbort);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pStop);
    layout->addLayout(buttons);
    // A longer status line is cut at the window's edge: the window keeps its place and size.
    KeepFixedSize(*this);
    adjustSize();

    QRect area;
    if (pParent)
        area = pParent->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());

    if (style.buttonEndsWindow)
        platform::UiServices::instance().enableMainWindow(false);
}

CWorkProgressDlg::~CWorkProgressDlg() = default;

std::unique_ptr<CWorkProgressDlg> CWorkProgressDlg::Open(const Style& style, const common::ProgressRequest& request)
{
    auto dialog = std::make_unique<CWorkProgressDlg>(style, request);
    if (style.indicator == Indicator::Animation)
        dialog->PlayAnimation();
    exposure::ShowNow(*dialog);
    return dialog;
}

common::ProgressViewFactory CWorkProgressDlg::Factory(const Style& style)
{
    return [style](const common::ProgressRequest& request) -> std::unique_ptr<common::IProgressView> {
        return Open(style, request);
    };
}

int CWorkProgressDlg::StepRange() const
{
    return m_pStepRange ? *m_pStepRange : common::kDefaultProgressRange;
}

void CWorkProgressDlg::SetBarPosition(int position)
{
    // The bar clamps positions beyond its range rather than ignoring them.
    m_pBar->setValue(std::clamp(position, m_pBar->minimum(), m_pBar->maximum()));
}

void CWorkProgressDlg::Step(const QString& text)
{
    if (m_style.indicator == Indicator::Animation) {
        m_pStatus->setText(text);
        update();
        if (isVisible())
            repaint();
        return;
    }
    m_pBar->setRange(0, std::max(0, StepRange()));
    SetBarPosition(m_nStep++);
    m_pStatus->setText(text);
    setEnabled(true);
    exposure::ShowNow(*this);
    platform::Sleep(kStepPauseMs);
}

void CWorkProgressDlg::Finish()
{
    if (m_style.indicator != Indicator::StepBar)
        return;
    m_pStatus->setText(platform::LoadString(61495));
    if (isVisible())
        repaint();
    platform::Sleep(kFinishTextPauseMs);
    for (int position = m_nStep; position <= kFinishEnd; ++position) {
        SetBarPosition(position);
        if (isVisible())
            m_pBar->repaint();
    }
    if (m_pStepRange)
        *m_pStepRange = common::kDefaultProgressRange;
    platform::Sleep(kFinishEndPauseMs);
}

void CWorkProgressDlg::SetLook(bool bPhone)
{
    m_bLook = bPhone;
    update();
}

void CWorkProgressDlg::PlayAnimation()
{
    // A busy indicator in the look's colour runs until the window closes.
    QPalette palette = m_pBar->palette();
    palette.setColor(QPalette::Highlight, platform::toQColor(OuterColor()));
    m_pBar->setPalette(palette);
    m_pBar->setRange(0, 0);
    update();
}

bool CWorkProgressDlg::IsAnimating() const
{
    return m_pBar->maximum() == 0;
}

QString CWorkProgressDlg::StatusText() const
{
    return m_pStatus->text();
}

void CWorkProgressDlg::OnAbort()
{
    if (m_pStopFlag)
        *m_pStopFlag = true;
    if (m_style.buttonEndsWindow)
        QDialog::done(QDialog::Rejected);
}

void CWorkProgressDlg::accept()
{
}

void CWorkProgressDlg::reject()
{
    // Esc and the close button.
    if (m_style.buttonEndsWindow)
        QDialog::reject();
    else if (m_pStopFlag)
        *m_pStopFlag = true;
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

void CWorkProgressDlg::closeEvent(QCloseEvent* event)
{
    if (m_style.buttonEndsWindow) {
        QDialog::closeEvent(event);
        return;
    }
    // Cancel leaves the window to the operation.
    reject();
    event->ignore();
}

void CWorkProgressDlg::paintEvent(QPaintEvent* event)
{
    if (!m_style.framed) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(platform::toQColor(OuterColor()), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(QPen(platform::toQColor(InnerColor()), 1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}
