// Connecting and disconnecting the adapter as the wire shows it, the failures
// of opening and of the bit-rate setting, and finding the node to work with.
#include "device_fixture.h"
#include "device/load_can_data_thread.h"
#include "device/sdo_request.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
const QString kConnecting = QString::fromUtf8("info: Подключение...");
const QString kDisconnected = QString::fromUtf8("error: Устройство отключено.");
} // namespace

TEST(BitRate, CodeTableAndPortNames)
{
    const struct {
        const char *rate;
        char code;
    } table[] = {{"10000", '0'},  {"20000", '1'},  {"50000", '2'},   {"100000", '3'},
                 {"125000", '4'}, {"250000", '5'}, {"500000", '6'},  {"800000", '7'},
                 {"1000000", '8'}, {"", '2'},      {"12345", '2'},   {"250000 ", '2'}};
    for (const auto &entry : table)
        EXPECT_EQ(bitRateCode(entry.rate), entry.code) << entry.rate;
    EXPECT_EQ(busNameOfPort("COM12"), "12");
    EXPECT_EQ(busNameOfPort("com3"), "3");
    EXPECT_EQ(busNameOfPort("Com3"), "Com3"); // the rule is case-sensitive
    EXPECT_EQ(busNameOfPort("/dev/ttyUSB0"), "/dev/ttyUSB0");
}

TEST_F(DeviceTest, ConnectAndDisconnectOnTheWire)
{
    canLinkError = 1;
    connect();
    EXPECT_TRUE(window.m_connected);
    EXPECT_EQ(canLinkError.load(), 0);
    EXPECT_TRUE(adapter.channelOpen());
    EXPECT_EQ(adapter.bitRate(), '5');
    const auto lines = fromMaster();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "O");
    EXPECT_EQ(lines[1], "S5");
    EXPECT_EQ(window.lines(), QStringList{kConnecting});

    window.m_currentOperation = "LoadingCanData";
    const size_t mark = adapter.log().size();
    disconnectCan(window);
    EXPECT_FALSE(window.m_connected);
    EXPECT_TRUE(window.m_currentOperation.isEmpty());
    // The adapter logs a line once it has acted on it, which may be after the
    // close returned: wait for the "C", then it must be the last line sent.
    ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "C", 2000ms, mark).has_value());
    EXPECT_EQ(fromMaster().back(), "C");
    EXPECT_TRUE(waitUntil([&] { return !adapter.channelOpen(); }));
    EXPECT_EQ(window.lines(), (QStringList{kConnecting, kDisconnected}));

    // Connecting again works on the same port.
    connectionSettings.baudRate = "125000";
    connect();
    EXPECT_EQ(adapter.bitRate(), '4');
}

// The serial line rate the driver set on the port: the pty keeps it for every opener.
static speed_t serialRateOf(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    const bool read = fd >= 0 && ::tcgetattr(fd, &settings) == 0;
    if (fd >= 0)
        ::close(fd);
    return read ? ::cfgetospeed(&settings) : speed_t(0);
}

TEST_F(DeviceTest, CanBusAccessSelectsTheSerialRate)
{
    connect();
    EXPECT_EQ(serialRateOf(adapter.portPath()), speed_t(B4800));
    disconnectCan(window);
    connectionSettings.canBusAccess = 3;
    connect();
    EXPECT_EQ(serialRateOf(adapter.portPath()), speed_t(B2400));
}

TEST_F(DeviceTest, DisconnectStopsAndAwaitsTheLoader)
{
    addDevice(5);
    connect();
    LoadCanDataThread loader;
    window.m_loadCanDataThread = &loader;
    loader.loadParams({});
    ASSERT_TRUE(loader.isRunning());
    disconnectCan(window);
    EXPECT_FALSE(loader.isRunning());
    EXPECT_FALSE(window.m_connected);
    window.m_loadCanDataThread = nullptr;
}

TEST_F(DeviceTest, FailedCloseIsLoggedAndTheDisconnectCompletes)
{
    connect();
    adapter.vanish(); // the "C" can no longer be written
    disconnectCan(window);
    EXPECT_FALSE(window.m_connected);
    EXPECT_EQ(window.lines(),
              (QStringList{kConnecting, QString::fromUtf8("error: Не удалось разорвать usb соединение."),
                           kDisconnected}));
}

TEST_F(DeviceTest, UnknownBitRateSendsCodeTwo)
{
    connectionSettings.baudRate = "";
    connect();
    EXPECT_EQ(adapter.bitRate(), '2');
}

TEST_F(DeviceTest, DisconnectWhileNotConnectedDoesNothing)
{
    disconnectCan(window);
    EXPECT_TRUE(window.lines().isEmpty());
    EXPECT_TRUE(fromMaster().empty());
}

TEST_F(DeviceTest, FailedOpenLogsAndLeavesNothingOpen)
{
    connectionSettings.port = folder.path() + "/no-such-port";
    EXPECT_FALSE(connectCan(window));
    EXPECT_FALSE(window.m_connected);
    EXPECT_EQ(window.lines(),
              (QStringList{kConnecting, QString::fromUtf8("error: Не удалось установить usb соединение."),
                           "ui: disconnected"}));
    // The adapter is still free for a real connect.
    connectionSettings.port = QString::fromStdString(adapter.portPath());
    connect();
}

TEST_F(DeviceTest, FindNodeFallsBackFrom31To127)
{
    addDevice(127);
    connectionSettings.device.nodeId = 0;
    EXPECT_TRUE(findNode(window)); // connects on its own
    EXPECT_TRUE(window.m_connected);
    EXPECT_EQ(connectionSettings.device.nodeId, 127);
    int to31 = 0;
    int to127 = 0;
    for (const std::string &line : fromMaster()) {
        to31 += line.rfind("t61F8", 0) == 0 && line.substr(5, 8) == "40001000";
        to127 += line.rfind("t67F8", 0) == 0 && line.substr(5, 8) == "40001000";
    }
    EXPECT_EQ(to31, 3);  // three tries at the silent node 31
    EXPECT_EQ(to127, 1); // one answered try at node 127
}

struct FindNodeCase {
    std::vector<uint8_t> devices; ///< nodes present on the bus
    int configured;               ///< node id in the settings before the search
    bool found;
    int nodeId;                   ///< node id in the settings after it
};

class FindNode : public DeviceTest, public ::testing::WithParamInterface<FindNodeCase> {};

TEST_P(FindNode, TakesTheConfiguredNodeElse31Then127)
{
    const FindNodeCase &c = GetParam();
    for (uint8_t id : c.devices)
        addDevice(id);
    connectionSettings.device.nodeId = c.configured;
    EXPECT_EQ(findNode(window), c.found);
    EXPECT_EQ(connectionSettings.device.nodeId, c.nodeId);
    if (c.configured != 0) { // only the configured node is asked
        const std::string own = "t" + QString::number(0x600 + c.configured, 16).toUpper().toStdString();
        for (const std::string &line : fromMaster())
            EXPECT_TRUE(line.rfind("t6", 0) != 0 || line.rfind(own, 0) == 0) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FindNode,
                         ::testing::Values(FindNodeCase{{31, 127}, 0, true, 31},
                                           FindNodeCase{{127}, 9, false, 9},
                                           FindNodeCase{{}, 0, false, 0}));

TEST_F(DeviceTest, ProbeNodePointsTheClientChannel)
{
    addDevice(12);
    connect();
    EXPECT_TRUE(probeNode(12));
    EXPECT_FALSE(probeNode(13));
    EXPECT_TRUE(probeNode(12));
}
