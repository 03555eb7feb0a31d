// The option commands of the document with the program's dialogs installed.
#include "document/mvsync_doc.h"
#include "link/globals.h"
#include "ui/debug_option_dlg.h"
#include "ui/ir_comm_option_dlg.h"
#include "ui/option_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace dh1;

namespace {

TEST(IrCommOption, EditsFollowTheCheckBoxAndOkStoresTheValues)
{
    CMVsyncDoc doc;
    bool editsEnabledAtStart = true;
    ScopedOptionEditor dialogs {COptionDialogs::Factory([&](QDialog& d) {
        auto& dialog = static_cast<CIrCommOptionDlg&>(d);
        editsEnabledAtStart = dialog.PortEdit()->isEnabled() || dialog.TimeoutEdit()->isEnabled();
        EXPECT_EQ(dialog.PortEdit()->text(), QStringLiteral("4"));
        EXPECT_EQ(dialog.TimeoutEdit()->text(), QStringLiteral("20"));
        QTest::mouseClick(dialog.EnableCheck(), Qt::LeftButton);
        EXPECT_TRUE(dialog.PortEdit()->isEnabled());
        EXPECT_TRUE(dialog.TimeoutEdit()->isEnabled());
        dialog.PortEdit()->setText(QStringLiteral("7"));
        dialog.TimeoutEdit()->setText(QStringLiteral("abc"));
        dialog.accept();
        return int(dialog.result());
    })};
    doc.OnIrCommOption();
    EXPECT_FALSE(editsEnabledAtStart);
    EXPECT_TRUE(doc.m_session.m_port.m_bIrComm);
    EXPECT_EQ(doc.m_nIrCommPort, 7);
    EXPECT_EQ(doc.m_session.m_port.m_nIrCommPort, 7);
    EXPECT_EQ(doc.m_nIrCommTimeout, 0);
    EXPECT_EQ(doc.m_session.m_port.m_nIrCommTimeoutSec, 0);
}

TEST(IrCommOption, CancelKeepsEverything)
{
    CMVsyncDoc doc;
    ScopedOptionEditor dialogs {COptionDialogs::Factory([](QDialog& d) {
        auto& dialog = static_cast<CIrCommOptionDlg&>(d);
        QTest::mouseClick(dialog.EnableCheck(), Qt::LeftButton);
        dialog.PortEdit()->setText(QStringLiteral("9"));
        dialog.reject();
        return int(dialog.result());
    })};
    doc.OnIrCommOption();
    EXPECT_FALSE(doc.m_session.m_port.m_bIrComm);
    EXPECT_EQ(doc.m_nIrCommPort, 4);
}

TEST(DebugOption, ShowsAndStoresTheLinkValues)
{
    CMVsyncDoc doc;
    doc.m_session.m_nOpenDelayMs = 150;
    doc.m_session.m_port.m_nBaud = 115200;
    g_bTrace = false;
    ScopedOptionEditor dialogs {COptionDialogs::Factory([](QDialog& d) {
        auto& dialog = static_cast<CDebugOptionDlg&>(d);
        EXPECT_EQ(dialog.OpenPauseEdit()->text(), QStringLiteral("150"));
        EXPECT_EQ(dialog.BaudCombo()->currentIndex(), 1);
        EXPECT_FALSE(dialog.BaudCombo()->isEnabled());
        EXPECT_EQ(dialog.ReadBlockEdit()->text(), QStringLiteral("10"));
        EXPECT_EQ(dialog.TimeoutEdit()->text(), QStringLiteral("10"));
        QTest::mouseClick(dialog.EnableCheck(), Qt::LeftButton);
        EXPECT_TRUE(dialog.BaudCombo()->isEnabled());
        dialog.BaudCombo()->setCurrentIndex(0);
        dialog.CommandPauseEdit()->setText(QStringLiteral("25"));
        dialog.ReadBlockEdit()->setText(QStringLiteral("0"));
        dialog.TimeoutEdit()->setText(QStringLiteral("30"));
        dialog.TraceCheck()->setChecked(true);
        dialog.accept();
        return int(dialog.result());
    })};
    doc.OnDebugOption();
    EXPECT_EQ(doc.m_session.m_port.m_nBaud, 57600);
    EXPECT_TRUE(doc.m_session.m_port.m_bIrComm);
    EXPECT_EQ(doc.m_session.m_nHalfPauseMs, 25);
    EXPECT_EQ(doc.m_session.m_nBlockSize, 1);
    EXPECT_EQ(doc.m_session.m_port.m_nTimeoutSec, 30);
    EXPECT_TRUE(g_bTrace);
    g_bTrace = false;
}

} // namespace
