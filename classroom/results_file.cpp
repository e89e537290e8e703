#include "results_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "catalogue.h"

namespace hashigoro {

namespace {

// Makes every folder of `path` above its last part.
void MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The file's bytes, or nothing; a link is not followed.
std::string ReadNoFollow(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return bytes;
    }
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

// The folder made, if need be, and ours alone: a real folder (no link), the user's, and open to
// no one else.
bool OwnFolder(const std::string& folder) {
    MakeFolders(folder + "/");
    struct stat status {};
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

// The user's folder for the program's state, or nothing without a home.
std::string StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') {
        return std::string(state) + "/hashigoro";
    }
    const char* home = std::getenv("HOME");
    if (home && *home == '/') {
        return std::string(home) + "/.local/state/hashigoro";
    }
    return {};
}

}  // namespace

std::string ResultsFile::DefaultPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') {
        return std::string(data) + "/hashigoro/results.txt";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/hashigoro/results.txt";
}

int ResultsFile::Append(const std::string& lines) const {
    MakeFolders(path_);
    // A link planted in the file's place is not followed.
    const int fd =
        ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        return errno;
    }
    const auto fail = [fd](int error) {
        ::close(fd);
        return error;
    };
    // One writer at a time, so that two programs never interleave a line; a lock that is not
    // had within two seconds (a stalled program, a network home) means no write.
    int locked = -1;
    for (int tries = 0; tries < 100; ++tries) {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
        if (locked == 0 || (errno != EWOULDBLOCK && errno != EINTR)) {
            break;
        }
        ::usleep(20'000);
    }
    if (locked != 0) {
        return fail(errno);
    }
    // The size to go back to, measured: without it nothing is written, as nothing could be
    // undone.
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return fail(errno);
    }
    const off_t before = status.st_size;
    std::string bytes;
    if (before > 0) {
        // A line cut short by an earlier failure is closed first, so that ours stands alone.
        char last = '\n';
        if (::pread(fd, &last, 1, before - 1) == 1 && last != '\n') {
            bytes += '\n';
        }
    }
    bytes += lines;
    if (!WriteAll(fd, bytes)) {
        const int error = errno != 0 ? errno : EIO;
        // What this write added, and no more, goes again.
        [[maybe_unused]] const int undone = ::ftruncate(fd, before);
        return fail(error);
    }
    return ::close(fd) == 0 ? 0 : errno;
}

std::string ResultsFile::UnsavedPath() const {
    const std::string folder = StateFolder();
    if (folder.empty()) {
        return {};
    }
    // Named by the results file's path (FNV-1a), so that each results file has its own.
    std::uint64_t hash = 0xcbf29ce484222325;
    for (unsigned char c : path_) {
        hash = (hash ^ c) * 0x100000001b3;
    }
    char name[40];
    std::snprintf(name, sizeof name, "/unsaved-%016llx.txt", static_cast<unsigned long long>(hash));
    return folder + name;
}

bool ResultsFile::KeepUnsaved(const std::string& why, const std::vector<std::string>& lines) const {
    const std::string path = UnsavedPath();
    if (path.empty() || !OwnFolder(path.substr(0, path.rfind('/')))) {
        return false;
    }
    if (lines.empty()) {
        return ::unlink(path.c_str()) == 0 || errno == ENOENT;
    }
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += why + '\t' + line + '\n';
    }
    const std::string kept = path + ".new";
    const int fd =
        ::open(kept.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    const bool ok = WriteAll(fd, bytes);
    return (::close(fd) == 0 && ok && ::rename(kept.c_str(), path.c_str()) == 0);
}

std::string ResultsFile::ReadUnsaved() const {
    const std::string path = UnsavedPath();
    std::istringstream in(path.empty() ? std::string() : ReadNoFollow(path));
    std::string lines;
    for (std::string line; std::getline(in, line);) {
        lines += line.substr(line.find('\t') + 1) + '\n';
    }
    return lines;
}

std::string ResultsFile::UnsavedWhy() const {
    const std::string path = UnsavedPath();
    std::istringstream in(path.empty() ? std::string() : ReadNoFollow(path));
    std::string line;
    std::getline(in, line);
    return line.substr(0, line.find('\t'));
}

std::string ResultsFile::Why(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return std::string(texts::Text(TextId::DiskFull));
        case EACCES:
        case EPERM:
        case EROFS:
            return std::string(texts::Text(TextId::NotAllowed));
        case EWOULDBLOCK:
            return std::string(texts::Text(TextId::FileBusy));
        default:
            return texts::Format(TextId::WriteFailed, {std::strerror(error)});
    }
}

std::string ResultsFile::Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace hashigoro
