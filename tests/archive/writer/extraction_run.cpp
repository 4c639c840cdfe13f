// Extraction harness: temp folders, captured error output, folder listings.
#include "extraction_run.h"

#include "archive/extract_archive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace zpaqtest {

namespace {

const QString kArchiveName = QStringLiteral("archive.zpaq");

// Lists every entry below `dir` without following symbolic links.
QStringList entriesBelow(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

ExtractionRun::ExtractionRun()
{
    QDir(root_.path()).mkpath(QStringLiteral("out"));
}

namespace {

bool writeArchive(const QString &path, const QByteArray &archive)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(archive) == archive.size();
}

} // namespace

int ExtractionRun::extract(const QByteArray &archive)
{
    const QString path = root_.path() + QLatin1Char('/') + kArchiveName;
    return writeArchive(path, archive) ? extractFile(path) : -1;
}

zpaq::ExtractReport ExtractionRun::extractWith(const QByteArray &archive,
                                               const zpaq::ExtractOptions &options)
{
    const QString path = root_.path() + QLatin1Char('/') + kArchiveName;
    if (!writeArchive(path, archive)) {
        zpaq::ExtractReport failed;
        failed.result = -1;
        return failed;
    }
    return zpaq::extract(QFile::encodeName(path).toStdString(),
                         QFile::encodeName(outDir()).toStdString(), options);
}

int ExtractionRun::extractFile(const QString &path)
{
    const QString errPath = root_.path() + QStringLiteral(".stderr");
    std::fflush(stderr);
    const int saved = dup(2);
    const int fd = open(QFile::encodeName(errPath).constData(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    dup2(fd, 2);
    close(fd);
    const int result = extractArchive(QFile::encodeName(path).constData(),
                                      QFile::encodeName(outDir()).constData());
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    QFile err(errPath);
    err.open(QIODevice::ReadOnly);
    errorText_ = QString::fromUtf8(err.readAll());
    err.remove();
    return result;
}

bool ExtractionRun::hasErrorReason() const
{
    const QString prefix = QStringLiteral("zpaq error: ");
    return errorText_.startsWith(prefix) && errorText_.endsWith(QLatin1Char('\n'))
           && errorText_.trimmed().size() > prefix.trimmed().size();
}

QMap<QString, QByteArray> ExtractionRun::files() const
{
    QMap<QString, QByteArray> out;
    for (const QString &rel : entriesBelow(outDir())) {
        const QString path = outDir() + QLatin1Char('/') + rel;
        const QFileInfo info(path);
        if (info.isSymLink() || !info.isFile())
            continue;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        out.insert(rel, f.readAll());
    }
    return out;
}

QStringList ExtractionRun::dirs() const
{
    QStringList out;
    for (const QString &rel : entriesBelow(outDir())) {
        const QFileInfo info(outDir() + QLatin1Char('/') + rel);
        if (info.isDir() && !info.isSymLink())
            out << rel;
    }
    return out;
}

QStringList ExtractionRun::strayEntries() const
{
    QStringList out;
    for (const QString &rel : entriesBelow(rootDir())) {
        if (rel == kArchiveName || rel == QLatin1String("out") || rel == QLatin1String("outside")
            || rel.startsWith(QLatin1String("out/")))
            continue;
        out << rel;
    }
    return out;
}

} // namespace zpaqtest
