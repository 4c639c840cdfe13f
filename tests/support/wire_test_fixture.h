// End-to-end set-up: the real master stack and adapter driver connected over the pty
// fixture's virtual adapter, node 5 carrying a few test entries besides the standard
// objects. Each test gets a fresh adapter and a fresh connection.
#pragma once

#include "sdo_abort_codes.h"
#include "stack_session.h"
#include "virtual_device_fixture.h"

#include <numeric>
#include <string>
#include <vector>

namespace veqtest {

class WireTest : public VirtualAdapterTest {
protected:
    WireTest() : VirtualAdapterTest("Wire test drive") {}

    void addEntries() override
    {
        node->setU8(0x2001, 0, 0x5A);
        node->setU16(0x2002, 0, 0x1234);
        node->setU32(0x2003, 0, 0xDEADBEEF);
        node->setDomain(0x2100, 0, {});
    }

    void SetUp() override
    {
        VirtualAdapterTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(session.connect(adapter.portPath())) << "master did not come up";
        // The boot-up frame is the master's last word of the connect.
        ASSERT_TRUE(adapter.log().waitFor(WireDirection::FromMaster, "t701100", 2s));
    }

    void TearDown() override
    {
        session.disconnect();
        adapter.stop();
    }

    // Bytes 1, 2, 3, ... as test data of a given size.
    static std::vector<uint8_t> counting(size_t size)
    {
        std::vector<uint8_t> bytes(size);
        std::iota(bytes.begin(), bytes.end(), uint8_t(1));
        return bytes;
    }

    // The frame line an SDO abort of node 5's transfer carries, in either direction.
    static std::string abortLine(uint16_t cobId, uint16_t index, uint8_t sub, uint32_t code)
    {
        return frameLine(CanFrame(cobId, {0x80, uint8_t(index), uint8_t(index >> 8), sub, uint8_t(code),
                                          uint8_t(code >> 8), uint8_t(code >> 16), uint8_t(code >> 24)}));
    }

    // Lines the master sent from log position `mark` on.
    std::vector<std::string> masterLinesSince(size_t mark) const
    {
        std::vector<std::string> sent;
        const std::vector<WireLine> lines = adapter.log().lines();
        for (size_t i = mark; i < lines.size(); ++i) {
            if (lines[i].direction == WireDirection::FromMaster)
                sent.push_back(lines[i].text);
        }
        return sent;
    }

    StackSession session;
};

} // namespace veqtest
