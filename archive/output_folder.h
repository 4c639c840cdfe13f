// Where extracted files go. Archive names are mapped inside the output
// folder: a leading '/' is dropped, a drive "C:" becomes "C", control
// characters become '_'; a name with a ".." component, or longer or deeper
// than the caps, is refused (the caller warns and skips it).
//
// Every folder is created and opened relative to the handle of its parent,
// never by path, and no component is followed when it is a symbolic link, so
// a folder swapped for a link by another process while we extract cannot
// lead outside. Each file is written under a temporary name in its folder and
// renamed into place only when all its data has been checked; files never
// finished are removed, and the previous copy of such a file stays intact.
#pragma once

#include "archive/warnings.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace zpaq {

class OutputFolder
{
public:
    /// Creates the folder when missing; throws DecodeError when it cannot.
    OutputFolder(const std::string &root, Warnings &warnings);
    /// Removes the temporary files of files never finished.
    ~OutputFolder();
    OutputFolder(const OutputFolder &) = delete;
    OutputFolder &operator=(const OutputFolder &) = delete;

    /// Relative path for an archive name, or "" with `why` set when refused.
    static std::string mapName(const std::string &name, std::string &why);

    /// Creates `relative` and its parents as folders; false with `why` set
    /// when a component is a link or not a folder, or cannot be created.
    bool makeFolder(const std::string &relative, std::string &why);

    /// Creates the parent folders of `relative` and an empty temporary file
    /// beside its place, which `parts` calls of partDone() will rename into
    /// place (0: at once). Returns its index, or -1 with `why` set.
    long addFile(const std::string &relative, std::uint32_t parts, std::string &why);

    /// File `index` waits for one part more.
    void addPart(std::size_t index) { ++m_files[index].parts; }

    /// A new write descriptor on file `index`'s temporary file (the caller
    /// closes it). Throws DecodeError when it cannot be opened.
    int openFile(std::size_t index);

    /// One part of file `index` is written and checked; after the last part
    /// the file is renamed into place (a failure there is a warning). Any
    /// thread may call it.
    void partDone(std::size_t index);

    /// The file's path relative to the output folder, for messages.
    const std::string &name(std::size_t index) const { return m_files[index].relative; }

private:
    struct Folder;
    struct File
    {
        Folder *folder;
        std::string relative, leaf, temporary;
        std::atomic<std::uint32_t> parts{0};
        bool done = false;
    };

    Folder *folderOf(const std::string &relative, bool includingLast, std::string &why);
    int handle(Folder *folder);
    /// Closes the folder descriptors held open (the top one too when `withTop`).
    void closeFolders(bool withTop);
    void commit(File &file);

    Warnings &m_warnings;
    std::string m_root;
    std::unique_ptr<Folder> m_top;
    std::size_t m_held = 0; // folder descriptors open besides the top
    std::deque<File> m_files;
    std::mutex m_lock;
};

} // namespace zpaq
