// A bit-rate setting that the adapter does not take: the failure is logged,
// the controls are switched off and the port is closed again.
#include "device_fixture.h"
#include "failing_rate_command.h"

TEST_F(DeviceTest, FailedBitRateClosesThePortAgain)
{
    failRateCommand = true;
    EXPECT_FALSE(connectCan(window));
    failRateCommand = false;
    EXPECT_FALSE(window.m_connected);
    EXPECT_EQ(window.lines(),
              (QStringList{QString::fromUtf8("info: Подключение..."),
                           QString::fromUtf8("error: Не удалось установить скорость соединения."),
                           "ui: disconnected"}));
    // "O" went out, the rate never did, and the port was closed with "C".
    ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "C", 2000ms).has_value());
    EXPECT_EQ(fromMaster(), (std::vector<std::string>{"O", "C"}));
    EXPECT_TRUE(waitUntil([&] { return !adapter.channelOpen(); }));

    // Nothing was left open: a second connect succeeds.
    connect();
    EXPECT_EQ(adapter.bitRate(), '5');
}
