// Location of the real archives: an absolute path fixed at configure time, so
// tests and benchmarks find them whatever folder they are started from.
#include "real_archives.h"

namespace zpaqtest {

QString realArchive(const QString &name)
{
    const QString folder = QStringLiteral(VEQ_REAL_ARCHIVES_DIR);
    return name.isEmpty() ? folder : folder + QLatin1Char('/') + name;
}

} // namespace zpaqtest
