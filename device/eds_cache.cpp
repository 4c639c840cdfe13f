// The EDS cache and the stored-EDS upload.
#include "device/eds_cache.h"

#include "device/can_connection.h"
#include "device/connection_settings.h"
#include "device/data_types.h"
#include "device/little_endian.h"
#include "device/main_window_services.h"
#include "device/sdo_abort_name.h"
#include "device/sdo_request.h"

#include "archive/extract_archive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kCacheRoot("ConfigurationData/");
const QString kTempFolder("ConfigurationData/tempdir/");

// Every "*.eds" below the folder, in a stable order.
QStringList findEdsFiles(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QStringList{"*.eds"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    std::sort(found.begin(), found.end());
    return found;
}

// Writes all bytes into the file, truncating what it held; false unless every byte was stored.
bool writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;
    const bool complete = !bytes.isEmpty() && file.write(bytes) == bytes.size();
    file.close();
    return complete && file.error() == QFileDevice::NoError;
}

// Moves the first EDS found below `folder` to `target`; true when target then exists.
bool moveFirstEds(const QString &folder, const QString &target)
{
    const QStringList found = findEdsFiles(folder);
    for (const QString &path : found)
        QFile::rename(path, target); // later ones find the target present
    return !found.isEmpty() && QFileInfo(target).isFile();
}

// True when `inner` is `outer` or lies below it (absolute, cleaned paths).
bool isSameOrInside(const QString &inner, const QString &outer)
{
    return inner == outer || inner.startsWith(outer.endsWith('/') ? outer : outer + '/');
}

// The archive's folder, which the unpack fills and then removes whole; empty
// when the archive is no file or its folder holds the working folder, the
// cache or the device's cache folder, which the removal would take with it.
QString disposableArchiveFolder(const QString &archivePath, const QString &deviceName)
{
    const QFileInfo archive(archivePath);
    if (archivePath.isEmpty() || !archive.isFile())
        return QString();
    const QString folder = QFileInfo(archive.absolutePath()).canonicalFilePath();
    const QDir work(QDir::current().canonicalPath());
    if (folder.isEmpty() || work.path().isEmpty())
        return QString();
    for (const QString &relative : {QString("."), kCacheRoot, deviceCacheFolder(deviceName)}) {
        // Compared as the file system resolves them, links included.
        const QFileInfo kept(work.absoluteFilePath(relative));
        const QString keptPath = kept.exists() ? kept.canonicalFilePath()
                                               : QDir::cleanPath(kept.absoluteFilePath());
        if (isSameOrInside(keptPath, folder))
            return QString();
    }
    return folder;
}

struct StoredEdsUpload {
    bool received = false; ///< the device delivered object 0x1021
    quint32 abortCode = 0; ///< why it did not, when it said
    QString path;          ///< the stored upload; empty when it could not be stored
};

StoredEdsUpload uploadStoredEds()
{
    // Whatever an earlier upload or unpack left must not be taken for this one.
    QDir(kTempFolder).removeRecursively();
    SdoRequestCall call;
    call.request = requestStoredEds;
    call.nodeId = configuredNodeId();
    call.waitWhileRunning = true;
    const SdoReply reply = runSdoRequestCall(call);
    StoredEdsUpload upload;
    upload.received = reply.ok;
    upload.abortCode = reply.abortCode;
    if (!reply.ok || !QDir().mkpath(kTempFolder))
        return upload;
    const QString path = kTempFolder + "tempfile";
    if (writeWholeFile(path, reply.data))
        upload.path = path;
    return upload;
}

} // namespace

QString safeDeviceFolderName(const QString &deviceName)
{
    static const QString forbidden("/\\:*?\"<>|");
    QString safe;
    safe.reserve(deviceName.size());
    for (const QChar c : deviceName)
        safe.append(c.category() == QChar::Other_Control || forbidden.contains(c) ? QChar('_') : c);
    safe = safe.trimmed();
    // Leading dots would make "." or ".." or a hidden folder.
    for (int i = 0; i < safe.size() && safe[i] == QChar('.'); ++i)
        safe[i] = QChar('_');
    if (safe.isEmpty())
        return QString("_");
    // The upload folder and the controller list share the cache's root: a
    // device named after one gets a folder of its own beside it, or each
    // upload would empty its cache (and the list could never be a folder).
    for (const char *taken : {"tempdir", "controllers.xml"}) {
        if (safe.compare(QLatin1String(taken), Qt::CaseInsensitive) == 0)
            return safe + QChar('_');
    }
    return safe;
}

QString deviceCacheFolder(const QString &deviceName)
{
    return kCacheRoot + safeDeviceFolderName(deviceName) + "/";
}

QString edsCachePath(const QString &checksum, const QString &deviceName)
{
    return deviceCacheFolder(deviceName) + safeDeviceFolderName(checksum) + ".eds";
}

QString cachedEdsPath(MainWindowServices &window, const QString &checksum,
                      const QString &deviceName)
{
    const QString path = edsCachePath(checksum, deviceName);
    window.m_edsPath = path;
    return QFileInfo(path).isFile() ? path : QString("");
}

QString uploadEdsToTempFile()
{
    return uploadStoredEds().path;
}

QString unpackEdsArchive(const QString &archivePath, const QString &deviceName,
                         const QString &checksum)
{
    const QString folder = disposableArchiveFolder(archivePath, deviceName);
    if (folder.isEmpty())
        return QString("");
    const QByteArray archive = archivePath.toUtf8();
    const QByteArray output = folder.toUtf8();
    bool moved = false;
    QString target;
    if (extractArchive(archive.constData(), output.constData()) == 0) {
        QDir().mkpath(deviceCacheFolder(deviceName));
        target = edsCachePath(checksum, deviceName);
        moved = moveFirstEds(folder, target);
    }
    // Also after a failed extraction: its files must not meet a later upload.
    QDir(folder).removeRecursively();
    return moved ? target : QString("");
}

QString moveEdsToCache(const QString &filePath, const QString &deviceName,
                       const QString &checksum)
{
    QDir().mkpath(deviceCacheFolder(deviceName));
    const QString target = edsCachePath(checksum, deviceName);
    return QFile::rename(filePath, target) ? target : QString("");
}

bool loadEdsFromDevice(MainWindowServices &window)
{
    const QString deviceName = connectionSettings.device.deviceName;
    const SdoReply checksumReply = sdoRead(configuredNodeId(), 0x2000, 6, DataType::Unsigned32);
    if (!checksumReply.ok) {
        window.logMessage(QString::fromUtf8("Не удалось считать crc eds: ")
                              + sdoAbortName(checksumReply.abortCode),
                          false);
        window.setUiConnected(false);
        return false;
    }
    const quint32 checksum = quint32(littleEndianValue(checksumReply.data, 4));
    if (checksum == 0)
        return false;
    const QString checksumText = QString::number(checksum, 16);
    window.m_edsPath = edsCachePath(checksumText, deviceName);
    if (QFileInfo(window.m_edsPath).isFile())
        return true;

    const StoredEdsUpload upload = uploadStoredEds();
    if (!upload.received) {
        window.logMessage(QString::fromUtf8("Не удалось считать eds: ") + sdoAbortName(upload.abortCode),
                          false);
        disconnectCan(window);
        window.setUiConnected(false);
        return false;
    }
    const bool found = !upload.path.isEmpty()
                       && !unpackEdsArchive(upload.path, deviceName, checksumText).isEmpty();
    QDir(kTempFolder).removeRecursively();
    if (!found)
        window.logMessage(QString::fromUtf8("Не удалось скачать файл из устройства..."), false);
    return found;
}
