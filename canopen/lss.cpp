// Layer setting services. Every LSS frame has 8 bytes with the command
// specifier in byte 0. The master keeps one request pending at a time (state
// 3 with a 1000 ms time-out); the slave tracks its mode and the progress of
// selective switching and identification in the LSS group of the node.
#include "canopen/lss.h"

#include "canopen/alarm.h"
#include "canopen/byte_order.h"
#include "canopen/nmt.h"
#include "canopen/od.h"
#include "canopen/port.h"

#include <cstring>

const char *const kLssBitTimings[9] = {"1M", "800K", "500K", "250K", "125K", "100K", "50K", "20K", "10K"};
const char *const kLssNoBitTiming = "none";

namespace {

constexpr uint16_t kFromMaster = 0x7E5;
constexpr uint16_t kFromSlave = 0x7E4;
constexpr uint8_t kConfigurationMode = 1;
constexpr uint8_t kWaitingMode = 0;
constexpr uint8_t kAllSelectiveBits = 0x0F;
constexpr uint8_t kAllIdentifyBits = 0x3F;
// Identity object: vendor, product, revision, serial in subentries 1 to 4.
constexpr uint16_t kIdentity = 0x1018;

uint8_t u8At(const void *value)
{
    return value != nullptr ? *static_cast<const uint8_t *>(value) : 0;
}

uint32_t u32At(const void *value)
{
    uint32_t v = 0;
    if (value != nullptr)
        std::memcpy(&v, value, sizeof v);
    return v;
}

bool isSlave(const NodeContext *node)
{
    return node->isSlave != nullptr && *node->isSlave == 1;
}

int send(NodeContext *node, uint16_t cobId, const uint8_t (&data)[8])
{
    CanMessage frame{};
    frame.cobId = cobId;
    frame.len = 8;
    std::memcpy(frame.data, data, sizeof data);
    // A slave in the middle of a bit-rate switch has no port: nothing leaves.
    return canSend(node->port, &frame) == 0 ? 0 : -1;
}

void finish(NodeContext *node, uint8_t state)
{
    node->lssState = state;
    if (node->onLssDone != nullptr)
        node->onLssDone(node, node->lssCommand);
}

// Identity value of subentry 1 to 4; false when the node has none.
bool identity(NodeContext *node, uint8_t subIndex, uint32_t *value)
{
    uint32_t size = sizeof *value;
    uint8_t type = 0;
    *value = 0;
    return getOdEntry(node, kIdentity, subIndex, value, &size, &type, 0) == 0;
}

// Arms the periodic alarm of the two halves of the switch delay. A delay of
// 0 ms would make a one-shot alarm that never reaches the second half.
void armSwitch(NodeContext *node, uint16_t delayMs)
{
    node->lssSwitchDelay = delayMs;
    node->lssSwitchPhase = 1;
    const uint32_t period = delayMs == 0 ? 1 : delayMs;
    node->lssSwitchAlarm = deleteAlarm(node->lssSwitchAlarm);
    node->lssSwitchAlarm = setAlarm(node, 0, onLssSwitchDelay, period, period);
}

int answer(NodeContext *node, uint8_t command, const void *value, const void *secondValue)
{
    return sendLssAnswerIfOn(node, command, value, secondValue);
}

int answerError(NodeContext *node, uint8_t command, uint8_t error)
{
    const uint8_t specific = 0;
    return answer(node, command, &error, &specific);
}

// Requests the slave takes in configuration mode only.
int configure(NodeContext *node, const CanMessage *frame)
{
    const uint8_t command = frame->data[0];
    switch (command) {
    case LssCommand::ConfigureNodeId: {
        // 0 is not a node id; 255 takes the id away.
        const uint8_t id = frame->data[1];
        const bool valid = (id >= 1 && id <= 127) || id == kNoNodeId;
        if (valid)
            node->lastNodeId = id;
        return answerError(node, command, valid ? 0 : 1);
    }
    case LssCommand::ConfigureBitTiming: {
        const uint8_t index = frame->data[2];
        if (index >= 9)
            return answerError(node, command, 255);
        node->lssBitTiming = kLssBitTimings[index];
        return answerError(node, command, 0);
    }
    case LssCommand::ActivateBitTiming:
        if (lssBitTimingIndex(node->lssBitTiming) < 0 || node->lssSwitchPhase != 0)
            return -1;
        node->lssKeptPort = node->port;
        node->port = nullptr;
        armSwitch(node, static_cast<uint16_t>(frame->data[1] | frame->data[2] << 8));
        return 0;
    case LssCommand::StoreConfiguration: {
        uint8_t error = 1;
        uint8_t specific = 0;
        if (node->onLssStore != nullptr) {
            error = 0;
            node->onLssStore(node, &error, &specific);
        }
        return answer(node, command, &error, &specific);
    }
    default: { // inquire vendor, product, revision, serial
        uint32_t value = 0;
        if (!identity(node, static_cast<uint8_t>(command - LssCommand::InquireVendor + 1), &value))
            return -1;
        return answer(node, command, &value, nullptr);
    }
    }
}

int switchModeGlobal(NodeContext *node, uint8_t mode)
{
    if (mode == kConfigurationMode) {
        node->lssMode = kConfigurationMode;
        return 0;
    }
    if (mode != kWaitingMode)
        return -1;
    node->lssMode = kWaitingMode;
    const uint8_t configured = node->lastNodeId;
    if (*node->nodeId == kNoNodeId && configured >= 1 && configured <= 127) {
        setNodeId(node, configured);
        setNodeState(node, NmtState::Initialisation);
    }
    return 0;
}

int switchModeSelective(NodeContext *node, uint8_t command, uint32_t value)
{
    if (node->lssMode != kWaitingMode)
        return -1;
    uint32_t own = 0;
    const uint8_t part = static_cast<uint8_t>(command - LssCommand::SwitchSelectiveVendor);
    if (identity(node, static_cast<uint8_t>(part + 1), &own) && own == value)
        node->lssSwitchProgress = static_cast<uint8_t>(node->lssSwitchProgress | 1u << part);
    else
        node->lssSwitchProgress = 0;
    if (node->lssSwitchProgress != kAllSelectiveBits)
        return 0;
    node->lssSwitchProgress = 0;
    node->lastNodeId = *node->nodeId;
    node->lssMode = kConfigurationMode;
    return answer(node, LssCommand::SwitchSelectiveAnswer, nullptr, nullptr);
}

int identifyRemoteSlave(NodeContext *node, uint8_t command, uint32_t value)
{
    const uint8_t part = static_cast<uint8_t>(command - LssCommand::IdentifyVendor);
    // Vendor and product must be equal; revision and serial lie in a range
    // given by a low (even part) and a high (odd part) bound.
    static const uint8_t subIndexOf[6] = {1, 2, 3, 3, 4, 4};
    uint32_t own = 0;
    bool match = identity(node, subIndexOf[part], &own);
    if (match) {
        if (part < 2)
            match = own == value;
        else if (part % 2 == 0)
            match = own >= value;
        else
            match = own <= value;
    }
    if (!match) {
        node->lssIdentifyBits = 0;
        return 0;
    }
    node->lssIdentifyBits = static_cast<uint8_t>(node->lssIdentifyBits | 1u << part);
    if (node->lssIdentifyBits != kAllIdentifyBits)
        return 0;
    node->lssIdentifyBits = 0;
    return answer(node, LssCommand::IdentifyAnswer, nullptr, nullptr);
}

bool answerFits(uint8_t answer, uint8_t pending)
{
    switch (answer) {
    case LssCommand::ConfigureNodeId:
    case LssCommand::ConfigureBitTiming:
    case LssCommand::StoreConfiguration:
    case LssCommand::InquireNodeId:
        return answer == pending;
    case LssCommand::SwitchSelectiveAnswer:
        return pending >= LssCommand::SwitchSelectiveVendor && pending <= LssCommand::SwitchSelectiveSerial;
    case LssCommand::IdentifyAnswer:
        return pending >= LssCommand::IdentifyVendor && pending <= LssCommand::IdentifySerialHigh;
    case LssCommand::IdentifyNonConfiguredAnswer:
        return pending == LssCommand::IdentifyNonConfigured;
    default:
        return answer >= LssCommand::InquireVendor && answer <= LssCommand::InquireSerial && answer == pending;
    }
}

} // namespace

