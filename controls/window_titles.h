#pragma once

#include <QString>

// How the desktop shows the programs' windows.

// Names the program for the desktop: its name (the window class) and its desktop entry, by which
// a window manager groups its windows and finds their icon. No display name is set: Qt would
// append it to every window title, and each title is the window's own text.
void SetDesktopIdentity(const QString& name);

// The width a window needs for a title bar that shows `caption` whole beside the window
// manager's icon and buttons. Title bar fonts and buttons belong to the window manager: this
// measures with the application font in bold and leaves room for an icon and three buttons.
int TitleBarWidth(const QString& caption);
