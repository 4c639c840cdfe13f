// Archives written by real archivers, kept beside the tests in archive/real so
// a checkout of the project alone runs every test and the benchmark.
#pragma once

#include <QString>

namespace zpaqtest {

/// Path of a real archive, e.g. realArchive("journal-7-versions.zpaq");
/// with no name, the folder that holds them.
QString realArchive(const QString &name = QString());

} // namespace zpaqtest
