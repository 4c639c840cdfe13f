// The bytes of a transfer line: received bytes go inline up to 32 bytes and
// then into a heap buffer that grows in 128 KiB steps, never past the
// transfer limit or a size the peer announced; outgoing segments are cut
// from the same storage.
#include "canopen/sdo_buffer.h"

#include "canopen/abort_codes.h"
#include "canopen/sdo_frame.h"
#include "canopen/sdo_line.h"

#include <cstdlib>
#include <cstring>

uint8_t *sdoLineBytes(SdoTransferLine *line)
{
    return line->dynamicData != nullptr && line->dynamicDataSize != 0 ? line->dynamicData : line->data;
}

uint32_t sdoAnnouncedSize(const SdoTransferLine *line)
{
    return line->count != 0 ? line->count : line->blockObjectSize;
}

uint32_t appendSdoBytes(SdoTransferLine *line, const uint8_t *bytes, uint32_t n)
{
    const uint64_t total = static_cast<uint64_t>(line->offset) + n;
    if (total > kSdoMaxTransferSize)
        return SdoAbort::OutOfMemory;
    const uint32_t announced = sdoAnnouncedSize(line);
    if (announced != 0 && total > announced)
        return SdoAbort::LocalControl;
    if (line->dynamicData == nullptr && total <= kSdoInlineSize) {
        std::memcpy(line->data + line->offset, bytes, n);
        line->offset = static_cast<uint32_t>(total);
        return 0;
    }
    if (line->dynamicData == nullptr || total > line->dynamicDataSize) {
        uint64_t capacity = line->dynamicData != nullptr ? line->dynamicDataSize : 0;
        while (capacity < total)
            capacity += kSdoBufferStep;
        void *grown = std::realloc(line->dynamicData, static_cast<size_t>(capacity));
        if (grown == nullptr)
            return SdoAbort::GeneralError;
        if (line->dynamicData == nullptr)
            std::memcpy(grown, line->data, line->offset);
        line->dynamicData = static_cast<uint8_t *>(grown);
        line->dynamicDataSize = static_cast<uint32_t>(capacity);
    }
    std::memcpy(line->dynamicData + line->offset, bytes, n);
    line->offset = static_cast<uint32_t>(total);
    return 0;
}

uint32_t takeSdoSegment(NodeContext *node, SdoTransferLine *line, const uint8_t *bytes)
{
    if (!sdoToggleMatches(line, bytes))
        return SdoAbort::ToggleNotAlternated;
    restartSdoTimeout(node, line);
    const uint32_t code = appendSdoBytes(line, bytes + 1, 7u - ((bytes[0] >> 1) & 7u));
    if (code != 0)
        return code;
    // Ending short of the announced size would pass on bytes that never came.
    if ((bytes[0] & SdoCmd::LastSegmentBit) && line->count != 0 && line->offset != line->count)
        return SdoAbort::LocalControl;
    return 0;
}

uint32_t nextSdoSegment(SdoTransferLine *line, uint8_t out[8], bool *last)
{
    if (line->offset > line->count)
        return SdoAbort::GeneralError;
    if (line->count > kSdoInlineSize && line->dynamicData == nullptr)
        return SdoAbort::GeneralError;
    const uint32_t remaining = line->count - line->offset;
    *last = remaining < 8;
    const uint32_t n = *last ? remaining : 7;
    std::memset(out, 0, 8);
    out[0] = static_cast<uint8_t>(line->toggle ? SdoCmd::ToggleBit : 0);
    if (*last)
        out[0] = static_cast<uint8_t>(out[0] + (7 - n) * 2 + SdoCmd::LastSegmentBit);
    std::memcpy(out + 1, sdoLineBytes(line) + line->offset, n);
    line->offset += n;
    return 0;
}
