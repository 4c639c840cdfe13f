// Output of c, h and i blocks, which the journaling layer reads whole: the
// decoded bytes of the block's segment, up to a fixed limit.
#pragma once

#include "archive/block_output.h"
#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

#include <vector>

namespace zpaq {

class MemoryOutput : public BlockOutput
{
public:
    void beginSegment(std::size_t, const SegmentLayout &) override {}
    void write(const std::uint8_t *data, std::size_t size) override
    {
        ZPAQ_CHECK(bytes.size() + size <= kMaxIndexBlockBytes,
                   "index block decodes to more than %llu bytes",
                   static_cast<unsigned long long>(kMaxIndexBlockBytes));
        bytes.insert(bytes.end(), data, data + size);
    }

    std::vector<std::uint8_t> bytes;
};

} // namespace zpaq
