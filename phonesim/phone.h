#pragma once

#include "phonesim/dialect.h"
#include "phonesim/fault.h"
#include "phonesim/output.h"
#include "phonesim/phone_state.h"

#include <QByteArrayList>

#include <functional>
#include <memory>
#include <optional>

namespace phonesim {

// A simulated phone: takes the bytes the PC writes and says what it sends back and when.
// It echoes input while echo is on, collects a command up to its CR, answers it through its
// dialect with standard framing after a short latency, and applies the faults injected for
// that command. The front end schedules the output; the phone reads the installed clock only
// to fall asleep after a silence on the line, when its state asks for that (a sleeping phone
// loses the first byte that wakes it).
//
// Answers come quickly (20 ms by default) because the PC purges its input before every write:
// the answer to a command it does not wait for must arrive before its next command, or it
// would be taken for the next answer.
class Phone {
public:
    static constexpr int kDefaultLatencyMs = 20;
    static constexpr qsizetype kMaxCommandLength = 4096;

    Phone(); // first family
    explicit Phone(std::unique_ptr<Dialect> dialect);

    PhoneState& state() { return m_state; }
    const PhoneState& state() const { return m_state; }
    const Dialect& dialect() const { return *m_dialect; }

    int latencyMs() const { return m_latencyMs; }
    void setLatencyMs(int ms) { m_latencyMs = ms; }

    // See FaultPlan for patterns; times < 0 means every time.
    void injectFault(const QByteArray& pattern, const Fault& fault, int times = -1);
    void clearFaults() { m_faults.clear(); }

    Output receive(const QByteArray& bytes);
    // The PC left the line without closing its session (its program was killed): a half-typed
    // command and the text prompt are dropped and the session ends, as a phone does when the
    // cable is pulled. The settings and contents stay.
    void lineDropped();

    // Every command line received (without its CR), a text typed at the prompt with its
    // terminator, and an ESC, in order.
    const QByteArrayList& commandLog() const { return m_log; }
    void clearCommandLog() { m_log.clear(); }
    // Called with every entry of the command log as it is made.
    void setLogObserver(std::function<void(const QByteArray&)> observer) { m_observer = std::move(observer); }
    // Called after every command that changed the phone's contents (books, groups, schedules,
    // memos, messages), before its answer goes out.
    void setContentsObserver(std::function<void(const PhoneState&)> observer) { m_contentsObserver = std::move(observer); }

private:
    Output handleCommand(const QByteArray& text);
    Output handlePromptInput(char c);
    Output faultOutput(const Fault& fault, const QByteArray& answer) const;
    void log(const QByteArray& entry);
    void reportContentsChange();

    std::unique_ptr<Dialect> m_dialect;
    PhoneState m_state;
    FaultPlan m_faults;
    int m_latencyMs = kDefaultLatencyMs;
    QByteArray m_input;
    std::optional<qint64> m_lastActivityMs; // the last byte on the line, either way
    QByteArrayList m_log;
    std::function<void(const QByteArray&)> m_observer;
    std::function<void(const PhoneState&)> m_contentsObserver;
};

} // namespace phonesim
