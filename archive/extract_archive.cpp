// Entry point of the ZPAQ extractor: runs the extraction and maps its
// outcome onto the 0/1/2 result with "zpaq error" and warning lines.
#include "archive/extract_archive.h"

#include "archive/archive_extractor.h"

#include <cstdio>

int extractArchive(const char *archivePath, const char *outputFolder)
{
    if (!archivePath || !outputFolder) {
        std::fprintf(stderr, "zpaq error: %s\n", "no archive or output folder given");
        return 2;
    }
    const zpaq::ExtractReport report = zpaq::extract(archivePath, outputFolder);
    for (const std::string &warning : report.warnings)
        std::fprintf(stderr, "zpaq warning: %s\n", warning.c_str());
    if (report.result == 2)
        std::fprintf(stderr, "zpaq error: %s\n", report.error.c_str());
    return report.result;
}
