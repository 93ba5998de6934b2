// SPDX-License-Identifier: MIT
#include "core/support/files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
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

std::string read_input(const std::string &path) {
    if (path == "-") {
        std::ostringstream contents;
        contents << std::cin.rdbuf();
        return contents.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) fail(path, "read", errno);
    try {
        std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (file.bad()) fail(path, "read", errno);
        return contents;
    } catch (const std::ios_base::failure &) {  // a directory, for one, opens but cannot be read
        fail(path, "read", errno);
    }
}

void write_output(const std::string &path, std::string_view bytes) {
    if (path == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) throw file_error("standard output: cannot write");
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

std::string input_name(const std::string &path) { return path == "-" ? "standard input" : path; }

}  // namespace gattdb::tool