int lssBitTimingIndex(const char *name)
{
    if (name == nullptr)
        return -1;
    for (int i = 0; i < 9; ++i) {
        if (std::strcmp(name, kLssBitTimings[i]) == 0)
            return i;
    }
    return -1;
}

char lssAdapterRate(int tableIndex)
{
    // The adapter numbers its rates upwards from 10 kbit/s ('0') to 1 Mbit/s
    // ('8'); the CiA 305 table runs the other way.
    if (tableIndex < 0 || tableIndex > 8)
        return 0;
    return static_cast<char>('8' - tableIndex);
}

void startLss(NodeContext *)
{
}

void stopLss(NodeContext *)
{
}

int sendLssRequest(NodeContext *node, uint8_t command, const void *value, const void *)
{
    uint8_t data[8] = {command, 0, 0, 0, 0, 0, 0, 0};
    node->lssCommand = command;
    switch (command) {
    case LssCommand::SwitchModeGlobal:
    case LssCommand::ConfigureNodeId:
        data[1] = u8At(value);
        break;
    case LssCommand::ConfigureBitTiming: {
        const int index = lssBitTimingIndex(static_cast<const char *>(value));
        if (index < 0) {
            node->lssResult = kLssUnknownBitTiming;
            finish(node, LssState::Done);
            return -1;
        }
        node->lssBitTiming = kLssBitTimings[index];
        data[2] = static_cast<uint8_t>(index); // byte 1: table selector 0, the standard table
        break;
    }
    case LssCommand::ActivateBitTiming: {
        if (lssBitTimingIndex(node->lssBitTiming) < 0) {
            node->lssResult = 1;
            finish(node, LssState::Done);
            return -1;
        }
        uint16_t delay = 0;
        if (value != nullptr)
            std::memcpy(&delay, value, sizeof delay);
        data[1] = static_cast<uint8_t>(delay);
        data[2] = static_cast<uint8_t>(delay >> 8);
        if (send(node, kFromMaster, data) != 0)
            return -1;
        node->lssTimeoutAlarm = deleteAlarm(node->lssTimeoutAlarm); // the switch has no answer to wait for
        node->lssKeptPort = node->port;
        armSwitch(node, delay);
        node->lssState = LssState::Waiting;
        return 0;
    }
    case LssCommand::StoreConfiguration:
    case LssCommand::IdentifyNonConfigured:
        break;
    default:
        if (command >= LssCommand::SwitchSelectiveVendor && command <= LssCommand::SwitchSelectiveSerial)
            writeLe32(data + 1, u32At(value));
        else if (command >= LssCommand::IdentifyVendor && command <= LssCommand::IdentifySerialHigh)
            writeLe32(data + 1, u32At(value));
        else if (command < LssCommand::InquireVendor || command > LssCommand::InquireNodeId)
            return -1;
        break;
    }
    if (send(node, kFromMaster, data) != 0)
        return -1;
    node->lssTimeoutAlarm = deleteAlarm(node->lssTimeoutAlarm);
    node->lssTimeoutAlarm = setAlarm(node, 0, onLssTimeout, kLssTimeoutMs, 0);
    node->lssState = LssState::Waiting;
    return 0;
}

