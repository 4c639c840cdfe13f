// Parallel decoding: a queue of jobs (one d block, or one chain of streaming
// blocks) taken by worker threads, with the memory the blocks ask for
// budgeted so that blocks decoded at once stay under the cap together.
#pragma once

#include "archive/archive_input.h"
#include "archive/block_output.h"
#include "archive/block_scanner.h"
#include "archive/output_files.h"

#include <functional>
#include <memory>
#include <vector>

namespace zpaq {

struct DecodeJob
{
    std::vector<const BlockLayout *> blocks; // decoded in order into one output
    std::function<std::unique_ptr<BlockOutput>(FileWriterCache &)> makeOutput;
};

/// Runs every job on up to `threads` threads (0: one per processor) and
/// joins them before returning. Throws DecodeError with the first failure;
/// the other workers stop early.
void runDecodeJobs(const ArchiveInput &archive, std::vector<DecodeJob> &jobs, unsigned threads,
                   OutputFolder &folder);

} // namespace zpaq
