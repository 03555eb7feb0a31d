// The progress window of a transfer as the screen shows it at the moment a box opens over it:
// the real dialog, the in-process phone, faults that open the session's boxes mid-transfer.
#include "controls/work_progress_dlg.h"
#include "link2/session_fixture.h"
#include "phonesim/fault.h"
#include "support/window_test_support.h"

#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <functional>

namespace {

using namespace dh2;
using link2test::SessionTest;
using phonesim::Fault;

CWorkProgressDlg* shownProgressWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<CWorkProgressDlg*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// What the window system holds of a window: nothing (or black) until it has been painted there.
QImage onScreen(QWidget& window)
{
    return window.screen()->grabWindow(window.winId()).toImage();
}

// Records each box with the progress window as the screen showed it when the box opened.
class BoxCamera final : public platform::UiServices {
public:
    struct Shot {
        QString text;
        QImage progress;
        QRect geometry;
    };

    int messageBox(const QString& text, unsigned style) override
    {
        Shot shot {text, {}, {}};
        if (CWorkProgressDlg* dialog = shownProgressWindow()) {
            shot.progress = onScreen(*dialog);
            shot.geometry = dialog->geometry();
        }
        shots.push_back(shot);
        return rec.messageBox(text, style);
    }
    QString fileDialog(const platform::FileDialogRequest& request) override { return rec.fileDialog(request); }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void enableMainWindow(bool enable) override { rec.enableMainWindow(enable); }
    bool processPendingEvents() override { return rec.processPendingEvents(); }

    testsupport::RecordingUiServices rec;
    std::vector<Shot> shots;
};

class ProgressWindow : public SessionTest {
protected:
    BoxCamera camera;
    platform::ScopedUiServices cameraGuard {camera};
    // The program's own progress dialog instead of the fixture's recorder.
    common::ScopedProgressViewFactory dialogs {CWorkProgressDlg::Factory(CWorkProgressDlg::kDeskhand2)};
};

// The picture for reviewers: the progress window as on screen, the box in its place over it.
void SaveUnderBox(const BoxCamera::Shot& shot, const QString& name)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Deskhand2"), shot.text);
    box.show();
    QApplication::processEvents();
    const QImage boxImage = box.grab().toImage();
    const QRect boxRect(shot.geometry.center() - QPoint(boxImage.width() / 2, boxImage.height() / 2), boxImage.size());
    const QRect area = shot.geometry.united(boxRect).adjusted(-8, -8, 8, 8);
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    QPainter painter(&picture);
    painter.drawImage(shot.geometry.topLeft() - area.topLeft(), shot.progress);
    painter.drawImage(boxRect.topLeft() - area.topLeft(), boxImage);
    painter.end();
    EXPECT_TRUE(picture.save(QDir(windowtest::PictureFolder()).filePath(name + QStringLiteral(".png"))));
}

// Every box the session opens during a transfer stands over a progress window that is already
// painted on screen: its frame in the phone's colours, white inside, not an empty (black) window.
TEST_F(ProgressWindow, IsPaintedOnScreenBeforeABoxOpensOverIt)
{
    const struct {
        const char* what;
        std::function<void()> fault;
        std::function<void()> run;
        QString box;
    } rows[] = {
        {"SIM not ready", [&] { phoneState().simReady = false; },
         [&] {
             RecordList<CPhoneEntry> list;
             EXPECT_FALSE(session.ReadSimBook(list));
         },
         QStringLiteral("SIM is not ready")},
        {"full group on the phone", [&] { phone.injectFault("AT+CPBW=*", Fault::reply("\r\n+CGR ERROR\r\n")); },
         [&] {
             ASSERT_TRUE(session.SelectHandsetBook());
             CPhoneEntry entry;
             entry.m_nIndex = 1;
             entry.m_strName = QStringLiteral("Ann");
             entry.m_strMobile = QStringLiteral("0171");
             EXPECT_FALSE(session.AddHandsetEntry(entry));
             session.Disconnect();
         },
         QStringLiteral("Member is full")},
        {"silent phone", [&] { phone.injectFault("AT", Fault::silence()); },
         [&] {
             RecordList<CPhoneEntry> list;
             EXPECT_FALSE(session.ReadHandsetBook(list));
         },
         platform::LoadString(62505)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        camera.shots.clear();
        phone.clearFaults();
        phoneState().simReady = true;
        row.fault();
        row.run();
        ASSERT_FALSE(camera.shots.empty());
        const BoxCamera::Shot& shot = camera.shots.front();
        EXPECT_EQ(shot.text, row.box);
        ASSERT_FALSE(shot.progress.isNull()) << "no progress window on screen";
        EXPECT_EQ(shot.progress.pixelColor(0, 0), platform::toQColor(CWorkProgressDlg::kPhoneOuter));
        EXPECT_EQ(shot.progress.pixelColor(1, 1), platform::toQColor(CWorkProgressDlg::kPhoneInner));
        EXPECT_EQ(shot.progress.pixelColor(4, shot.progress.height() - 4), QColor(Qt::white));
        EXPECT_EQ(shownProgressWindow(), nullptr) << "the session closes its window";
        if (&row == &rows[0])
            SaveUnderBox(shot, QStringLiteral("progress2_under_error_box"));
    }
}

} // namespace
