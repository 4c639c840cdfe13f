// Name mapping, folder handles and the temporary-then-rename file life cycle.
#include "archive/output_folder.h"

#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zpaq {

namespace {

// Folder descriptors kept open between uses; more are closed and reopened
// (relative to their parents) when needed again.
constexpr std::size_t kHeldFolders = 256;

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

std::string quoted(const std::string &path) { return "\"" + path + "\""; }

} // namespace

struct OutputFolder::Folder
{
    std::string name;
    Folder *parent = nullptr;
    int fd = -1;
    std::string failure; // why it cannot be used; checked once
    std::map<std::string, std::unique_ptr<Folder>> children;
};

OutputFolder::OutputFolder(const std::string &root, Warnings &warnings)
    : m_warnings(warnings), m_root(root), m_top(new Folder)
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
    m_top->fd = ::open(m_root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ZPAQ_CHECK(m_top->fd >= 0, "output folder \"%s\" is not a folder", m_root.c_str());
    m_top->name = m_root;
}

OutputFolder::~OutputFolder()
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (File &file : m_files) {
        const int fd = file.done ? -1 : handle(file.folder);
        if (fd >= 0)
            ::unlinkat(fd, file.temporary.c_str(), 0);
    }
    closeFolders(true);
}

std::string OutputFolder::mapName(const std::string &name, std::string &why)
{
    std::string out;
    std::size_t depth = 0;
    for (std::string part : splitPath(name)) {
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
        for (char &c : part) {
            if (std::uint8_t(c) < 0x20 || c == 0x7F)
                c = '_';
        }
        if (!out.empty())
            out += '/';
        out += part;
        ++depth;
    }
    if (out.empty()) {
        why = "name \"" + name + "\" names no file";
    } else if (out.size() > kMaxNameBytes || depth > kMaxNameDepth) {
        why = "name \"" + name.substr(0, 64) + "...\" is longer than " +
              std::to_string(kMaxNameBytes) + " bytes or deeper than " +
              std::to_string(kMaxNameDepth) + " folders";
        out.clear();
    }
    return out;
}

void OutputFolder::closeFolders(bool withTop)
{
    std::vector<Folder *> open{m_top.get()};
    while (!open.empty()) {
        Folder *f = open.back();
        open.pop_back();
        if (f->fd >= 0 && (withTop || f != m_top.get())) {
            ::close(f->fd);
            f->fd = -1;
        }
        for (auto &child : f->children)
            open.push_back(child.second.get());
    }
    m_held = 0;
}

int OutputFolder::handle(Folder *folder)
{
    if (folder->fd >= 0)
        return folder->fd;
    const int parent = handle(folder->parent);
    if (parent < 0)
        return -1;
    folder->fd = ::openat(parent, folder->name.c_str(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder->fd >= 0)
        ++m_held;
    return folder->fd;
}

OutputFolder::Folder *OutputFolder::folderOf(const std::string &relative, bool includingLast,
                                             std::string &why)
{
    if (m_held > kHeldFolders) {
        // Closing all keeps this simple; folders are reopened on demand.
        closeFolders(false);
    }
    const std::vector<std::string> parts = splitPath(relative);
    Folder *at = m_top.get();
    const std::size_t count = includingLast ? parts.size() : parts.size() - 1;
    std::string path = m_root;
    for (std::size_t i = 0; i < count; ++i) {
        path += '/' + parts[i];
        std::unique_ptr<Folder> &child = at->children[parts[i]];
        if (!child) {
            child.reset(new Folder);
            child->name = parts[i];
            child->parent = at;
            const int parent = handle(at);
            if (parent < 0 || (::mkdirat(parent, parts[i].c_str(), 0777) != 0 && errno != EEXIST)) {
                child->failure = "cannot create folder " + quoted(path) + ": " + std::strerror(errno);
            } else if (handle(child.get()) < 0) {
                struct stat st;
                const bool link = ::fstatat(parent, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                                  S_ISLNK(st.st_mode);
                child->failure = quoted(path) + (link ? " is a symbolic link"
                                                      : errno == ENOTDIR ? " exists and is not a folder"
                                                                         : std::string(": ") + std::strerror(errno));
            }
        }
        if (!child->failure.empty()) {
            why = child->failure;
            return nullptr;
        }
        at = child.get();
    }
    return at;
}

bool OutputFolder::makeFolder(const std::string &relative, std::string &why)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return folderOf(relative, true, why) != nullptr;
}

long OutputFolder::addFile(const std::string &relative, std::uint32_t parts, std::string &why)
{
    std::lock_guard<std::mutex> guard(m_lock);
    Folder *folder = folderOf(relative, false, why);
    if (!folder)
        return -1;
    const int dir = handle(folder);
    const std::string leaf = relative.substr(relative.rfind('/') + 1);
    const std::string shown = quoted(m_root + '/' + relative);
    struct stat st;
    if (dir < 0) {
        why = "cannot open the folder of " + shown + ": " + std::strerror(errno);
        return -1;
    }
    if (::fstatat(dir, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        (S_ISLNK(st.st_mode) || S_ISDIR(st.st_mode))) {
        why = shown + " is a " + (S_ISLNK(st.st_mode) ? "symbolic link" : "folder");
        return -1;
    }
    if (leaf.size() > NAME_MAX) {
        why = "cannot create " + shown + ": " + std::strerror(ENAMETOOLONG);
        return -1;
    }
    m_files.emplace_back();
    File &file = m_files.back();
    file.folder = folder;
    file.relative = relative;
    file.leaf = leaf;
    file.temporary = ".zpaq-part-" + std::to_string(::getpid()) + "-" + std::to_string(m_files.size());
    ::unlinkat(dir, file.temporary.c_str(), 0);
    const int fd = ::openat(dir, file.temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = "cannot create a file in the folder of " + shown + ": " + std::strerror(errno);
        file.done = true;
        return -1;
    }
    ::close(fd);
    file.parts = parts;
    if (parts == 0)
        commit(file);
    return long(m_files.size() - 1);
}

int OutputFolder::openFile(std::size_t index)
{
    std::lock_guard<std::mutex> guard(m_lock);
    File &file = m_files[index];
    const int dir = handle(file.folder);
    const int fd = dir < 0 ? -1
                           : ::openat(dir, file.temporary.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open the file for \"%s\": %s", file.relative.c_str(), std::strerror(errno));
    return fd;
}

void OutputFolder::partDone(std::size_t index)
{
    File &file = m_files[index];
    if (file.parts.fetch_sub(1) != 1)
        return;
    std::lock_guard<std::mutex> guard(m_lock);
    commit(file);
}

void OutputFolder::commit(File &file)
{
    file.done = true;
    const int dir = handle(file.folder);
    if (dir >= 0 && ::renameat(dir, file.temporary.c_str(), dir, file.leaf.c_str()) == 0)
        return;
    m_warnings.add("cannot put " + quoted(m_root + '/' + file.relative) + " in place: " +
                   std::strerror(errno) + "; not extracted");
    if (dir >= 0)
        ::unlinkat(dir, file.temporary.c_str(), 0);
}

} // namespace zpaq
