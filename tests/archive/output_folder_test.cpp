// Mapping of archive names into the output folder: absolute and drive names
// land inside it, ".." and empty names are refused, and nothing is created
// through a symbolic link already in the folder.
#include "archive/output_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

using zpaq::OutputFolder;

TEST(OutputFolder, NamesAreMappedInsideOrRefused)
{
    struct Case
    {
        const char *name;
        const char *mapped; // "" = refused
    } cases[] = {
        {"a.eds", "a.eds"},
        {"dir/sub/a.eds", "dir/sub/a.eds"},
        {"/etc/passwd", "etc/passwd"},
        {"//double//slash/", "double/slash"},
        {"./x/./y", "x/y"},
        {"C:/Windows/a.ini", "C/Windows/a.ini"},
        {"c:", "c"},
        {"dir/C:/a", "dir/C:/a"}, // only a leading drive is a drive
        {"..", ""},
        {"../a", ""},
        {"a/../../b", ""},
        {"a/..", ""},
        {"/..", ""},
        {"", ""},
        {"/", ""},
        {"./", ""},
        {"..a/b..", "..a/b.."}, // dots inside a name are plain characters
        {"a\nb/\x1b[2J\x07\x7f", "a_b/_[2J__"}, // control characters replaced
    };
    for (const Case &c : cases) {
        std::string why;
        EXPECT_EQ(OutputFolder::mapName(c.name, why), c.mapped) << c.name;
        EXPECT_EQ(why.empty(), *c.mapped != 0) << c.name << ": " << why;
    }
    std::string deep, why;
    for (int i = 0; i < 129; ++i)
        deep += "d/";
    EXPECT_EQ(OutputFolder::mapName(deep + "f", why), "");
    EXPECT_TRUE(OutputFolder::mapName(std::string(4096, 'x'), why).empty());
    EXPECT_TRUE(OutputFolder::mapName(std::string(4095, 'x'), why) == std::string(4095, 'x'));
}

TEST(OutputFolder, CreatesParentsAndRefusesLinksAndFilesOnTheWay)
{
    QTemporaryDir root, elsewhere;
    zpaq::Warnings warnings;
    OutputFolder folder(root.filePath("out").toStdString(), warnings);
    std::string why;
    EXPECT_GE(folder.addFile("a/b/c.txt", 0, why), 0) << why;
    EXPECT_TRUE(QFile::exists(root.filePath("out/a/b/c.txt")));

    ASSERT_EQ(::symlink(elsewhere.path().toUtf8().constData(),
                        root.filePath("out/link").toUtf8().constData()),
              0);
    EXPECT_EQ(folder.addFile("link/x.txt", 0, why), -1);
    EXPECT_NE(why.find("symbolic link"), std::string::npos) << why;
    EXPECT_EQ(folder.addFile("link", 0, why), -1);
    EXPECT_FALSE(folder.makeFolder("link/sub", why));
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());

    QFile plain(root.filePath("out/plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    why.clear();
    EXPECT_EQ(folder.addFile("plain/x.txt", 0, why), -1);
    EXPECT_NE(why.find("not a folder"), std::string::npos) << why;
    EXPECT_EQ(folder.addFile("a", 0, why), -1); // a folder where a file should go
    EXPECT_TRUE(folder.makeFolder("a/b", why));
    EXPECT_EQ(folder.addFile(std::string(300, 'n'), 0, why), -1);
    EXPECT_NE(why.find("too long"), std::string::npos) << why;
    EXPECT_TRUE(warnings.texts().empty());
}

// A folder replaced by a link after it was created: what goes into it
// still lands in the folder that was created (wherever it was moved), never
// through the link.
TEST(OutputFolder, FolderSwappedForALinkIsNotFollowed)
{
    QTemporaryDir root, elsewhere;
    zpaq::Warnings warnings;
    OutputFolder folder(root.filePath("out").toStdString(), warnings);
    std::string why;
    ASSERT_TRUE(folder.makeFolder("a/b", why)) << why;
    ASSERT_TRUE(QDir(root.path()).rename("out/a", "moved"));
    ASSERT_EQ(::symlink(elsewhere.path().toUtf8().constData(),
                        root.filePath("out/a").toUtf8().constData()),
              0);
    EXPECT_GE(folder.addFile("a/b/x.txt", 0, why), 0) << why;
    EXPECT_TRUE(folder.makeFolder("a/c", why));
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    EXPECT_TRUE(QFile::exists(root.filePath("moved/b/x.txt")));
}

// A file appears under its name only when all its parts are done; one never
// finished leaves no trace and the previous copy stays.
TEST(OutputFolder, FilesAppearOnlyWhenFinished)
{
    QTemporaryDir root;
    QFile old(root.filePath("out/kept.txt"));
    ASSERT_TRUE(QDir(root.path()).mkpath("out"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    {
        zpaq::Warnings warnings;
        OutputFolder folder(root.filePath("out").toStdString(), warnings);
        std::string why;
        const long done = folder.addFile("done.txt", 2, why);
        const long kept = folder.addFile("kept.txt", 1, why);
        ASSERT_GE(done, 0);
        ASSERT_GE(kept, 0);
        const int fd = folder.openFile(std::size_t(kept));
        ASSERT_EQ(::write(fd, "partial", 7), 7);
        ::close(fd);
        folder.partDone(std::size_t(done));
        EXPECT_FALSE(QFile::exists(root.filePath("out/done.txt")));
        folder.partDone(std::size_t(done));
        EXPECT_TRUE(QFile::exists(root.filePath("out/done.txt")));
    }
    EXPECT_EQ(QDir(root.filePath("out")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"done.txt", "kept.txt"}));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("previous"));
}
