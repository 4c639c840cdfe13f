// The SDO server of a virtual CANopen node: expedited, segmented and block transfers in
// both directions over one object dictionary, with injectable protocol faults. It is a
// plain state machine (frames in, frames out, a clock passed in); VirtualNode adds locking.
#pragma once

#include "can_frame_line.h"
#include "virtual_object_dictionary.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace veqtest {

using Clock = std::chrono::steady_clock;

class VirtualSdoServer {
public:
    VirtualSdoServer(uint8_t nodeId, VirtualObjectDictionary& dictionary);

    // One request from the client (COB-ID 0x600 + node id). Returns the answers in the
    // order they go on the bus (on 0x580 + node id); a block upload returns a whole block.
    std::vector<CanFrame> handleRequest(const CanFrame& request, Clock::time_point now);
    // Aborts a transfer that has waited for the client longer than the time-out.
    std::vector<CanFrame> checkTimeout(Clock::time_point now);
    // When checkTimeout has something to do next, if anything.
    std::optional<Clock::time_point> deadline() const;

    // Idle time after which a transfer in progress is aborted with 0x05040000 (default 1 s).
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    // Segments per block that the server asks for in block downloads (1 to 127, default 16).
    void setBlockSize(uint8_t blockSize) { blockSize_ = blockSize; }

    // Faults, each used once. abortNextRequest: answer `afterRequests` more requests
    // normally, then answer the next one with an abort carrying `code`.
    void abortNextRequest(uint32_t code, int afterRequests = 0);
    // wrongToggle: the segment answer (upload segment or download segment acknowledgement)
    // after `afterSegments` correct ones carries the wrong toggle bit.
    void wrongToggle(int afterSegments = 0);

    bool busy() const { return state_ != State::Idle; }
    int transfersCompleted() const { return transfersCompleted_; }
    // Abort code of the last abort frame the client sent, 0 when none came yet.
    uint32_t lastClientAbort() const { return lastClientAbort_; }

private:
    enum class State {
        Idle,
        UploadSegmented,
        DownloadSegmented,
        BlockUploadStarting, // initiate answered, waiting for the start command
        BlockUploadSending,  // a block is out, waiting for its acknowledgement
        BlockUploadEnding,   // end sent, waiting for the client's confirmation
        BlockDownloadReceiving,
        BlockDownloadEnding, // last segment received, waiting for the end frame
    };

    std::vector<CanFrame> dispatch(const CanFrame& request);
    std::vector<CanFrame> startUpload(const uint8_t* d);
    std::vector<CanFrame> startDownload(const uint8_t* d);
    std::vector<CanFrame> startBlockUpload(const uint8_t* d);
    std::vector<CanFrame> startBlockDownload(const uint8_t* d);
    std::vector<CanFrame> uploadSegment(const uint8_t* d);
    std::vector<CanFrame> downloadSegment(const uint8_t* d);
    std::vector<CanFrame> blockUploadFrame(const uint8_t* d);
    std::vector<CanFrame> blockDownloadSegment(const uint8_t* d);
    std::vector<CanFrame> blockDownloadEnd(const uint8_t* d);
    std::vector<CanFrame> sendUploadBlock();
    std::vector<CanFrame> finishDownload(const CanFrame& confirmation);

    CanFrame answer(std::initializer_list<uint8_t> head) const;
    CanFrame headerAnswer(uint8_t command, uint32_t value = 0) const;
    std::vector<CanFrame> abortTransfer(uint32_t code);
    uint8_t segmentCommand(uint8_t command);
    void beginTransfer(const uint8_t* d); // fresh state for the object named in d
    void reset();

    uint8_t nodeId_;
    VirtualObjectDictionary& dictionary_;
    std::chrono::milliseconds timeout_{1000};
    uint8_t blockSize_ = 16;

    State state_ = State::Idle;
    uint16_t index_ = 0;
    uint8_t subIndex_ = 0;
    uint8_t toggle_ = 0;
    std::vector<uint8_t> buffer_;
    size_t offset_ = 0;
    std::optional<size_t> announcedSize_;
    size_t sizeLimit_ = 0; // most bytes the download in progress may bring
    // Block transfers count in 7-byte segments: the first one of the block in flight, the
    // number sent in it, and on download the last in-order sequence number received.
    size_t blockStartSegment_ = 0;
    uint8_t blockSent_ = 0;
    uint8_t clientBlockSize_ = 0;
    uint8_t lastGoodSeq_ = 0;
    bool lastSegmentSeen_ = false;
    Clock::time_point lastActivity_{};

    std::optional<uint32_t> faultAbortCode_;
    int faultAbortAfter_ = 0;
    int faultToggleAfter_ = -1;

    int transfersCompleted_ = 0;
    uint32_t lastClientAbort_ = 0;
};

} // namespace veqtest
