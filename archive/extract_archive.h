// Public entry of the archive extractor.
#pragma once

/// Extracts every file of the ZPAQ archive at `archivePath` into `outputFolder`
/// (both UTF-8), creating subfolders as needed. Runs on the caller's thread.
/// Returns 0 when every file was extracted, 1 when it finished with warnings,
/// 2 on an error (the reason is printed as "zpaq error: <reason>" on stderr).
int extractArchive(const char *archivePath, const char *outputFolder);
