// Fuzz target of the extractor: any input is written as an archive and
// extracted into a fresh folder. Crashes, sanitizer reports, hangs and any
// file appearing outside the output folder are the failures looked for.
// Names in archives need not be valid UTF-8, so the sandbox is handled with
// plain POSIX calls.
#include "archive/archive_extractor.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <ftw.h>
#include <string>
#include <unistd.h>

namespace {

int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return ::remove(path);
}

// True when the sandbox holds only the archive and the output folder.
bool sandboxIsClean(const std::string &sandbox)
{
    DIR *dir = ::opendir(sandbox.c_str());
    if (!dir)
        return false;
    bool clean = true;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "input.zpaq" && name != "out")
            clean = false;
    }
    ::closedir(dir);
    return clean;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    char pattern[] = "/tmp/zpaq_fuzz_XXXXXX";
    if (!::mkdtemp(pattern))
        return 0;
    const std::string sandbox = pattern;
    const std::string archive = sandbox + "/input.zpaq";
    if (FILE *f = std::fopen(archive.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    zpaq::ExtractOptions options;
    options.threads = 2;
    const zpaq::ExtractReport report = zpaq::extract(archive, sandbox + "/out", options);
    // An error always carries a reason; nothing is written beside "out".
    if (report.result < 0 || report.result > 2 || (report.result == 2 && report.error.empty()) ||
        !sandboxIsClean(sandbox))
        std::abort();
    ::nftw(sandbox.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    return 0;
}
