// Shared expectation of the round-trip tests: the archive extracts cleanly to
// exactly these files and nothing appears outside the output folder.
#pragma once

#include "extraction_run.h"

#include <gtest/gtest.h>

namespace zpaqtest {

using Files = QMap<QString, QByteArray>;

inline void expectExtracts(const QByteArray &archive, const Files &files)
{
    ExtractionRun run;
    EXPECT_EQ(run.extract(archive), 0) << qPrintable(run.errorText());
    EXPECT_EQ(run.files(), files);
    EXPECT_EQ(run.strayEntries(), QStringList());
}

} // namespace zpaqtest
