// One hand-built damaged archive and its sound twin. The same builder makes
// both, so the twin's clean extraction shows that the only fault in the
// damaged one is the one the case is named after.
#pragma once

#include "extraction_run.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace zpaqtest {

struct BadCase {
    const char *name;
    std::function<QByteArray(bool faulty)> build;
    int expected;                          ///< result of the damaged archive
    QMap<QString, QByteArray> soundFiles;  ///< what the twin extracts to
};

inline void PrintTo(const BadCase &c, std::ostream *os) { *os << c.name; }

inline std::string badCaseName(const testing::TestParamInfo<BadCase> &info)
{
    return info.param.name;
}

/// The twin extracts cleanly; the damaged archive gives the expected result,
/// a reason when it is an error, and never anything outside the output folder.
inline void checkBadCase(const BadCase &c)
{
    {
        ExtractionRun run;
        ASSERT_EQ(run.extract(c.build(false)), 0) << qPrintable(run.errorText());
        EXPECT_EQ(run.files(), c.soundFiles);
    }
    ExtractionRun run;
    EXPECT_EQ(run.extract(c.build(true)), c.expected);
    if (c.expected == 2) {
        EXPECT_TRUE(run.hasErrorReason()) << qPrintable(run.errorText());
    }
    EXPECT_EQ(run.strayEntries(), QStringList());
}

} // namespace zpaqtest
