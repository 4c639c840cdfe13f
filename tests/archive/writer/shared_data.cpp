// Location of the shared test data.
#include "shared_data.h"

namespace zpaqtest {

QString sharedArchive(const QString &name)
{
    QString root = qEnvironmentVariable("VEQ_SHARED_DIR");
    if (root.isEmpty())
        root = QStringLiteral(VEQ_SHARED_DIR_DEFAULT);
    const QString folder = root + QStringLiteral("/testdata/zpaq");
    return name.isEmpty() ? folder : folder + QLatin1Char('/') + name;
}

} // namespace zpaqtest
