// Where the shared test data lives: $VEQ_SHARED_DIR (set by ctest), or the
// "shared" folder beside the source tree when run by hand (benchmarks).
#pragma once

#include <QString>

namespace zpaqtest {

/// Path of a real archive kept with the shared test data, e.g.
/// sharedArchive("journal-7-versions.zpaq"); with no name, their folder.
QString sharedArchive(const QString &name = QString());

} // namespace zpaqtest