int configureLss(NodeContext *node, uint8_t command, const void *value, const void *secondValue,
                 void (*hook)(NodeContext *node, uint8_t command))
{
    node->onLssDone = hook;
    node->lssCommand = command;
    node->lssTimeoutAlarm = deleteAlarm(node->lssTimeoutAlarm);
    return sendLssRequest(node, command, value, secondValue);
}

int sendLss(NodeContext *node, uint8_t command, const void *value, const void *secondValue)
{
    if (!isSlave(node))
        return sendLssRequest(node, command, value, secondValue);
    return sendLssAnswerIfOn(node, command, value, secondValue);
}

uint8_t getLssResult(NodeContext *node, uint32_t *result, uint8_t *extra)
{
    *result = node->lssResult;
    *extra = node->lssExtra;
    return node->lssState;
}

int sendLssAnswer(NodeContext *node, uint8_t command, const void *value, const void *secondValue)
{
    uint8_t data[8] = {command, 0, 0, 0, 0, 0, 0, 0};
    switch (command) {
    case LssCommand::ConfigureNodeId:
    case LssCommand::ConfigureBitTiming:
    case LssCommand::StoreConfiguration:
        data[1] = u8At(value);
        data[2] = u8At(secondValue);
        break;
    case LssCommand::SwitchSelectiveAnswer:
    case LssCommand::IdentifyAnswer:
    case LssCommand::IdentifyNonConfiguredAnswer:
        break;
    case LssCommand::InquireNodeId:
        data[1] = u8At(value);
        break;
    default:
        if (command < LssCommand::InquireVendor || command > LssCommand::InquireSerial)
            return -1;
        writeLe32(data + 1, u32At(value));
        break;
    }
    return send(node, kFromSlave, data);
}

