#include "phonesim/phone.h"

#include "platform/clock.h"

namespace phonesim {

namespace {
constexpr char kEsc = 27;
constexpr char kCtrlZ = 26;
} // namespace

Phone::Phone()
    : Phone(MakeDialect(1))
{
}

Phone::Phone(std::unique_ptr<Dialect> dialect)
    : m_dialect(std::move(dialect))
{
    Q_ASSERT(m_dialect);
    m_dialect->powerOn(m_state);
}

void Phone::injectFault(const QByteArray& pattern, const Fault& fault, int times)
{
    m_faults.add(pattern, fault, times);
}

void Phone::log(const QByteArray& entry)
{
    m_log << entry;
    if (m_observer)
        m_observer(entry);
}

void Phone::reportContentsChange()
{
    if (!m_state.contentsChanged)
        return;
    m_state.contentsChanged = false;
    if (m_contentsObserver)
        m_contentsObserver(m_state);
}

Output Phone::receive(const QByteArray& bytes)
{
    const qint64 now = platform::NowMs();
    if (m_state.sleepAfterMs > 0 && m_lastActivityMs && now - *m_lastActivityMs >= m_state.sleepAfterMs)
        m_state.asleep = true;
    Output out;
    QByteArray echo;
    for (const char c : bytes) {
        if (m_state.asleep) {
            m_state.asleep = false; // the byte only woke the phone
            continue;
        }
        if (m_state.echo)
            echo += c;
        if (m_state.atPrompt) {
            out.append(handlePromptInput(c));
            continue;
        }
        if (c == '\r') {
            const QByteArray command = m_input;
            m_input.clear();
            if (!command.trimmed().isEmpty())
                out.append(handleCommand(command));
        } else if (c == kEsc) {
            m_input.clear(); // drops a half-typed command
        } else if (c == '\n' && m_input.isEmpty()) {
            // a line feed after the CR
        } else if (m_input.size() < kMaxCommandLength) {
            m_input += c;
        }
    }
    if (!echo.isEmpty())
        out.chunks.insert(out.chunks.begin(), TimedBytes {0, echo});
    m_lastActivityMs = now + (out.chunks.empty() ? 0 : out.chunks.back().offsetMs);
    return out;
}

void Phone::lineDropped()
{
    m_input.clear();
    m_state.atPrompt = false;
    m_state.sessionOpen = false;
    // A schedule list written only in part is dropped with the session, as AT+SEND drops it,
    // and the character set that only the session offers goes with it.
    m_state.dialect2.pendingOrganizer.reset();
    if (m_state.charset == "SYNC")
        m_state.charset = "GSM";
}

Output Phone::handlePromptInput(char c)
{
    Output out;
    if (c == kEsc || c == kCtrlZ) {
        log(m_input + c);
        m_state.atPrompt = false;
        // An ESC cancels quietly; Ctrl-Z hands the text to the dialect, and fails in a family
        // that takes none.
        if (c == kCtrlZ) {
            const std::optional<Fault> fault = m_faults.take('>' + m_input);
            if (fault && !fault->carriesOutCommand()) {
                out = faultOutput(*fault, {});
            } else {
                const std::optional<Response> response = m_dialect->finishPrompt(m_input, m_state);
                reportContentsChange();
                const QByteArray answer = response ? Frame(*response, m_state) : FinalResultText(Response::Final::Error);
                if (fault)
                    out = faultOutput(*fault, answer);
                else
                    out.chunks.push_back({m_latencyMs, answer});
            }
        }
        m_input.clear();
    } else if (c == '\r') {
        m_input += c;
        out.chunks.push_back({m_latencyMs, "\r\n> "});
    } else if (m_input.size() < kMaxCommandLength) {
        m_input += c;
    }
    return out;
}

Output Phone::faultOutput(const Fault& fault, const QByteArray& answer) const
{
    Output out;
    switch (fault.kind) {
    case Fault::Kind::Silence:
        break;
    case Fault::Kind::Reply:
        out.chunks.push_back({m_latencyMs, fault.text});
        break;
    case Fault::Kind::Pieces:
        out.chunks = fault.timedPieces;
        break;
    case Fault::Kind::Ring:
        out.chunks.push_back({m_latencyMs, "\r\nRING\r\n"});
        out.chunks.push_back({m_latencyMs + fault.delayMs, answer});
        break;
    case Fault::Kind::Split: {
        const qsizetype size = fault.size > 0 ? fault.size : answer.size();
        qint64 at = m_latencyMs;
        for (qsizetype offset = 0; offset < answer.size(); offset += size, at += fault.delayMs)
            out.chunks.push_back({at, answer.mid(offset, size)});
        break;
    }
    case Fault::Kind::Delay:
        out.chunks.push_back({fault.delayMs, answer});
        break;
    case Fault::Kind::Stream:
        out.stream = StreamSpec {m_latencyMs, fault.delayMs, fault.text};
        break;
    case Fault::Kind::CloseLine:
    case Fault::Kind::LostThenClose:
        out.closeAtMs = m_latencyMs;
        break;
    case Fault::Kind::Before:
        out.chunks.push_back({m_latencyMs, fault.text});
        out.chunks.push_back({m_latencyMs, answer});
        break;
    case Fault::Kind::Amid: {
        // Just after the first line end that follows some text, unless only the final result
        // comes after it.
        qsizetype start = 0;
        while (start < answer.size() && (answer[start] == '\r' || answer[start] == '\n'))
            ++start;
        const qsizetype lineEnd = answer.indexOf("\r\n", start);
        const qsizetype finalStart = answer.size() > 2 ? answer.lastIndexOf("\r\n", answer.size() - 3) : -1;
        const qsizetype at = lineEnd < 0 || lineEnd >= finalStart ? 0 : lineEnd + 2;
        out.chunks.push_back({m_latencyMs, answer.left(at) + fault.text + answer.mid(at)});
        break;
    }
    case Fault::Kind::LateFinal: {
        // The final result is the answer's last line, "\r\nOK\r\n" and its kin.
        const qsizetype finalStart = answer.size() > 2 ? answer.lastIndexOf("\r\n", answer.size() - 3) : -1;
        const qsizetype split = finalStart < 0 ? 0 : finalStart;
        out.chunks.push_back({m_latencyMs, answer.left(split) + "\r\nRING\r\n"});
        out.chunks.push_back({m_latencyMs + fault.delayMs, answer.mid(split)});
        break;
    }
    case Fault::Kind::Lost:
        break;
    }
    return out;
}

Output Phone::handleCommand(const QByteArray& text)
{
    log(text);
    const std::optional<Fault> fault = m_faults.take(text);
    Output out;
    if (fault && !fault->carriesOutCommand()) {
        out = faultOutput(*fault, {});
    } else {
        const Response response = m_dialect->dispatch(ParseAtCommand(text), m_state);
        reportContentsChange();
        if (response.final == Response::Final::Prompt)
            m_state.atPrompt = true;
        const QByteArray answer = Frame(response, m_state);
        if (fault)
            out = faultOutput(*fault, answer);
        else
            out.chunks.push_back({m_latencyMs, answer});
    }
    out.stopsStream = true;
    return out;
}

} // namespace phonesim
