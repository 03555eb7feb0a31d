#include "common/serial_line.h"

#include "support/simulated_line_fixture.h"

#include <vector>

namespace {

using phonesim::Fault;

class SerialLineTest : public SimulatedLineTest {
protected:
    void SetUp() override { ASSERT_TRUE(line.Open(1, 57600, 'N', 8, 1, 9)); }

    QByteArray read(int bufferSize = 17600)
    {
        std::vector<char> buffer(size_t(bufferSize) + 16, '#');
        int count = -1;
        EXPECT_TRUE(line.Read(buffer.data(), bufferSize, &count));
        // Nothing beyond the caller's buffer is touched.
        EXPECT_EQ(std::string(buffer.data() + bufferSize, 16), std::string(16, '#'));
        return QByteArray(buffer.data(), count);
    }

    static common::SerialLineTraits Traits()
    {
        return {[](int nPort) { return QStringLiteral("Port %1 is busy").arg(nPort); }, kClosePauseMs};
    }
    static constexpr int kClosePauseMs = 500;

    common::CSerialLine line {Traits()};
};

TEST_F(SerialLineTest, ReadOnASilentLineReturnsNothingAfterOnePoll)
{
    const qint64 start = now();
    EXPECT_TRUE(read().isEmpty());
    EXPECT_EQ(now() - start, common::CSerialLine::kPollMs);
}

TEST_F(SerialLineTest, ReadGathersUntilTheLineIsQuiet)
{
    phone.state().echo = false;
    phone.injectFault("AT+X", Fault::pieces({{20, "\r\n+X: 1"}, {150, "\r\n+X: 2"}, {250, "\r\n\r\nOK\r\n"}}));
    ASSERT_TRUE(line.Write("AT+X\r", 5));
    const qint64 start = now();
    EXPECT_EQ(read(), QByteArray("\r\n+X: 1\r\n+X: 2\r\n\r\nOK\r\n"));
    EXPECT_EQ(now() - start, 400);
}

TEST_F(SerialLineTest, ReadStopsOnceItHasGathered513Bytes)
{
    phone.state().echo = false;
    // 200 bytes per poll, without end.
    phone.injectFault("AT+X", Fault::stream(QByteArray(48, 'x') + "\r\n", 25));
    ASSERT_TRUE(line.Write("AT+X\r", 5));
    const QByteArray first = read();
    EXPECT_EQ(first.size(), 600);
    EXPECT_EQ(read().size(), 600); // the rest of the stream is still coming
}

TEST_F(SerialLineTest, ReadNeverTakesMoreThanTheBufferHolds)
{
    phone.state().echo = false;
    phone.injectFault("AT+X", Fault::reply(QByteArray(3000, 'y')));
    ASSERT_TRUE(line.Write("AT+X\r", 5));
    EXPECT_EQ(read(100).size(), 100);
    EXPECT_EQ(read(5000).size(), 2900);
}

TEST_F(SerialLineTest, WritePurgesWhatArrivedBefore)
{
    ASSERT_TRUE(line.Write("AT\r", 3)); // echo on: "AT\r\r\nOK\r\n" arrives within 20 ms
    clock.advance(500);
    ASSERT_TRUE(line.Write("AT+CMEE=1\r", 10));
    EXPECT_EQ(read(), QByteArray("AT+CMEE=1\r\r\nOK\r\n"));
}

TEST_F(SerialLineTest, OpenUsesTheMappedDevice)
{
    line.Close();
    qputenv("DESKHAND_COM7", "/tmp/deskhand-test-com7");
    lines.setDevicePath(QStringLiteral("/tmp/deskhand-test-com7"));
    EXPECT_TRUE(line.Open(7, 57600, 'N', 8, 1, 9));
    EXPECT_EQ(lines.openedPaths().last(), QStringLiteral("/tmp/deskhand-test-com7"));
    qunsetenv("DESKHAND_COM7");
    EXPECT_TRUE(ui().boxes.empty());
}

TEST_F(SerialLineTest, PortHeldByAnotherProgramShowsTheProgramsBox)
{
    line.Close();
    lines.setHeldElsewhere(true);
    EXPECT_FALSE(line.Open(3, 57600, 'N', 8, 1, 9));
    ASSERT_EQ(ui().boxes.size(), 1u);
    EXPECT_EQ(ui().boxes[0].text, QStringLiteral("Port 3 is busy"));
    EXPECT_EQ(ui().boxes[0].style, unsigned(platform::MB_ICONINFORMATION));
    EXPECT_FALSE(line.IsOpen());
}

// A program may want a pause after closing, before the port is opened again; closing a line
// that is not open takes none.
TEST_F(SerialLineTest, CloseTakesTheProgramsPauseOnce)
{
    qint64 start = now();
    EXPECT_TRUE(line.Close());
    EXPECT_EQ(now() - start, kClosePauseMs);
    start = now();
    EXPECT_TRUE(line.Close());
    EXPECT_EQ(now() - start, 0);
}

TEST_F(SerialLineTest, SettingsThatCannotBeAppliedFailWithoutABox)
{
    line.Close();
    EXPECT_FALSE(line.Open(1, 57600, 'N', 9, 1, 9));
    EXPECT_TRUE(ui().boxes.empty());
    EXPECT_TRUE(line.IsOpen()); // held until Close, as the callers expect
    EXPECT_TRUE(line.Close());
    EXPECT_FALSE(lines.lineOpen());
}

TEST_F(SerialLineTest, ClosedLineFailsReadsAndWrites)
{
    phone.injectFault("AT", Fault::closeLine());
    ASSERT_TRUE(line.Write("AT\r", 3));
    int count = 0;
    char buffer[64];
    EXPECT_FALSE(line.Read(buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(line.Write("AT\r", 3));
    EXPECT_TRUE(line.Close());
    EXPECT_FALSE(line.Write("AT\r", 3));
}

} // namespace
