// Where extracted files go. Archive names are mapped inside the output
// folder: a leading '/' is dropped and a drive "C:" becomes "C"; a name
// with a ".." component, or one that would pass through a symbolic link
// already in the folder, is refused (the caller warns and skips it).
#pragma once

#include <mutex>
#include <set>
#include <string>

namespace zpaq {

class OutputFolder
{
public:
    /// Creates the folder when missing; throws DecodeError when it cannot.
    explicit OutputFolder(const std::string &root);

    /// Relative path for an archive name, or "" with `why` set when refused.
    static std::string mapName(const std::string &name, std::string &why);

    /// Creates the parent folders of `relative` and returns the full path,
    /// or "" with `why` set when a component is a symbolic link or not a
    /// folder, or when the file was handed out already (two archive names
    /// for one file would otherwise be written into each other, possibly
    /// from two threads). With `directory` the path itself is created as a
    /// folder.
    std::string prepare(const std::string &relative, bool directory, std::string &why);

private:
    std::string m_root;
    std::mutex m_lock;
    std::set<std::string> m_files; // paths handed out for files
};

} // namespace zpaq
