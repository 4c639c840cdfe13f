// Mapping of archive names into the output folder: absolute and drive names
// land inside it, ".." and empty names are refused, and nothing is created
// through a symbolic link already in the folder.
#include "output_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

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
    };
    for (const Case &c : cases) {
        std::string why;
        EXPECT_EQ(OutputFolder::mapName(c.name, why), c.mapped) << c.name;
        EXPECT_EQ(why.empty(), *c.mapped != 0) << c.name << ": " << why;
    }
}

TEST(OutputFolder, CreatesParentsAndRefusesLinksAndFilesOnTheWay)
{
    QTemporaryDir root, elsewhere;
    OutputFolder folder(root.filePath("out").toStdString());
    std::string why;
    const std::string path = folder.prepare("a/b/c.txt", false, why);
    EXPECT_EQ(path, root.filePath("out/a/b/c.txt").toStdString());
    EXPECT_TRUE(QDir(root.filePath("out/a/b")).exists());

    ASSERT_EQ(::symlink(elsewhere.path().toUtf8().constData(),
                        root.filePath("out/link").toUtf8().constData()),
              0);
    EXPECT_EQ(folder.prepare("link/x.txt", false, why), "");
    EXPECT_NE(why.find("symbolic link"), std::string::npos) << why;
    EXPECT_EQ(folder.prepare("link", false, why), "");
    EXPECT_EQ(folder.prepare("link/sub", true, why), "");
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());

    QFile plain(root.filePath("out/plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    why.clear();
    EXPECT_EQ(folder.prepare("plain/x.txt", false, why), "");
    EXPECT_NE(why.find("not a folder"), std::string::npos) << why;
    EXPECT_EQ(folder.prepare("a", false, why), ""); // a folder where a file should go
    EXPECT_EQ(folder.prepare("a/b", true, why), root.filePath("out/a/b").toStdString());
}
