// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::cli {

namespace {
std::string systemError(int code) {
    return std::strerror(code);
}
} // namespace

std::string writeFileAtomically(const std::string& path, std::string_view contents) {
    if (path.empty()) return "no file name";
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return systemError(errno);

    auto fail = [&](int code) {
        ::close(fd);
        ::unlink(name.data());
        return systemError(code);
    };
    // mkstemp makes the file private; a new file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) return fail(errno);

    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(name.data());
        return systemError(code);
    }
    if (::rename(name.data(), path.c_str()) != 0) {
        const int code = errno;
        ::unlink(name.data());
        return systemError(code);
    }
    return {};
}

} // namespace orvanta::cli
