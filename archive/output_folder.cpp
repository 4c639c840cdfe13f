// Name mapping and safe folder creation below the output folder.
#include "output_folder.h"

#include "decode_error.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace zpaq {

namespace {

std::vector<std::string> splitPath(const std::string &path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    parts.push_back(part);
    return parts;
}

// Creates `path` as a folder unless it is one; refuses links and files.
bool ensureFolder(const std::string &path, std::string &why)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            why = "\"" + path + "\" is a symbolic link";
            return false;
        }
        if (!S_ISDIR(st.st_mode)) {
            why = "\"" + path + "\" exists and is not a folder";
            return false;
        }
        return true;
    }
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
        why = "cannot create folder \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

OutputFolder::OutputFolder(const std::string &root) : m_root(root)
{
    ZPAQ_CHECK(!root.empty(), "no output folder given");
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
    // The root itself may be reached through links; only what we create
    // below it is checked.
    std::string path;
    for (const std::string &part : splitPath(m_root)) {
        path += part;
        if (!path.empty() && ::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
            fail("cannot create output folder \"%s\": %s", path.c_str(), std::strerror(errno));
        path += '/';
    }
    struct stat st;
    ZPAQ_CHECK(::stat(m_root.c_str(), &st) == 0 && S_ISDIR(st.st_mode),
               "output folder \"%s\" is not a folder", m_root.c_str());
}

std::string OutputFolder::mapName(const std::string &name, std::string &why)
{
    std::string out;
    const std::vector<std::string> parts = splitPath(name);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            why = "name \"" + name + "\" contains \"..\"";
            return std::string();
        }
        // A drive letter of a Windows absolute name becomes a plain folder.
        if (out.empty() && part.size() == 2 && part[1] == ':' &&
            ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z')))
            part.pop_back();
        if (!out.empty())
            out += '/';
        out += part;
    }
    if (out.empty())
        why = "name \"" + name + "\" names no file";
    return out;
}

std::string OutputFolder::prepare(const std::string &relative, bool directory, std::string &why)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const std::vector<std::string> parts = splitPath(relative);
    std::string path = m_root;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        path += '/' + parts[i];
        if (!ensureFolder(path, why))
            return std::string();
    }
    path += '/' + parts.back();
    if (directory)
        return ensureFolder(path, why) ? path : std::string();
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && (S_ISLNK(st.st_mode) || S_ISDIR(st.st_mode))) {
        why = "\"" + path + "\" is a " + (S_ISLNK(st.st_mode) ? "symbolic link" : "folder");
        return std::string();
    }
    if (!m_files.insert(path).second) {
        why = "\"" + path + "\" is extracted already from another name in the archive";
        return std::string();
    }
    return path;
}

} // namespace zpaq
