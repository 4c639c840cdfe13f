// SDO server of a virtual node. Frame layout: byte 0 command, bytes 1-2 index (little
// endian), byte 3 subindex, bytes 4-7 data, size or abort code; segments carry 7 bytes
// after their command byte; block segments carry a sequence number instead.
#include "virtual_sdo_server.h"

#include "sdo_abort_codes.h"

#include <algorithm>

namespace veqtest {

namespace {

constexpr size_t SegmentBytes = 7;

uint16_t indexOf(const uint8_t* d) { return static_cast<uint16_t>(d[1] | (d[2] << 8)); }

size_t segmentCount(size_t bytes) { return std::max<size_t>(1, (bytes + SegmentBytes - 1) / SegmentBytes); }

} // namespace

VirtualSdoServer::VirtualSdoServer(uint8_t nodeId, VirtualObjectDictionary& dictionary)
    : nodeId_(nodeId), dictionary_(dictionary)
{
}

void VirtualSdoServer::abortNextRequest(uint32_t code, int afterRequests)
{
    faultAbortCode_ = code;
    faultAbortAfter_ = afterRequests;
}

void VirtualSdoServer::wrongToggle(int afterSegments) { faultToggleAfter_ = afterSegments; }

std::vector<CanFrame> VirtualSdoServer::handleRequest(const CanFrame& request,
                                                      Clock::time_point now)
{
    // A real server cannot make sense of a short SDO frame; it stays silent.
    if (request.len != 8)
        return {};
    lastActivity_ = now;
    const uint8_t* d = request.data.data();
    // Inside a download block every frame is a segment; only 0x80 (sequence 0) is an abort.
    const bool isAbort = d[0] == 0x80 || (state_ != State::BlockDownloadReceiving && (d[0] >> 5) == 4);
    if (isAbort) {
        lastClientAbort_ = readLe32(d + 4);
        reset();
        return {};
    }
    if (faultAbortCode_) {
        if (faultAbortAfter_ == 0) {
            const uint32_t code = *faultAbortCode_;
            faultAbortCode_.reset();
            if (state_ == State::Idle)
                beginTransfer(d);
            return abortTransfer(code);
        }
        --faultAbortAfter_;
    }
    return dispatch(request);
}

std::vector<CanFrame> VirtualSdoServer::dispatch(const CanFrame& request)
{
    const uint8_t* d = request.data.data();
    if (state_ == State::BlockDownloadReceiving)
        return blockDownloadSegment(d);

    const uint8_t command = d[0] >> 5;
    // An initiate always starts afresh, even over a transfer the client gave up on.
    switch (command) {
    case 1:
        return startDownload(d);
    case 2:
        return startUpload(d);
    case 5:
        if ((d[0] & 0x03) == 0)
            return startBlockUpload(d);
        break;
    case 6:
        if ((d[0] & 0x01) == 0)
            return startBlockDownload(d);
        break;
    default:
        break;
    }

    switch (state_) {
    case State::UploadSegmented:
        if (command == 3)
            return uploadSegment(d);
        break;
    case State::DownloadSegmented:
        if (command == 0)
            return downloadSegment(d);
        break;
    case State::BlockUploadStarting:
    case State::BlockUploadSending:
    case State::BlockUploadEnding:
        if (command == 5)
            return blockUploadFrame(d);
        break;
    case State::BlockDownloadEnding:
        if (command == 6)
            return blockDownloadEnd(d);
        break;
    default:
        break;
    }
    if (state_ == State::Idle)
        beginTransfer(d);
    return abortTransfer(abort::InvalidCommand);
}

std::vector<CanFrame> VirtualSdoServer::startUpload(const uint8_t* d)
{
    beginTransfer(d);
    if (uint32_t code = dictionary_.read(index_, subIndex_, buffer_))
        return abortTransfer(code);
    const size_t size = buffer_.size();
    if (size >= 1 && size <= 4) {
        CanFrame frame = headerAnswer(static_cast<uint8_t>(0x43 | ((4 - size) << 2)));
        std::copy(buffer_.begin(), buffer_.end(), frame.data.begin() + 4);
        reset();
        ++transfersCompleted_;
        return {frame};
    }
    // Empty entries go segmented too: an expedited answer cannot say "0 bytes".
    state_ = State::UploadSegmented;
    return {headerAnswer(0x41, static_cast<uint32_t>(size))};
}

std::vector<CanFrame> VirtualSdoServer::uploadSegment(const uint8_t* d)
{
    const uint8_t toggle = (d[0] >> 4) & 1;
    if (toggle != toggle_)
        return abortTransfer(abort::ToggleNotAlternated);
    const size_t count = std::min(SegmentBytes, buffer_.size() - offset_);
    const bool last = offset_ + count == buffer_.size();
    CanFrame frame = answer({});
    frame.data[0] = segmentCommand(static_cast<uint8_t>((toggle << 4) | ((SegmentBytes - count) << 1) | (last ? 1 : 0)));
    std::copy_n(buffer_.begin() + offset_, count, frame.data.begin() + 1);
    offset_ += count;
    toggle_ ^= 1;
    if (last) {
        reset();
        ++transfersCompleted_;
    }
    return {frame};
}

std::vector<CanFrame> VirtualSdoServer::startDownload(const uint8_t* d)
{
    beginTransfer(d);
    const bool expedited = d[0] & 0x02;
    const bool sizeGiven = d[0] & 0x01;
    if (expedited) {
        size_t size = sizeGiven ? 4 - ((d[0] >> 2) & 0x03) : 4;
        // The master announces an empty expedited download as 0x33: the otherwise unused
        // bit 4 stands for the fifth "empty" byte count that two bits cannot hold.
        if (d[0] & 0x10)
            size = 0;
        if (!sizeGiven) {
            // Without a size the client means "up to 4 bytes": fit a fixed-size entry.
            if (auto fixed = dictionary_.fixedSize(index_, subIndex_); fixed && *fixed < 4)
                size = *fixed;
        }
        buffer_.assign(d + 4, d + 4 + size);
        return finishDownload(headerAnswer(0x60));
    }
    if (sizeGiven)
        announcedSize_ = readLe32(d + 4);
    if (uint32_t code = dictionary_.checkWrite(index_, subIndex_, announcedSize_))
        return abortTransfer(code);
    sizeLimit_ = announcedSize_ ? *announcedSize_ : dictionary_.sizeLimit(index_, subIndex_);
    state_ = State::DownloadSegmented;
    return {headerAnswer(0x60)};
}

std::vector<CanFrame> VirtualSdoServer::downloadSegment(const uint8_t* d)
{
    const uint8_t toggle = (d[0] >> 4) & 1;
    if (toggle != toggle_)
        return abortTransfer(abort::ToggleNotAlternated);
    const size_t count = SegmentBytes - ((d[0] >> 1) & 0x07);
    buffer_.insert(buffer_.end(), d + 1, d + 1 + count);
    if (buffer_.size() > sizeLimit_)
        return abortTransfer(abort::WrongLength);
    toggle_ ^= 1;
    const CanFrame confirmation = answer({segmentCommand(static_cast<uint8_t>(0x20 | (toggle << 4)))});
    if (d[0] & 0x01)
        return finishDownload(confirmation);
    return {confirmation};
}

std::vector<CanFrame> VirtualSdoServer::finishDownload(const CanFrame& confirmation)
{
    if (announcedSize_ && buffer_.size() != *announcedSize_)
        return abortTransfer(abort::WrongLength);
    if (uint32_t code = dictionary_.write(index_, subIndex_, buffer_))
        return abortTransfer(code);
    reset();
    ++transfersCompleted_;
    return {confirmation};
}

std::vector<CanFrame> VirtualSdoServer::startBlockUpload(const uint8_t* d)
{
    beginTransfer(d);
    clientBlockSize_ = d[4];
    if (clientBlockSize_ == 0 || clientBlockSize_ > 127)
        return abortTransfer(abort::InvalidBlockSize);
    if (uint32_t code = dictionary_.read(index_, subIndex_, buffer_))
        return abortTransfer(code);
    state_ = State::BlockUploadStarting;
    // Size given, no CRC: the server does not offer one.
    return {headerAnswer(0xC2, static_cast<uint32_t>(buffer_.size()))};
}

std::vector<CanFrame> VirtualSdoServer::blockUploadFrame(const uint8_t* d)
{
    const uint8_t subcommand = d[0] & 0x03;
    if (state_ == State::BlockUploadStarting && subcommand == 3)
        return sendUploadBlock();
    if (state_ == State::BlockUploadSending && subcommand == 2) {
        const uint8_t acked = d[1];
        if (acked > blockSent_)
            return abortTransfer(abort::InvalidSequence);
        if (d[2] == 0 || d[2] > 127)
            return abortTransfer(abort::InvalidBlockSize);
        clientBlockSize_ = d[2];
        blockStartSegment_ += acked;
        const size_t total = segmentCount(buffer_.size());
        if (blockStartSegment_ < total)
            return sendUploadBlock();
        state_ = State::BlockUploadEnding;
        const size_t lastBytes = buffer_.size() - (total - 1) * SegmentBytes;
        return {answer({static_cast<uint8_t>(0xC1 | ((SegmentBytes - lastBytes) << 2))})};
    }
    if (state_ == State::BlockUploadEnding && subcommand == 1) {
        reset();
        ++transfersCompleted_;
        return {};
    }
    return abortTransfer(abort::InvalidCommand);
}

std::vector<CanFrame> VirtualSdoServer::sendUploadBlock()
{
    state_ = State::BlockUploadSending;
    const size_t total = segmentCount(buffer_.size());
    std::vector<CanFrame> frames;
    blockSent_ = 0;
    for (size_t segment = blockStartSegment_; segment < total && blockSent_ < clientBlockSize_;
         ++segment) {
        ++blockSent_;
        const bool last = segment + 1 == total;
        const size_t begin = segment * SegmentBytes;
        const size_t count = std::min(SegmentBytes, buffer_.size() - begin);
        CanFrame frame = answer({static_cast<uint8_t>(blockSent_ | (last ? 0x80 : 0))});
        std::copy_n(buffer_.begin() + begin, count, frame.data.begin() + 1);
        frames.push_back(frame);
    }
    return frames;
}

std::vector<CanFrame> VirtualSdoServer::startBlockDownload(const uint8_t* d)
{
    beginTransfer(d);
    if (d[0] & 0x02)
        announcedSize_ = readLe32(d + 4);
    if (uint32_t code = dictionary_.checkWrite(index_, subIndex_, announcedSize_))
        return abortTransfer(code);
    sizeLimit_ = announcedSize_ ? *announcedSize_ : dictionary_.sizeLimit(index_, subIndex_);
    state_ = State::BlockDownloadReceiving;
    return {headerAnswer(0xA0, blockSize_)};
}

std::vector<CanFrame> VirtualSdoServer::blockDownloadSegment(const uint8_t* d)
{
    const uint8_t seq = d[0] & 0x7F;
    const bool last = d[0] & 0x80;
    // A lost or repeated segment leaves the rest of the block unused; the acknowledgement
    // then names the last good one and the client resends from there.
    const bool inOrder = seq == lastGoodSeq_ + 1 && !lastSegmentSeen_;
    if (inOrder) {
        buffer_.insert(buffer_.end(), d + 1, d + 8);
        lastGoodSeq_ = seq;
        lastSegmentSeen_ = last;
        // Segments always carry 7 bytes; the end frame says how many of the last were padding.
        if (buffer_.size() > segmentCount(sizeLimit_) * SegmentBytes)
            return abortTransfer(abort::WrongLength);
    }
    if (seq != blockSize_ && !last)
        return {};
    CanFrame ack = answer({0xA2, lastGoodSeq_, blockSize_});
    lastGoodSeq_ = 0;
    if (lastSegmentSeen_)
        state_ = State::BlockDownloadEnding;
    return {ack};
}

std::vector<CanFrame> VirtualSdoServer::blockDownloadEnd(const uint8_t* d)
{
    if ((d[0] & 0x01) == 0)
        return abortTransfer(abort::InvalidCommand);
    const size_t unused = (d[0] >> 2) & 0x07;
    if (unused > buffer_.size())
        return abortTransfer(abort::WrongLength);
    buffer_.resize(buffer_.size() - unused);
    return finishDownload(answer({0xA1}));
}

std::vector<CanFrame> VirtualSdoServer::checkTimeout(Clock::time_point now)
{
    if (state_ == State::Idle || now - lastActivity_ < timeout_)
        return {};
    return abortTransfer(abort::TimedOut);
}

std::optional<Clock::time_point> VirtualSdoServer::deadline() const
{
    if (state_ == State::Idle)
        return std::nullopt;
    return lastActivity_ + timeout_;
}

CanFrame VirtualSdoServer::answer(std::initializer_list<uint8_t> head) const
{
    CanFrame frame;
    frame.id = static_cast<uint16_t>(0x580 + nodeId_);
    frame.len = 8;
    std::copy(head.begin(), head.end(), frame.data.begin());
    return frame;
}

CanFrame VirtualSdoServer::headerAnswer(uint8_t command, uint32_t value) const
{
    CanFrame frame = answer({command, static_cast<uint8_t>(index_), static_cast<uint8_t>(index_ >> 8), subIndex_});
    writeLe32(frame.data.data() + 4, value);
    return frame;
}

std::vector<CanFrame> VirtualSdoServer::abortTransfer(uint32_t code)
{
    CanFrame frame = headerAnswer(0x80, code);
    reset();
    return {frame};
}

uint8_t VirtualSdoServer::segmentCommand(uint8_t command)
{
    if (faultToggleAfter_ >= 0 && faultToggleAfter_-- == 0)
        command ^= 0x10;
    return command;
}

void VirtualSdoServer::beginTransfer(const uint8_t* d)
{
    reset();
    index_ = indexOf(d);
    subIndex_ = d[3];
}

void VirtualSdoServer::reset()
{
    state_ = State::Idle;
    toggle_ = 0;
    buffer_.clear();
    offset_ = 0;
    announcedSize_.reset();
    sizeLimit_ = 0;
    blockStartSegment_ = 0;
    blockSent_ = 0;
    clientBlockSize_ = 0;
    lastGoodSeq_ = 0;
    lastSegmentSeen_ = false;
}

} // namespace veqtest
