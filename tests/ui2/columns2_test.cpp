// Deskhand2's lists at the system font and a larger one, and the book selectors, which keep
// their place when the divider moves.
#include "main_window2_fixture.h"

#include "support/column_fit_check.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

using namespace ui2test;

using Columns2 = MainWindow2Test;

TEST_F(Columns2, TitlesNumbersAndLabelsFitTheFont)
{
    windowtest::ExpectColumnsFitTheSystemFontAndALargerOne(*frame);
}

TEST_F(Columns2, BookSelectorsStayWhenTheDividerMoves)
{
    QWidget* surface = form->GetFormSurface();
    const auto send = [surface](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPointF pos(x, 100);
        QMouseEvent event(type, pos, surface->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    };
    const QRect handset = form->GetDlgItem(IDC_MOBILE)->geometry();
    const QRect sim = form->GetDlgItem(IDC_SIM)->geometry();
    // As far right as the divider goes, then as far left.
    for (const int x : {surface->width() - 331, 401}) {
        const int start = form->DividerHitRect().center().x();
        const int mobileLeft = List(IDC_HANDSET_LIST)->geometry().left();
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        send(QEvent::MouseMove, x, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, x, Qt::NoButton);
        EXPECT_EQ(List(IDC_HANDSET_LIST)->geometry().left(), mobileLeft + x - start) << x;
        EXPECT_EQ(form->GetDlgItem(IDC_MOBILE)->geometry(), handset) << x;
        EXPECT_EQ(form->GetDlgItem(IDC_SIM)->geometry(), sim) << x;
        EXPECT_TRUE(surface->rect().contains(sim)) << x;
    }
}

} // namespace
