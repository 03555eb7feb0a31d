#pragma once

// Which windows keep their size and which stay resizable, as a window manager sees them.
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace windowtest {

// "640x480", for readable failures.
inline std::string SizeText(const QSize& size)
{
    return std::to_string(size.width()) + 'x' + std::to_string(size.height());
}

// A window of fixed layout once shown: no maximize or minimize button, one size as both minimum
// and maximum of its window (what the window manager reads), at least the width it was designed
// for and the size its fields need, and a resize changes nothing.
inline void ExpectKeepsItsSize(QWidget& window, int designedWidth = 0)
{
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    const QSize shown = window.size();
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(SizeText(window.windowHandle()->minimumSize()), SizeText(window.windowHandle()->maximumSize()));
    EXPECT_EQ(SizeText(window.windowHandle()->maximumSize()), SizeText(shown));
    EXPECT_GE(shown.width(), designedWidth);
    EXPECT_GE(shown.width(), window.sizeHint().width());
    EXPECT_GE(shown.height(), window.sizeHint().height());
    window.resize(shown.width() * 2, shown.height() * 2);
    EXPECT_EQ(SizeText(window.size()), SizeText(shown));
    window.resize(shown.width() / 2, shown.height() / 2);
    EXPECT_EQ(SizeText(window.size()), SizeText(shown));
}

// A window that stays resizable once shown: it grows when asked to.
inline void ExpectResizable(QWidget& window)
{
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_NE(SizeText(window.windowHandle()->minimumSize()), SizeText(window.windowHandle()->maximumSize()));
    const QSize larger = window.size() + QSize(200, 150);
    window.resize(larger);
    EXPECT_EQ(SizeText(window.size()), SizeText(larger));
}

// One window of a program's table: how to make it, whether its layout is fixed, and the width a
// fixed one was designed for at least.
struct SizeRow {
    std::function<std::unique_ptr<QWidget>()> make;
    bool fixed;
    int designedWidth = 0;
};

inline void ExpectSizes(const std::vector<SizeRow>& rows)
{
    for (const SizeRow& row : rows) {
        const std::unique_ptr<QWidget> window = row.make();
        SCOPED_TRACE(window->objectName().toStdString() + " " + window->windowTitle().toStdString());
        if (row.fixed)
            ExpectKeepsItsSize(*window, row.designedWidth);
        else
            ExpectResizable(*window);
    }
}

} // namespace windowtest
