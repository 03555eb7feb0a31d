#pragma once

#include <QString>

// Length limits of edit fields as the system's dialogs set them. A limit bounds what the user
// types, pastes or drops; it never cuts text that the field already holds, so a limit set
// below the current length keeps the text and only refuses growth.
namespace editlimit {

// The width a limit counts: bytes of the double-byte code page (see platform::ansiWidth);
// in a multi-line field a line break is stored as CR LF and counts two.
int TextWidth(QStringView text, bool multiLine);

struct Fit {
    bool accepted = false; // false: the edit is refused and the text stays as it was
    QString text;          // the text to keep when accepted
    int cursor = 0;        // cursor position after the kept insertion
};

// Judges one user edit that turned `before` into `after` against the limit (0 or less: no
// limit). An edit that does not make the text wider than both the limit and the old text is
// kept whole; otherwise the inserted part is cut to the room that remains, and refused when
// no room remains.
Fit FitEdit(const QString& before, const QString& after, int limit, bool multiLine);

} // namespace editlimit
