#pragma once

#include "phonesim/output.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace phonesim {

// A misbehaviour of the phone for one command. Kinds that replace the answer (silence, a
// reply text, timed pieces, a stream, a closed line) leave the command undone; kinds that
// only disturb the delivery (RING first, split, delay, unsolicited lines first or amid the
// answer, a final result late after RING) or lose the answer of a command done (lost, lost then closed) carry it out.
//
// A pattern that starts with '>' matches the text typed at the prompt (with '>' in front), so
// that the answer after the text's Ctrl-Z can be disturbed too.
struct Fault {
    enum class Kind { Silence, Reply, Pieces, Ring, Split, Delay, Stream, CloseLine, Before, Amid, LateFinal, Lost,
        LostThenClose };

    Kind kind = Kind::Silence;
    QByteArray text;                // Reply: the bytes sent; Stream: the line repeated; Before, Amid: the lines put in
    std::vector<TimedBytes> timedPieces; // Pieces: offsets from the command's CR
    int size = 0;                   // Split: bytes per piece
    int delayMs = 0;                // Ring: RING to answer; Split: between pieces; Delay: before the answer; Stream: period;
                                    // LateFinal: RING to the final result

    static Fault silence();
    static Fault reply(const QByteArray& text);
    static Fault error();
    static Fault cmeError(int code);
    static Fault cmsError(int code);
    static Fault extError(int code);
    static Fault pieces(std::vector<TimedBytes> pieces);
    static Fault ring(int delayMs = 500);
    static Fault split(int size, int delayMs);
    static Fault delay(int delayMs);
    static Fault stream(const QByteArray& line, int periodMs);
    static Fault closeLine();
    // Unsolicited lines (or noise) sent just before the answer.
    static Fault before(const QByteArray& lines);
    // Unsolicited lines (or noise) in the middle of the answer: after its first line, so between
    // the first two lines of a list; before the answer when it has no line but its final result.
    static Fault amid(const QByteArray& lines);
    // The answer's body, RING, and the final result line delayMs later.
    static Fault lateFinal(int delayMs);
    // The phone does the command, but its answer never comes; LostThenClose: the line then goes dead.
    static Fault lost();
    static Fault lostThenClose();

    bool carriesOutCommand() const;
};

// Faults by command pattern: the command text without its CR, compared without regard to case;
// a pattern ending in '*' matches every command that begins with the rest.
class FaultPlan {
public:
    // times < 0: every time.
    void add(const QByteArray& pattern, const Fault& fault, int times = -1);
    std::optional<Fault> take(const QByteArray& command);
    void clear() { m_entries.clear(); }
    bool empty() const { return m_entries.empty(); }

private:
    struct Entry {
        QByteArray pattern;
        Fault fault;
        int times;
    };
    std::vector<Entry> m_entries;
};

// Reads "KIND[:ARG[:ARG]]@PATTERN", e.g. "silence@AT+SYNCSTART", "cme:21@AT+CPBW=*",
// "split:8:150@AT", "stream:20@AT+CPBR=*", "reply:\r\nERROR\r\n@AT". Kinds: silence, error,
// cme:N, cms:N, ext:N, reply:TEXT, ring[:MS], split:SIZE[:MS], delay:MS, stream[:MS[:LINE]],
// close, before:TEXT, amid:TEXT, latefinal[:MS], lost, lostclose. Texts take the escapes \r \n \t \\ \xHH.
bool ParseFaultSpec(const QString& spec, QByteArray* pattern, Fault* fault, QString* error);

// Bytes as readable text (\r, \n, \xHH for other control bytes) and back.
QByteArray EscapeBytes(const QByteArray& bytes);
QByteArray UnescapeBytes(const QByteArray& text);

} // namespace phonesim
