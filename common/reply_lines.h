#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <optional>

// Helpers for classifying a phone's reply while it grows: both families judge only complete
// lines, and each keeps its own table of what a line means.

namespace common {

inline bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Walks the complete lines of a reply that is fed again, whole, after every piece; each line is
// looked at once, so a long reply costs linear time. A line ends at CR, LF or CR LF, also when
// the LF comes in the next piece.
class CReplyLineScanner {
public:
    // Calls onLine(line, end) for every complete line not seen yet, in order: `line` without its
    // line end, `end` the offset just after it. Stops early when onLine returns true; the
    // lines after it are seen at the next call.
    template <typename OnLine>
    void Scan(const QByteArray& reply, OnLine onLine)
    {
        qsizetype pos = m_nScanned;
        if (m_bLfMayFollow && pos < reply.size()) {
            m_bLfMayFollow = false;
            if (reply[pos] == '\n')
                ++pos;
        }
        while (pos < reply.size()) {
            qsizetype lineEnd = std::max(pos, m_nSearched);
            while (lineEnd < reply.size() && !IsLineEnd(reply[lineEnd]))
                ++lineEnd;
            if (lineEnd == reply.size()) {
                m_nSearched = lineEnd;
                break;
            }
            qsizetype next = lineEnd + 1;
            if (reply[lineEnd] == '\r' && next < reply.size() && reply[next] == '\n')
                ++next;
            // Only a lone CR at the end of what came may still get its LF in the next piece.
            m_bLfMayFollow = reply[lineEnd] == '\r' && next == lineEnd + 1 && next == reply.size();
            const QByteArray line = reply.mid(pos, lineEnd - pos);
            pos = next;
            if (onLine(line, next))
                break;
        }
        m_nScanned = pos;
    }

    // Where the line that has no line end yet begins (the reply's size when there is none).
    qsizetype TailStart() const { return m_nScanned; }

private:
    qsizetype m_nScanned = 0;  // start of the first line not yet seen
    qsizetype m_nSearched = 0; // how far that line has been searched for its end
    bool m_bLfMayFollow = false; // the last line ended in CR at the end of the reply so far
};

// The answer a caller gets: the first `end` bytes of the raw reply, without the command's exact
// echo (same case, its "\r" included) in front when cutEcho is set, and without line ends,
// blanks and tabs on the right.
QByteArray AnswerText(const QByteArray& reply, qsizetype end, bool cutEcho, const QByteArray& command);

// A reply as text. Phones answer in ASCII, but alpha names in message lists come as the phone
// stores them: a line that the locale's character set cannot read is read in the legacy code
// page, so that "Zo\xEB" stays a name instead of a replacement character.
QString DecodeReply(const QByteArray& bytes);

// The code of an error line: the text after its first ':' up to the next ':', as atoi reads it;
// nothing when the line has no ':'.
std::optional<int> ErrorLineCode(const QByteArray& line);

// True when the line is `prefix` alone or followed by ':' or a blank ("+CME ERROR: 21", not
// "+CME ERRORS").
bool IsErrorLine(const QByteArray& line, const char* prefix);

} // namespace common
