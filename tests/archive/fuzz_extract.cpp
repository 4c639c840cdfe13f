// Fuzz target of the extractor: any input is written as an archive and
// extracted into a fresh folder. Crashes, sanitizer reports, hangs and any
// file appearing outside the output folder are the failures looked for.
#include "archive_extractor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTemporaryDir sandbox;
    if (!sandbox.isValid())
        return 0;
    const QString archive = sandbox.filePath("input.zpaq");
    {
        QFile f(archive);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    zpaq::ExtractOptions options;
    options.threads = 2;
    const zpaq::ExtractReport report =
        zpaq::extract(archive.toStdString(), sandbox.filePath("out").toStdString(), options);
    // An error always carries a reason.
    if (report.result < 0 || report.result > 2 || (report.result == 2 && report.error.empty()))
        std::abort();
    // Nothing but the archive and the output folder may exist in the sandbox.
    const QStringList entries =
        QDir(sandbox.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (entry != "input.zpaq" && entry != "out")
            std::abort();
    return 0;
}
