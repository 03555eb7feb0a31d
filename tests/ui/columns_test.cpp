// Deskhand's lists at the system font and a larger one.
#include "main_window_fixture.h"

#include "support/column_fit_check.h"

namespace {

using uitest::MainWindowTest;

using Columns = MainWindowTest;

TEST_F(Columns, TitlesNumbersAndLabelsFitTheFont)
{
    const QFont system = QApplication::font();
    ASSERT_GT(system.pointSize(), 0);
    for (const int points : {system.pointSize(), system.pointSize() + 6}) {
        SCOPED_TRACE(points);
        QFont font = system;
        font.setPointSize(points);
        frame->setFont(font);
        windowtest::ExpectColumnsFit(*frame);
    }
}

} // namespace