int sendLssAnswerIfOn(NodeContext *node, uint8_t command, const void *value, const void *secondValue)
{
    if (!node->commSwitches.lss)
        return -1;
    return sendLssAnswer(node, command, value, secondValue);
}

int processLssAnswer(NodeContext *node, const CanMessage *frame)
{
    if (node->lssState != LssState::Waiting || frame->len != 8)
        return -1;
    const uint8_t command = frame->data[0];
    if (!answerFits(command, node->lssCommand))
        return -1;
    uint32_t result = 0;
    uint8_t extra = 0;
    if (command == LssCommand::ConfigureNodeId || command == LssCommand::ConfigureBitTiming ||
        command == LssCommand::StoreConfiguration) {
        result = frame->data[1];
        extra = frame->data[2];
    } else if (command == LssCommand::InquireNodeId) {
        result = frame->data[1];
    } else if (command >= LssCommand::InquireVendor && command <= LssCommand::InquireSerial) {
        result = readLe32(frame->data + 1);
    }
    node->lssTimeoutAlarm = deleteAlarm(node->lssTimeoutAlarm);
    node->lssResult = result;
    node->lssExtra = extra;
    finish(node, LssState::Done);
    return 0;
}

int processLssRequest(NodeContext *node, const CanMessage *frame)
{
    if (frame->len != 8)
        return -1;
    const uint8_t command = frame->data[0];
    const uint32_t value = readLe32(frame->data + 1);
    if (command == LssCommand::SwitchModeGlobal)
        return switchModeGlobal(node, frame->data[1]);
    if (command >= LssCommand::SwitchSelectiveVendor && command <= LssCommand::SwitchSelectiveSerial)
        return switchModeSelective(node, command, value);
    if (command >= LssCommand::IdentifyVendor && command <= LssCommand::IdentifySerialHigh)
        return identifyRemoteSlave(node, command, value);
    if (command == LssCommand::IdentifyNonConfigured)
        return *node->nodeId == kNoNodeId ? answer(node, LssCommand::IdentifyNonConfiguredAnswer, nullptr, nullptr)
                                          : 0;
    if (command == LssCommand::InquireNodeId) { // answered in either mode
        const uint8_t id = *node->nodeId;
        return answer(node, command, &id, nullptr);
    }
    const bool configurationOnly =
        command == LssCommand::ConfigureNodeId || command == LssCommand::ConfigureBitTiming ||
        command == LssCommand::ActivateBitTiming || command == LssCommand::StoreConfiguration ||
        (command >= LssCommand::InquireVendor && command <= LssCommand::InquireSerial);
    if (!configurationOnly || node->lssMode != kConfigurationMode)
        return -1;
    return configure(node, frame);
}

void onLssTimeout(NodeContext *node, uint32_t)
{
    // The one-shot slot is already free and may have been taken again.
    node->lssTimeoutAlarm = kNoAlarm;
    if (node->lssCommand == LssCommand::IdentifyNonConfigured) {
        node->lssResult = 1; // no answer: every slave has a node id
        finish(node, LssState::Done);
        return;
    }
    finish(node, LssState::TimedOut);
}

void onLssSwitchDelay(NodeContext *node, uint32_t)
{
    if (node->lssSwitchPhase == 1) {
        node->lssSwitchPhase = 2;
        const char rate[2] = {lssAdapterRate(lssBitTimingIndex(node->lssBitTiming)), 0};
        node->lssResult = changeCanBaudRate(node->lssKeptPort, rate) == 0 ? 0 : 1;
        return;
    }
    node->lssSwitchPhase = 0;
    node->lssSwitchAlarm = deleteAlarm(node->lssSwitchAlarm);
    if (isSlave(node)) {
        // A port closed during the switch is not given back, nor is a port opened since replaced.
        if (node->lssKeptPort != nullptr)
            node->port = node->lssKeptPort;
        node->lssKeptPort = nullptr;
        return;
    }
    node->lssKeptPort = nullptr;
    // lssResult holds the outcome of the rate change: 0, or 1 when the adapter refused it.
    finish(node, LssState::Done);
}
