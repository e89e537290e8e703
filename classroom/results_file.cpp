#include "results_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace hashigoro {

namespace {

// Makes every folder of `path` above its last part.
void MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
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

}  // namespace

std::string ResultsFile::DefaultPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') {
        return std::string(data) + "/hashigoro/results.txt";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/hashigoro/results.txt";
}

bool ResultsFile::Append(const std::string& line) const {
    MakeFolders(path_);
    const int fd = ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // One writer at a time, so that two programs never interleave a line.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0;
    const off_t before = status.st_size;
    std::string bytes;
    if (ok && before > 0) {
        // A line cut short by an earlier failure is closed first, so that ours stands alone.
        char last = '\n';
        if (::pread(fd, &last, 1, before - 1) == 1 && last != '\n') {
            bytes += '\n';
        }
    }
    bytes += line + '\n';
    ok = ok && WriteAll(fd, bytes);
    if (!ok) {
        // What this write added, and no more, goes again.
        [[maybe_unused]] const int undone = ::ftruncate(fd, before);
    }
    ok = ::close(fd) == 0 && ok;
    return ok;
}

std::string ResultsFile::Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace hashigoro
