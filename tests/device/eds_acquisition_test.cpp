// The EDS cache and the stored-EDS upload against the virtual device: cache
// hits, plain and archived uploads, leftovers of earlier uploads, unsafe device
// names, and the EDS reader asking the device for template counts.
#include "device_fixture.h"
#include "device/eds_cache.h"
#include "device/eds_reader.h"
#include "device/sdo_request.h"

#include "journal_writer.h"

#include <QDirIterator>

namespace {

const QByteArray kEds = "[1000]\nParameterName=Device type\nDataType=0x0007\nAccessType=ro\n";

std::vector<uint8_t> bytesOf(const QByteArray &data)
{
    return std::vector<uint8_t>(data.begin(), data.end());
}

QByteArray archiveOf(const QList<QPair<QByteArray, QByteArray>> &files)
{
    zpaqtest::JournalWriter writer;
    writer.beginVersion(20240101120000ull);
    for (const auto &file : files)
        writer.putFile(file.first, file.second);
    writer.commit();
    return writer.bytes();
}

class EdsAcquisition : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        node = &connectToDevice();
    }
    void storeEds(const QByteArray &bytes)
    {
        node->setDomain(0x1021, 0, bytesOf(bytes), veqtest::Access::ReadOnly);
    }
    // Every file below the working folder, relative to it.
    QStringList allFiles() const
    {
        QStringList files;
        QDirIterator it(".", QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(".").relativeFilePath(it.next()));
        files.sort();
        return files;
    }
    veqtest::VirtualNode *node = nullptr;
};

} // namespace

TEST_F(EdsAcquisition, CacheLookupStoresThePathEitherWay)
{
    EXPECT_TRUE(cachedEdsPath(window, "1a2b", "Test drive").isEmpty());
    EXPECT_EQ(window.m_edsPath, "ConfigurationData/Test drive/1a2b.eds");
    writeFile("ConfigurationData/Test drive/1a2b.eds", kEds);
    EXPECT_EQ(cachedEdsPath(window, "1a2b", "Test drive"), "ConfigurationData/Test drive/1a2b.eds");
}

TEST_F(EdsAcquisition, PlainUploadMovesIntoANewDeviceFolder)
{
    storeEds(kEds);
    const QString temp = uploadEdsToTempFile();
    EXPECT_EQ(temp, "ConfigurationData/tempdir/tempfile");
    EXPECT_EQ(readFile(temp), kEds);
    const QString cached = moveEdsToCache(temp, "Test drive", "1a2b");
    EXPECT_EQ(cached, "ConfigurationData/Test drive/1a2b.eds");
    EXPECT_EQ(readFile(cached), kEds);
    EXPECT_EQ(cachedEdsPath(window, "1a2b", "Test drive"), cached);
}

TEST_F(EdsAcquisition, LeftoverTempFolderAndLongerTempFileDoNotSpoilTheNextUpload)
{
    writeFile("ConfigurationData/tempdir/tempfile", QByteArray(5000, 'Z'));
    storeEds(kEds);
    const QString temp = uploadEdsToTempFile();
    ASSERT_FALSE(temp.isEmpty());
    EXPECT_EQ(readFile(temp), kEds); // no stale tail of the old file

    // And once more, with the folder left by the upload before.
    ASSERT_FALSE(moveEdsToCache(temp, "Test drive", "1").isEmpty());
    storeEds("[1001]\nParameterName=x\n");
    const QString again = uploadEdsToTempFile();
    ASSERT_FALSE(again.isEmpty());
    EXPECT_EQ(readFile(again), QByteArray("[1001]\nParameterName=x\n"));
}

TEST_F(EdsAcquisition, FailedOrEmptyUploadGivesNoPath)
{
    EXPECT_TRUE(uploadEdsToTempFile().isEmpty()); // no object 0x1021
    EXPECT_FALSE(QDir("ConfigurationData/tempdir").exists());
    storeEds(QByteArray());
    EXPECT_TRUE(uploadEdsToTempFile().isEmpty()); // nothing to store
}

TEST_F(EdsAcquisition, MoveIntoTheCacheFailsForAMissingFile)
{
    EXPECT_TRUE(moveEdsToCache("ConfigurationData/tempdir/absent", "Test drive", "1").isEmpty());
}

// Archived uploads: the first "*.eds" by path becomes the cached EDS, and the
// upload folder, with all the archive held, is gone afterwards.
TEST_F(EdsAcquisition, ArchivedEdsIsUnpackedIntoTheCache)
{
    const QStringList cachedOnly{"ConfigurationData/Test drive/77.eds"};
    const struct {
        QList<QPair<QByteArray, QByteArray>> files;
        QByteArray cached; ///< empty: no EDS results
    } cases[] = {
        {{{"profiles/drive.eds", kEds}, {"readme.txt", "not an eds"}}, kEds},
        {{{"b.eds", "[1000]\nParameterName=B\n"}, {"a.eds", kEds}}, kEds}, // "a.eds" comes first
        {{{"readme.txt", "no eds here"}}, QByteArray()},
    };
    for (const auto &c : cases) {
        QDir("ConfigurationData").removeRecursively();
        storeEds(archiveOf(c.files));
        const QString temp = uploadEdsToTempFile();
        ASSERT_FALSE(temp.isEmpty());
        const QString cached = unpackEdsArchive(temp, "Test drive", "77");
        EXPECT_EQ(cached, c.cached.isEmpty() ? QString("") : cachedOnly.first());
        EXPECT_EQ(readFile(cached), c.cached);
        EXPECT_EQ(allFiles(), c.cached.isEmpty() ? QStringList() : cachedOnly);
    }
}

