#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

namespace platform {
class SerialDevice;
}

namespace common {

// What sets one program's serial line apart.
struct SerialLineTraits {
    // The text of the box shown when the port cannot be opened, for the port's number.
    std::function<QString(int nPort)> openFailureText;
    // A pause after closing the port, before it may be opened again.
    int closePauseMs = 0;
};

// A program's only access to a COM port: open by number, write a buffer, gather queued input by
// polling. Knows nothing of AT commands; the transport owns it.
class CSerialLine {
public:
    // One Read stops once it has gathered at least this many bytes.
    static constexpr int kReadStopBytes = 513;
    static constexpr int kPollMs = 100;

    explicit CSerialLine(SerialLineTraits traits);
    ~CSerialLine();
    CSerialLine(const CSerialLine&) = delete;
    CSerialLine& operator=(const CSerialLine&) = delete;

    // Opens COM port nPort (see platform::ComPortPath). A port that cannot be opened shows the
    // traits' box with the information icon. The event mask is accepted for the callers' sake;
    // input is polled.
    bool Open(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits, quint32 dwEventMask);
    // Purges and closes; true also when nothing was open.
    bool Close();
    // Purges both directions, then writes the whole buffer.
    bool Write(const char* pData, int nCount);
    // Polls every 100 ms and appends queued input to pBuffer until the line is quiet for one
    // poll or at least 513 bytes came; never writes more than nBufferSize bytes.
    bool Read(char* pBuffer, int nBufferSize, int* pnCount);

    bool IsOpen() const;
    // True when the open port failed with an I/O error or hung up: the device went away under
    // it (a cable pulled and plugged in again, a new device at the same path).
    bool IsLost() const;
    // Closes the port and opens it again as the last Open did; false when it cannot be opened
    // (with the traits' box) or was never opened.
    bool Reopen();

private:
    struct OpenSettings {
        int nPort;
        int nBaud;
        char cParity;
        int nDataBits;
        int nStopBits;
        quint32 dwEventMask;
    };

    SerialLineTraits m_traits;
    int m_nTimeoutMs = 1000;
    std::optional<OpenSettings> m_lastOpen;
    std::unique_ptr<platform::SerialDevice> m_device;
};

} // namespace common
