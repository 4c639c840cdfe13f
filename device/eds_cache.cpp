// The EDS cache and the stored-EDS upload.
#include "eds_cache.h"

#include "can_connection.h"
#include "connection_settings.h"
#include "main_window_services.h"
#include "sdo_abort_name.h"
#include "sdo_request.h"

#include "extract_archive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

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
    return safe.isEmpty() ? QString("_") : safe;
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
    SdoExchange exchange;
    exchange.request = requestStoredEds;
    exchange.nodeId = configuredNodeId();
    exchange.waitWhileRunning = true;
    const SdoReply reply = runSdoExchange(exchange);
    if (!reply.ok)
        return QString("");
    // A folder left by an earlier upload is reused.
    if (!QDir().mkpath(kTempFolder))
        return QString("");
    const QString path = kTempFolder + "tempfile";
    return writeWholeFile(path, reply.data) ? path : QString("");
}

QString unpackEdsArchive(const QString &archivePath, const QString &deviceName,
                         const QString &checksum)
{
    // An empty path would name the working folder itself, which is removed below.
    if (archivePath.isEmpty())
        return QString("");
    const QString folder = QFileInfo(archivePath).absolutePath();
    const QByteArray archive = archivePath.toUtf8();
    const QByteArray output = folder.toUtf8();
    if (extractArchive(archive.constData(), output.constData()) > 0)
        return QString("");
    QDir().mkpath(deviceCacheFolder(deviceName));
    const QString target = edsCachePath(checksum, deviceName);
    const bool moved = moveFirstEds(folder, target);
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
    const SdoReply checksumReply = sdoRead(configuredNodeId(), 0x2000, 6, 7);
    if (!checksumReply.ok) {
        window.logMessage(QString::fromUtf8("Не удалось считать crc eds: ")
                              + sdoAbortName(checksumReply.abortCode),
                          false);
        window.setUiConnected(false);
        return false;
    }
    quint32 checksum = 0;
    for (int i = 0; i < qMin(4, checksumReply.data.size()); ++i)
        checksum |= quint32(quint8(checksumReply.data[i])) << (8 * i);
    if (checksum == 0)
        return false;
    window.m_edsPath = edsCachePath(QString::number(checksum, 16), deviceName);
    if (QFileInfo(window.m_edsPath).isFile())
        return true;

    SdoExchange exchange;
    exchange.request = requestStoredEds;
    exchange.nodeId = configuredNodeId();
    exchange.waitWhileRunning = true;
    const SdoReply upload = runSdoExchange(exchange);
    if (!upload.ok) {
        window.logMessage(QString::fromUtf8("Не удалось считать eds: ") + sdoAbortName(upload.abortCode),
                          false);
        disconnectCan(window);
        window.setUiConnected(false);
        return false;
    }
    const QString tempFolder = deviceCacheFolder(deviceName) + "temp";
    QDir(tempFolder).removeRecursively();
    QThread::msleep(100); // let the file system settle before the folder is made again
    QDir().mkpath(tempFolder);
    QThread::msleep(100);
    const QString archivePath = tempFolder + "/temp.zpaq";
    bool found = false;
    if (writeWholeFile(archivePath, upload.data)) {
        const QByteArray archive = archivePath.toUtf8();
        const QByteArray output = tempFolder.toUtf8();
        if (extractArchive(archive.constData(), output.constData()) == 0)
            found = moveFirstEds(tempFolder, window.m_edsPath);
    }
    QDir(tempFolder).removeRecursively();
    if (!found)
        window.logMessage(QString::fromUtf8("Не удалось скачать файл из устройства..."), false);
    return found;
}
