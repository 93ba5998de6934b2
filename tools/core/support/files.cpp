// SPDX-License-Identifier: MIT
#include "core/support/files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace gattdb::tool {
namespace {

[[noreturn]] void fail(const std::string &path, const std::string &what, int error) {
    throw file_error(path + ": cannot " + what + ": " + std::strerror(error));
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The folder's entry for a renamed file reaches the disk only when the folder itself is flushed;
// until then a power loss can undo the rename. Returns 0 or the error; a file system that cannot
// flush folders at all (EINVAL) has nothing to flush.
int flush_folder_of(const std::string &path) {
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

// A new file gets the permissions the process would give any file it creates.
mode_t default_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

// Files are read and written with the system's calls rather than C++ streams or std::filesystem's
// operations: the web page's engine links the readers, and either would bring it the C++ library's
// locales and formatting, a tenth of its code.
std::string read_input(const std::string &path) {
    const int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(path, "read", errno);
    constexpr std::size_t BLOCK = 65536;
    std::string contents;
    std::size_t size = 0;
    for (;;) {
        contents.resize(size + BLOCK);
        const ssize_t got = ::read(fd, contents.data() + size, BLOCK);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {  // a directory, for one, opens but cannot be read
            const int error = errno;
            if (fd != STDIN_FILENO) ::close(fd);
            fail(path, "read", error);
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    if (fd != STDIN_FILENO) ::close(fd);
    contents.resize(size);
    return contents;
}

void write_output(const std::string &path, std::string_view bytes) {
    if (path == "-") {
        // Through C's stdout, in order with what the streams (synchronised with it) wrote before.
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
            throw file_error("standard output: cannot write");
        return;
    }
    std::string temporary = path + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) fail(path, "create a temporary file beside it", errno);
    temporary = name.data();
    const bool written = ::fchmod(fd, default_file_mode()) == 0 && write_all(fd, bytes) && ::fsync(fd) == 0;
    const int write_errno = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : write_errno;
        ::unlink(temporary.c_str());
        fail(path, "write", error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail(path, "replace", error);
    }
    if (const int error = flush_folder_of(path)) fail(path, "flush its folder after replacing it", error);
}

std::optional<std::string> read_regular_file(const std::string &path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return read_input(path);
}

std::optional<std::string> canonical_path(const std::string &path) {
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return std::nullopt;
    std::string canonical = resolved;
    std::free(resolved);
    return canonical;
}

std::string input_name(const std::string &path) { return path == "-" ? "standard input" : path; }

}  // namespace gattdb::tool
