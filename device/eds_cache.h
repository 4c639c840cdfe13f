// Where a device's EDS comes from: the local cache
// ("ConfigurationData/<device name>/<checksum>.eds" in the working folder), or
// an upload of the device's stored EDS (object 0x1021) through
// "ConfigurationData/tempdir/tempfile", unpacked when it is an archive.
#pragma once

#include <QString>

class MainWindowServices;

/// The device name as one safe folder name: separators, control characters and
/// characters no file system takes become '_', as do leading dots (no ".", ".."
/// or hidden folder); an empty name becomes "_", and the names of the upload
/// folder and of the controller list ("tempdir", "controllers.xml", in any case)
/// get a trailing '_'. A name from the bus thus never leads out of the cache
/// nor into the folder that every upload empties.
QString safeDeviceFolderName(const QString &deviceName);

/// "ConfigurationData/<safe device name>/"
QString deviceCacheFolder(const QString &deviceName);

/// "ConfigurationData/<safe device name>/<checksum>.eds"
QString edsCachePath(const QString &checksum, const QString &deviceName);

/// Builds the cache path, stores it as the window's EDS path and returns it
/// when that file exists; empty otherwise.
QString cachedEdsPath(MainWindowServices &window, const QString &checksum,
                      const QString &deviceName);

/// Empties "ConfigurationData/tempdir/", then uploads object 0x1021 of the
/// configured node into its file "tempfile"; the path, or empty when nothing was stored.
QString uploadEdsToTempFile();

/// Extracts the archive in its own folder, moves the first "*.eds" found to the
/// cache and removes the archive's folder, also when the extraction failed.
/// Refuses (empty result, nothing touched) an archive that is no file, or
/// whose folder is or holds the working folder, the cache or the device's
/// cache folder. The cache path, or empty.
QString unpackEdsArchive(const QString &archivePath, const QString &deviceName,
                         const QString &checksum);

/// Moves the file into the cache (creating the device folder). The cache path, or empty.
QString moveEdsToCache(const QString &filePath, const QString &deviceName,
                       const QString &checksum);

/// Older road to the EDS by the checksum in object 0x2000 sub 6: the cache,
/// else the stored EDS uploaded and unpacked as an archive. Logs its failures.
bool loadEdsFromDevice(MainWindowServices &window);
