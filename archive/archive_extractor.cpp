// Reads the archive's block layout and index on the calling thread, plans
// where every fragment and streamed segment goes, then decodes the data
// blocks in parallel straight into the output files.
#include "archive_extractor.h"

#include "archive_input.h"
#include "block_decoder.h"
#include "decode_jobs.h"
#include "fragment_router.h"
#include "journal.h"
#include "memory_output.h"
#include "output_folder.h"
#include "stream_output.h"
#include "warnings.h"

#include <deque>
#include <map>
#include <new>
#include <set>

namespace zpaq {

namespace {

struct Layout
{
    std::deque<BlockLayout> blocks; // stable addresses for the jobs
    std::vector<std::vector<std::size_t>> chains; // streaming blocks by file chain
    Journal journal;
};

// Walks all blocks: reads the journaling index blocks at once, keeps the
// layout of data and streaming blocks for later.
void readLayout(const ArchiveInput &input, Layout &layout, Warnings &warnings, ExtractReport &report)
{
    BlockScanner scanner(input.data(), input.size());
    const std::size_t prefix = scanner.skippedBytes();
    BlockLayout block;
    bool previousWasStreaming = false;
    while (scanner.next(block)) {
        ++report.blocks;
        JournalName name;
        const bool journaled = parseJournalName(block.segments[0].name, name);
        for (std::size_t i = 1; i < block.segments.size(); ++i) {
            JournalName other;
            ZPAQ_CHECK(!journaled && !parseJournalName(block.segments[i].name, other),
                       "journaling block at offset %zu has more than one segment", block.start);
        }
        if (!journaled) {
            const bool continues = block.segments[0].name.empty() && previousWasStreaming;
            layout.blocks.push_back(std::move(block));
            if (continues)
                layout.chains.back().push_back(layout.blocks.size() - 1);
            else
                layout.chains.push_back({layout.blocks.size() - 1});
            previousWasStreaming = true;
            continue;
        }
        previousWasStreaming = false;
        report.journaling = true;
        if (name.type == 'd') {
            layout.journal.addDataBlock(name, layout.blocks.size(), block.end - block.start);
            layout.blocks.push_back(std::move(block));
            continue;
        }
        MemoryOutput data;
        decodeBlock(input.data(), block, data);
        ++report.blocksDecoded;
        if (name.type == 'c') {
            if (!layout.journal.addTransaction(name, data.bytes, block.start)) {
                warnings.add("unfinished transaction at offset " + std::to_string(block.start) +
                             " and everything after it ignored");
                return;
            }
        } else if (name.type == 'h') {
            layout.journal.addHashBlock(name, data.bytes);
        } else {
            layout.journal.addIndexBlock(name, data.bytes);
        }
    }
    layout.journal.finish();
    if (scanner.skippedBytes() > prefix)
        warnings.add(std::to_string(scanner.skippedBytes() - prefix) +
                     " bytes between blocks that are not part of any block skipped");
}

// Creates the output files of the latest version and the decoding jobs that
// fill them.
void planJournal(const Layout &layout, OutputFolder &folder, OutputFiles &files,
                 Warnings &warnings, const ExtractOptions &options, std::vector<DecodeJob> &jobs,
                 ExtractReport &report)
{
    const Journal &journal = layout.journal;
    const std::vector<Fragment> &fragments = journal.fragments();
    // Position of every fragment within its d block.
    std::vector<std::size_t> position(fragments.size(), 0);
    std::map<std::size_t, std::vector<std::vector<FragmentPlace>>> places;
    for (const auto &entry : journal.dataBlocks()) {
        for (std::size_t k = 0; k < entry.second.fragments.size(); ++k)
            position[entry.second.fragments[k]] = k;
    }
    std::set<std::string> used;
    for (const FileVersion *file : journal.latestFiles()) {
        std::string why;
        const std::string relative = OutputFolder::mapName(file->name, why);
        if (relative.empty()) {
            warnings.add(why + "; not extracted");
            continue;
        }
        if (!used.insert(relative).second) {
            warnings.add("\"" + file->name + "\" maps to a path already extracted; not extracted");
            continue;
        }
        const std::string path = folder.prepare(relative, file->directory, why);
        if (path.empty()) {
            warnings.add(why + "; \"" + file->name + "\" not extracted");
            continue;
        }
        if (file->directory)
            continue;
        for (std::uint32_t f : file->fragments)
            ZPAQ_CHECK(fragments[f].block != Fragment::kNoBlock,
                       "file \"%s\" uses a fragment whose data block is missing",
                       file->name.c_str());
        const std::size_t index = files.create(path, file->size);
        ++report.filesWritten;
        report.bytesWritten += file->size;
        std::uint64_t offset = 0;
        for (std::uint32_t f : file->fragments) {
            const Fragment &fragment = fragments[f];
            auto &blockPlaces = places[fragment.block];
            blockPlaces.resize(journal.dataBlocks().at(fragment.block).fragments.size());
            blockPlaces[position[f]].push_back({index, offset});
            offset += fragment.size;
        }
    }
    for (const auto &entry : journal.dataBlocks()) {
        auto found = places.find(entry.first);
        if (found == places.end() && !options.decodeAllBlocks)
            continue;
        std::vector<std::vector<FragmentPlace>> blockPlaces;
        if (found != places.end())
            blockPlaces = std::move(found->second);
        blockPlaces.resize(entry.second.fragments.size());
        const BlockLayout &block = layout.blocks[entry.first];
        const DataBlockContents &contents = entry.second;
        auto shared = std::make_shared<std::vector<std::vector<FragmentPlace>>>(std::move(blockPlaces));
        DecodeJob job;
        job.blocks.push_back(&block);
        job.makeOutput = [&fragments, &contents, shared, &block](FileWriterCache &writer) {
            return std::unique_ptr<BlockOutput>(
                new FragmentRouter(fragments, contents, std::move(*shared), writer, block.start));
        };
        jobs.push_back(std::move(job));
    }
}

void planStreams(const Layout &layout, OutputFolder &folder, Warnings &warnings,
                 std::vector<DecodeJob> &jobs)
{
    for (const std::vector<std::size_t> &chain : layout.chains) {
        DecodeJob job;
        for (std::size_t i : chain)
            job.blocks.push_back(&layout.blocks[i]);
        job.makeOutput = [&folder, &warnings](FileWriterCache &) {
            return std::unique_ptr<BlockOutput>(new StreamOutput(folder, warnings));
        };
        jobs.push_back(std::move(job));
    }
}

} // namespace

ExtractReport extract(const std::string &archivePath, const std::string &outputFolder,
                      const ExtractOptions &options)
{
    ExtractReport report;
    Warnings warnings;
    try {
        const ArchiveInput input(archivePath);
        Layout layout;
        readLayout(input, layout, warnings, report);
        OutputFolder folder(outputFolder);
        OutputFiles files;
        std::vector<DecodeJob> jobs;
        planJournal(layout, folder, files, warnings, options, jobs, report);
        planStreams(layout, folder, warnings, jobs);
        for (const DecodeJob &job : jobs)
            report.blocksDecoded += job.blocks.size();
        runDecodeJobs(input.data(), jobs, options.threads, files);
        report.versions = layout.journal.versions();
        report.indexRecords = layout.journal.indexRecords();
        report.versionBytes = layout.journal.totalVersionBytes();
    } catch (const std::bad_alloc &) {
        report.result = 2;
        report.error = "out of memory";
    } catch (const std::exception &e) {
        report.result = 2;
        report.error = e.what();
    }
    report.warnings = warnings.texts();
    if (report.result == 0 && !report.warnings.empty())
        report.result = 1;
    return report;
}

} // namespace zpaq