TEST_F(EdsAcquisition, BrokenArchiveGivesNoPath)
{
    storeEds("zPQ but not an archive at all");
    EXPECT_TRUE(unpackEdsArchive(uploadEdsToTempFile(), "Test drive", "77").isEmpty());
    EXPECT_FALSE(QDir("ConfigurationData/Test drive").exists());
}

// A device named like the upload folder keeps its cache through its own
// uploads, and an unpack never takes one of its cached files for new.
TEST_F(EdsAcquisition, DeviceNamedTempdirKeepsItsCache)
{
    storeEds(kEds);
    const QString first = moveEdsToCache(uploadEdsToTempFile(), "tempdir", "1");
    EXPECT_EQ(first, "ConfigurationData/tempdir_/1.eds");
    EXPECT_EQ(cachedEdsPath(window, "1", "tempdir"), first);

    storeEds(archiveOf({{"readme.txt", "no eds here"}}));
    EXPECT_TRUE(unpackEdsArchive(uploadEdsToTempFile(), "tempdir", "2").isEmpty());
    storeEds(archiveOf({{"new.eds", "[1001]\nParameterName=New\n"}}));
    EXPECT_EQ(unpackEdsArchive(uploadEdsToTempFile(), "tempdir", "2"), "ConfigurationData/tempdir_/2.eds");
    EXPECT_EQ(readFile("ConfigurationData/tempdir_/2.eds"), QByteArray("[1001]\nParameterName=New\n"));
    EXPECT_EQ(allFiles(), (QStringList{"ConfigurationData/tempdir_/1.eds", "ConfigurationData/tempdir_/2.eds"}));
    EXPECT_EQ(readFile(first), kEds);
}

