// Decodes one laid-out block: runs the arithmetic decoder and the model (or
// reads stored chunks), post-processes, checks every segment's SHA-1 and
// hands the output to a BlockOutput.
#pragma once

#include "archive/archive_input.h"
#include "archive/block_output.h"
#include "archive/block_scanner.h"

#include <atomic>
#include <cstdint>

namespace zpaq {

/// Throws DecodeError on corrupt data or a SHA-1 mismatch. When `cancel`
/// becomes true the decoder stops early with a DecodeError.
void decodeBlock(const ArchiveInput &archive, const BlockLayout &block, BlockOutput &out,
                 const std::atomic<bool> *cancel = nullptr);

} // namespace zpaq
