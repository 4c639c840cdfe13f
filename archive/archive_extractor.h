// Extraction of a whole archive with a detailed report: the engine behind
// extractArchive, also used by tests and the benchmark to choose the number
// of threads.
#pragma once

#include "archive/zpaq_choices.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zpaq {

struct ExtractOptions
{
    /// Decoding threads; 0 means one per processor.
    unsigned threads = 0;
    /// Decode and check every d block, also those no current file needs.
    bool decodeAllBlocks = false;
    /// Memory the archive's index may take (the default is the documented
    /// bound; tests lower it).
    std::uint64_t indexMemory = kIndexMemoryBudget;
};

struct ExtractReport
{
    /// 0 every file extracted, 1 finished with warnings, 2 error.
    int result = 0;
    std::string error;
    std::vector<std::string> warnings;
    bool journaling = false;
    int versions = 0;          // transactions read
    int indexRecords = 0;      // i-block records, deletions included
    std::uint64_t versionBytes = 0; // sizes of all file versions recorded
    std::size_t blocks = 0;    // blocks found
    std::size_t blocksDecoded = 0;
    std::size_t filesWritten = 0;
    std::uint64_t bytesWritten = 0; // journaling files' sizes
};

/// Extracts every file of the archive at `archivePath` into `outputFolder`
/// (the latest version of each journaled file, and every streamed file).
ExtractReport extract(const std::string &archivePath, const std::string &outputFolder,
                      const ExtractOptions &options = ExtractOptions());

} // namespace zpaq