TEST(SafeFolderName, NamesFromTheBusBecomeOneComponent)
{
    EXPECT_EQ(safeDeviceFolderName(" TempDir "), "TempDir_");
    EXPECT_EQ(safeDeviceFolderName("controllers.xml"), "controllers.xml_");
    EXPECT_EQ(safeDeviceFolderName("tempdir2"), "tempdir2");
    EXPECT_EQ(safeDeviceFolderName("Drive 7"), "Drive 7");
    EXPECT_EQ(safeDeviceFolderName("../../etc"), "___.._etc");
    EXPECT_EQ(safeDeviceFolderName(".hidden"), "_hidden");
    EXPECT_EQ(safeDeviceFolderName("  "), "_");
    EXPECT_EQ(safeDeviceFolderName(".."), "__");
    EXPECT_EQ(safeDeviceFolderName("."), "_");
    EXPECT_EQ(safeDeviceFolderName(""), "_");
    EXPECT_EQ(safeDeviceFolderName("a\\b/c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(safeDeviceFolderName(QString("x\ny\tz") + QChar(0x7F) + QChar(1)), "x_y_z__");
    EXPECT_EQ(safeDeviceFolderName(QString::fromUtf8("Привод")), QString::fromUtf8("Привод"));
}

TEST_F(EdsAcquisition, DeviceNameFullOfSeparatorsStaysInsideTheCache)
{
    const QString evil = "../../outside/..\\x/..";
    storeEds(kEds);
    const QString cached = moveEdsToCache(uploadEdsToTempFile(), evil, "../1");
    ASSERT_FALSE(cached.isEmpty());
    EXPECT_EQ(cached, "ConfigurationData/___.._outside_.._x_../___1.eds");
    EXPECT_EQ(allFiles(), QStringList{cached});
    EXPECT_EQ(cachedEdsPath(window, "../1", evil), cached);

    storeEds(archiveOf({{"d.eds", kEds}}));
    const QString unpacked = unpackEdsArchive(uploadEdsToTempFile(), evil, "2");
    EXPECT_EQ(unpacked, "ConfigurationData/___.._outside_.._x_../2.eds");
    EXPECT_FALSE(QFileInfo::exists("../outside"));
    EXPECT_FALSE(QFileInfo::exists(folder.path() + "/../outside"));
}

TEST_F(EdsAcquisition, ReaderAsksTheDeviceForTemplateCounts)
{
    node->setU8(0xA000, 0, 2);
    writeFile("device.eds", "[A000]\nParameterName=Map\n[A000sub0]\nParameterName=N\n"
                            "[A000sub1]\nParameterName=Entry1\nDataType=7\n"
                            "[A100sub0]\nParameterName=N\n[A100sub1]\nParameterName=Item1\n");
    window.m_edsPath = "device.eds";
    readEds(window);
    EXPECT_TRUE(window.m_mainParams.contains("001 A000sub1 Entry1"));
    EXPECT_TRUE(window.m_mainParams.contains("002 A000sub2 Entry1"));
    EXPECT_FALSE(window.m_mainParams.contains("003 A000sub3 Entry1"));
    // A100 has no sub 0 on the device: logged, and one ordinary record.
    EXPECT_TRUE(window.m_mainParams.contains("001 0xA100sub1 Item1"));
    EXPECT_EQ(window.lines(),
              (QStringList{QString::fromUtf8("info: Подключение..."),
                           QString::fromUtf8(
                               "error: Не удалось считать количество субиндексов для индекса: A100")}));
}

TEST_F(EdsAcquisition, TemplateCountOfAnIndexPastFourDigitsAsksNothing)
{
    node->setU8(0xA000, 0, 2);
    const int before = node->requestsReceived();
    EXPECT_EQ(getAutoGenSubsCnt(window, "1A000"), 0);
    EXPECT_EQ(node->requestsReceived(), before);
}

TEST_F(EdsAcquisition, ReaderLogsAMissingFile)
{
    window.m_edsPath = "ConfigurationData/none.eds";
    window.m_mainParams.insert("kept", CanParam());
    readEds(window);
    EXPECT_EQ(window.lines().last(), QString::fromUtf8("error: Ошибка! Файл словаря объектов не найден. "));
    EXPECT_EQ(window.m_mainParams.size(), 1);
}

TEST_F(EdsAcquisition, OlderRoadByChecksum)
{
    connectionSettings.device.deviceName = "Test drive";
    EXPECT_FALSE(loadEdsFromDevice(window));
    EXPECT_EQ(window.lines().mid(1, 2),
              (QStringList{QString::fromUtf8("error: Не удалось считать crc eds: OD_NO_SUCH_OBJECT"),
                           "ui: disconnected"}));

    node->setU32(0x2000, 6, 0xBEEF);
    storeEds(archiveOf({{"x.eds", kEds}}));
    EXPECT_TRUE(loadEdsFromDevice(window));
    EXPECT_EQ(window.m_edsPath, "ConfigurationData/Test drive/beef.eds");
    EXPECT_EQ(readFile(window.m_edsPath), kEds);
    EXPECT_EQ(allFiles(), QStringList{"ConfigurationData/Test drive/beef.eds"});
    EXPECT_TRUE(loadEdsFromDevice(window)); // now from the cache
}

// The unpack removes the archive's folder afterwards: a folder that holds the
// working folder, the cache or the device's cache folder is refused untouched.
TEST_F(EdsAcquisition, UnpackRefusesFoldersItMustNotRemove)
{
    const QByteArray archive = archiveOf({{"x.eds", kEds}});
    writeFile("keep.txt", "mine");
    writeFile("ConfigurationData/controllers.xml", "<c/>");
    writeFile("ConfigurationData/Test drive/1.eds", kEds);
    writeFile("work.zpaq", archive);
    writeFile("ConfigurationData/cache.zpaq", archive);
    writeFile("ConfigurationData/Test drive/device.zpaq", archive);
    ASSERT_TRUE(QDir().mkpath("ConfigurationData/folder.zpaq"));
    ASSERT_TRUE(QFile::link("ConfigurationData", "linked"));
    const QStringList before = allFiles();
    for (const QString &path : {QString(""), QString("work.zpaq"), folder.path() + "/work.zpaq",
                                QString("ConfigurationData/cache.zpaq"), QString("linked/cache.zpaq"),
                                QString("ConfigurationData/Test drive/device.zpaq"),
                                QString("ConfigurationData/folder.zpaq"), QString("ConfigurationData/tempdir/")})
        EXPECT_TRUE(unpackEdsArchive(path, "Test drive", "77").isEmpty()) << path.toStdString();
    EXPECT_EQ(allFiles(), before);
    EXPECT_TRUE(QDir("ConfigurationData/folder.zpaq").exists());
}

// A failed unpack leaves nothing in the upload folder, and an upload starts
// from an empty one: an old EDS is never cached under a new checksum.
TEST_F(EdsAcquisition, LeftoversOfAnEarlierUnpackAreNeverCached)
{
    writeFile("ConfigurationData/tempdir/old.eds", "[1000]\nParameterName=Old\n");
    storeEds(archiveOf({{"new.eds", kEds}}));
    EXPECT_EQ(readFile(unpackEdsArchive(uploadEdsToTempFile(), "Test drive", "2")), kEds);

    writeFile("outside/tempfile", "zPQ but not an archive at all");
    writeFile("outside/stale.eds", "[1000]\nParameterName=Old\n");
    EXPECT_TRUE(unpackEdsArchive("outside/tempfile", "Test drive", "3").isEmpty());
    EXPECT_FALSE(QDir("outside").exists());
}
