// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/temporary_watch.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::cli {

namespace {

/// The identity of a file, as the watcher is sent it.
struct Identity {
    dev_t device;
    ino_t inode;
};

/// Reads up to `size` bytes, fewer only when the other end is closed.
std::size_t readFully(int fd, char* to, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, to + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

/// What the watcher is told: that the name holds this process's file (then its identity),
/// or that the name is taken care of.
constexpr char Owned = 'o', Done = 'd';

/// The watcher's whole life, in a process forked from one that may have threads: only calls
/// that are safe there (no allocation, no locks).
[[noreturn]] void watch(int in, const char* name) {
    // Out of the writer's session and deaf to the signals that end it, so that a Ctrl+C or a
    // closed terminal that ends the writer leaves the watcher to clean up.
    ::setsid();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (const int s : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE})
        ::sigaction(s, &ignore, nullptr);
    char said = 0;
    Identity id{};
    bool known = false;
    if (readFully(in, &said, 1) == 1) {
        if (said == Done) ::_exit(0);
        known = readFully(in, reinterpret_cast<char*>(&id), sizeof id) == sizeof id;
        if (known && readFully(in, &said, 1) == 1) ::_exit(0);
    }
    // The writer ended first.
    struct stat st {};
    if (::lstat(name, &st) == 0 && S_ISREG(st.st_mode) &&
        (known ? st.st_dev == id.device && st.st_ino == id.inode : st.st_size == 0))
        ::unlink(name);
    ::_exit(0);
}

/// Sends `size` bytes; a watcher that is gone raises no SIGPIPE.
void sendFully(int fd, const char* from, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, from, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        from += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace

TemporaryWatch::TemporaryWatch(const std::string& name) {
    std::array<int, 2> ends{};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends.data()) != 0) return;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[1]);
        watch(ends[0], name.c_str());
    }
    ::close(ends[0]);
    if (pid < 0) {
        ::close(ends[1]);
        return;
    }
    watcher_ = pid;
    socket_ = ends[1];
}

void TemporaryWatch::own(int fd) {
    struct stat st {};
    if (socket_ < 0 || ::fstat(fd, &st) != 0) return;
    std::array<char, 1 + sizeof(Identity)> message{Owned};
    const Identity id{st.st_dev, st.st_ino};
    std::memcpy(message.data() + 1, &id, sizeof id);
    sendFully(socket_, message.data(), message.size());
}

TemporaryWatch::~TemporaryWatch() {
    if (socket_ < 0) return;
    const int code = errno; // a failure being reported is not this one's
    sendFully(socket_, &Done, 1);
    ::close(socket_);
    while (::waitpid(watcher_, nullptr, 0) < 0 && errno == EINTR) {}
    errno = code;
}

} // namespace orvanta::cli
