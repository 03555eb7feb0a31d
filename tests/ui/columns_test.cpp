// Deskhand's lists at the system font and a larger one.
#include "main_window_fixture.h"

#include "support/column_fit_check.h"

namespace {

using uitest::MainWindowTest;

using Columns = MainWindowTest;

TEST_F(Columns, TitlesNumbersAndLabelsFitTheFont)
{
    windowtest::ExpectColumnsFitTheSystemFontAndALargerOne(*frame);
}

} // namespace
