// Reads the archive's block layout and index on the calling thread, plans
// where every fragment and streamed segment goes, then decodes the data
// blocks in parallel straight into the output files.
#include "archive/archive_extractor.h"

#include "archive/archive_input.h"
#include "archive/block_decoder.h"
#include "archive/decode_jobs.h"
#include "archive/fragment_router.h"
#include "archive/journal.h"
#include "archive/memory_output.h"
#include "archive/output_folder.h"
#include "archive/stream_output.h"
#include "archive/warnings.h"

#include <algorithm>
#include <deque>
#include <map>
#include <new>
#include <set>

namespace zpaq {

namespace {

struct Layout
{
    explicit Layout(std::uint64_t indexMemory) : journal(indexMemory) {}
    std::deque<BlockLayout> blocks; // stable addresses for the jobs
    std::vector<std::vector<std::size_t>> chains; // streaming blocks by file chain
    Journal journal;
};

// What the layout of a block kept for later decoding holds in memory.
std::int64_t layoutMemory(const BlockLayout &block)
{
    std::size_t bytes = sizeof(BlockLayout) + block.header.hcomp.capacity() +
                        block.header.components.capacity() * sizeof(ComponentSpec);
    for (const SegmentLayout &seg : block.segments)
        bytes += sizeof(SegmentLayout) + seg.name.capacity() + seg.comment.capacity();
    return std::int64_t(bytes);
}

// Walks all blocks: reads the journaling index blocks at once, keeps the
// layout of data and streaming blocks for later.
void readLayout(const ArchiveInput &input, Layout &layout, Warnings &warnings, ExtractReport &report)
{
    BlockScanner scanner(input);
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
            layout.journal.charge(layoutMemory(block));
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
            layout.journal.charge(layoutMemory(block));
            layout.blocks.push_back(std::move(block));
            continue;
        }
        MemoryOutput data;
        decodeBlock(input, block, data);
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

// Where an archive name goes: its path in the output folder, or "" after a
// warning when it is refused or was taken by an earlier name.
std::string claimName(const std::string &name, std::set<std::string> &used, Warnings &warnings)
{
    std::string why;
    const std::string relative = OutputFolder::mapName(name, why);
    if (relative.empty()) {
        warnings.add(why + "; not extracted");
        return relative;
    }
    if (!used.insert(relative).second) {
        warnings.add("\"" + relative + "\" is extracted already from another name in the archive; \"" +
                     name + "\" not extracted");
        return std::string();
    }
    return relative;
}

// Creates the output files of the latest version and the decoding jobs that
// fill them.
void planJournal(Layout &layout, OutputFolder &folder, std::set<std::string> &used,
                 Warnings &warnings, const ExtractOptions &options, std::vector<DecodeJob> &jobs,
                 ExtractReport &report)
{
    Journal &journal = layout.journal;
    const std::vector<Fragment> &fragments = journal.fragments();
    std::map<std::size_t, std::vector<PlaceRun>> places;
    for (const FileVersion *file : journal.latestFiles()) {
        const std::string relative = claimName(file->name, used, warnings);
        if (relative.empty())
            continue;
        std::string why;
        if (file->directory) {
            if (!folder.makeFolder(relative, why))
                warnings.add(why + "; \"" + file->name + "\" not extracted");
            continue;
        }
        for (const FragmentRun &run : file->runs)
            ZPAQ_CHECK(fragments[run.first].block != Fragment::kNoBlock,
                       "file \"%s\" uses a fragment whose data block is missing",
                       file->name.c_str());
        journal.charge(std::int64_t(file->runs.size() * sizeof(PlaceRun)));
        const long index = folder.addFile(relative, std::uint32_t(file->runs.size()), why);
        if (index < 0) {
            warnings.add(why + "; \"" + file->name + "\" not extracted");
            continue;
        }
        ++report.filesWritten;
        report.bytesWritten += file->size;
        std::uint64_t offset = 0;
        for (const FragmentRun &run : file->runs) {
            const Fragment &first = fragments[run.first];
            const Fragment &last = fragments[run.first + run.count - 1];
            const std::uint32_t position =
                run.first - journal.dataBlocks().at(first.block).firstFragment;
            places[first.block].push_back(
                {std::uint32_t(index), position, position + run.count - 1, offset});
            offset += last.offset + last.size - first.offset;
        }
    }
    for (const auto &entry : journal.dataBlocks()) {
        auto found = places.find(entry.first);
        if (found == places.end() && !options.decodeAllBlocks)
            continue;
        auto runs = std::make_shared<std::vector<PlaceRun>>();
        if (found != places.end())
            runs->swap(found->second);
        std::stable_sort(runs->begin(), runs->end(),
                         [](const PlaceRun &a, const PlaceRun &b) { return a.first < b.first; });
        const BlockLayout &block = layout.blocks[entry.first];
        const DataBlockContents &contents = entry.second;
        DecodeJob job;
        job.blocks.push_back(&block);
        job.makeOutput = [&fragments, &contents, runs, &block](FileWriterCache &writer) {
            return std::unique_ptr<BlockOutput>(
                new FragmentRouter(fragments, contents, std::move(*runs), writer, block.start));
        };
        jobs.push_back(std::move(job));
    }
}

// Decides, in archive order, which file every streamed segment goes to, so
// that the result does not depend on which thread decodes what first. Blocks
// that write nothing are not decoded.
void planStreams(const Layout &layout, OutputFolder &folder, std::set<std::string> &used,
                 Warnings &warnings, std::vector<DecodeJob> &jobs)
{
    for (const std::vector<std::size_t> &chain : layout.chains) {
        auto targets = std::make_shared<std::vector<long>>();
        DecodeJob job;
        long target = -1;
        for (std::size_t i : chain) {
            const BlockLayout &block = layout.blocks[i];
            std::vector<long> blockTargets;
            for (const SegmentLayout &segment : block.segments) {
                if (segment.name.empty() && &segment == &layout.blocks[chain[0]].segments[0])
                    warnings.add("data of a segment without a file name at offset " +
                                 std::to_string(segment.offset) + " skipped");
                if (!segment.name.empty()) {
                    const std::string relative = claimName(segment.name, used, warnings);
                    std::string why;
                    target = relative.empty() ? -1 : folder.addFile(relative, 1, why);
                    if (!relative.empty() && target < 0)
                        warnings.add(why + "; \"" + segment.name + "\" not extracted");
                } else if (target >= 0) {
                    folder.addPart(std::size_t(target));
                }
                blockTargets.push_back(target);
            }
            if (std::any_of(blockTargets.begin(), blockTargets.end(), [](long t) { return t >= 0; })) {
                job.blocks.push_back(&block);
                targets->insert(targets->end(), blockTargets.begin(), blockTargets.end());
            }
        }
        if (job.blocks.empty())
            continue;
        job.makeOutput = [targets](FileWriterCache &writer) {
            return std::unique_ptr<BlockOutput>(new StreamOutput(writer, *targets));
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
        Layout layout(options.indexMemory);
        readLayout(input, layout, warnings, report);
        OutputFolder folder(outputFolder, warnings);
        std::set<std::string> used;
        std::vector<DecodeJob> jobs;
        planJournal(layout, folder, used, warnings, options, jobs, report);
        planStreams(layout, folder, used, warnings, jobs);
        for (const DecodeJob &job : jobs)
            report.blocksDecoded += job.blocks.size();
        runDecodeJobs(input, jobs, options.threads, folder);
        report.versions = layout.journal.versions();
        report.indexRecords = layout.journal.indexRecords();
        report.versionBytes = layout.journal.totalVersionBytes();
    } catch (const std::bad_alloc &) {
        report.result = 2;
        report.error = "out of memory";
    } catch (const std::exception &e) {
        report.result = 2;
        report.error = printable(e.what());
    }
    report.warnings = warnings.texts();
    if (report.result == 0 && !report.warnings.empty())
        report.result = 1;
    return report;
}

} // namespace zpaq
