// Names from the archive that point outside the output folder: absolute
// paths, ".." components, and symbolic links already in the folder. Such a
// file is either mapped inside the folder (result 0) or refused with a warning
// (result 1); the archive's other files are extracted either way, and nothing
// is ever written beside the folder.
#include "block_writer.h"
#include "extraction_run.h"
#include "journal_writer.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

using namespace zpaqtest;

namespace {

const QByteArray kEvil = "EVIL CONTENT";
const QByteArray kOriginal = "original outside content";

struct NameCase {
    const char *label;
    std::function<QByteArray(const ExtractionRun &)> name;
    bool isDirectory = false;
};

void PrintTo(const NameCase &c, std::ostream *os) { *os << c.label; }

QByteArray fixed(const char *text) { return text; }

const NameCase kNames[] = {
    {"absolute_into_root",
     [](const ExtractionRun &r) { return QFile::encodeName(r.rootDir()) + "/escaped.txt"; }},
    {"absolute_into_outside",
     [](const ExtractionRun &r) { return QFile::encodeName(r.outsideDir()) + "/escaped.txt"; }},
    {"absolute_onto_outside_file",
     [](const ExtractionRun &r) { return QFile::encodeName(r.outsideDir()) + "/target.txt"; }},
    {"parent", [](const ExtractionRun &) { return fixed("../escaped.txt"); }},
    {"parent_into_outside", [](const ExtractionRun &) { return fixed("../outside/target.txt"); }},
    {"dot_parent", [](const ExtractionRun &) { return fixed("./../escaped.txt"); }},
    {"inner_parents", [](const ExtractionRun &) { return fixed("a/b/../../../escaped.txt"); }},
    {"parents_cancelling_then_leaving", [](const ExtractionRun &) { return fixed("a/../b/../../escaped.txt"); }},
    {"bare_parent", [](const ExtractionRun &) { return fixed(".."); }},
    {"parent_directory_entry", [](const ExtractionRun &) { return fixed("../evil-dir/"); }, true},
    {"backslash_parent", [](const ExtractionRun &) { return fixed("..\\escaped.txt"); }},
    {"drive_letter", [](const ExtractionRun &) { return fixed("C:/escaped.txt"); }},
    {"empty", [](const ExtractionRun &) { return fixed(""); }},
    {"root_only", [](const ExtractionRun &) { return fixed("/"); }},
    {"dot", [](const ExtractionRun &) { return fixed("."); }},
    {"dot_slash", [](const ExtractionRun &) { return fixed("./"); }},
    {"through_folder_link", [](const ExtractionRun &) { return fixed("dirlink/escaped.txt"); }},
    {"onto_file_link", [](const ExtractionRun &) { return fixed("filelink"); }},
};

enum class Kind { Streaming, Journaling };

QByteArray archiveWith(Kind kind, const QByteArray &evilName, bool isDirectory)
{
    // In a stream the evil name comes first: an empty name would otherwise
    // rightly continue the file before it.
    if (kind == Kind::Streaming)
        return storedBlock({fileSegment(evilName, kEvil), fileSegment("ok.txt", "fine")});
    JournalWriter w;
    w.beginVersion(20240601000000);
    w.putFile("ok.txt", "fine");
    if (isDirectory)
        w.putDirectory(evilName);
    else
        w.putFile(evilName, kEvil);
    w.commit();
    return w.bytes();
}

class PathSafety : public testing::TestWithParam<std::tuple<Kind, NameCase>> {};

TEST_P(PathSafety, NothingIsWrittenOutsideTheOutputFolder)
{
    const auto [kind, nameCase] = GetParam();
    ExtractionRun run;
    // Beside the output folder: a file that must keep its content, and links to it
    // and to its folder planted inside the output folder.
    ASSERT_TRUE(QDir().mkpath(run.outsideDir()));
    QFile target(run.outsideDir() + QStringLiteral("/target.txt"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(kOriginal);
    target.close();
    ASSERT_TRUE(QFile::link(run.outsideDir(), run.outDir() + QStringLiteral("/dirlink")));
    ASSERT_TRUE(QFile::link(target.fileName(), run.outDir() + QStringLiteral("/filelink")));

    const QByteArray evilName = nameCase.name(run);
    const int result = run.extract(archiveWith(kind, evilName, nameCase.isDirectory));

    ASSERT_TRUE(result == 0 || result == 1) << result << " " << qPrintable(run.errorText());
    const auto files = run.files();
    EXPECT_EQ(files.value(QStringLiteral("ok.txt")), QByteArray("fine"));
    if (result == 0 && !nameCase.isDirectory) {
        EXPECT_TRUE(files.values().contains(kEvil)) << "mapped file lost: " << evilName.constData();
    }
    EXPECT_EQ(run.strayEntries(), QStringList{QStringLiteral("outside/target.txt")});
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), kOriginal);
}

INSTANTIATE_TEST_SUITE_P(
    Archive, PathSafety,
    testing::Combine(testing::Values(Kind::Streaming, Kind::Journaling), testing::ValuesIn(kNames)),
    [](const testing::TestParamInfo<std::tuple<Kind, NameCase>> &info) {
        return std::string(std::get<0>(info.param) == Kind::Streaming ? "streaming_" : "journal_")
               + std::get<1>(info.param).label;
    });

} // namespace
