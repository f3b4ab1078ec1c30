// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/atomic_file.h"

#include "cli/temporary_watch.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace orvanta::cli {

namespace {

std::string systemError(int code) {
    return std::strerror(code);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

/// What a file that is not a regular one is, for the refusal.
std::string notRegular(mode_t mode) {
    const char* kind = S_ISDIR(mode)                    ? "a folder"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISFIFO(mode)                 ? "a FIFO (a pipe)"
                       : S_ISSOCK(mode)                 ? "a socket"
                                                        : "a special file";
    return std::string(kind) + ", not a regular file";
}

/// The name the data goes to: `path` with every symbolic link followed (a link to a name
/// not yet there leads to that name). Sets `why` when it cannot be followed.
std::string resolve(std::string path, std::string& why) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) why = systemError(errno);
            return path; // a new name
        }
        if (!S_ISLNK(st.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (n < 0) {
            why = systemError(errno);
            return path;
        }
        const std::string to(target.data(), static_cast<std::size_t>(n));
        path = to.front() == '/' ? to : folderOf(path) + "/" + to;
    }
    why = systemError(ELOOP);
    return path;
}

/// Holds the signals a user or the system sends to end a program (all but SIGKILL and
/// SIGSTOP) while the file has a visible temporary name; they act when it is gone.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t all;
        ::sigfillset(&all);
        ::sigprocmask(SIG_BLOCK, &all, &before_);
    }
    ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t before_{};
};

bool writeAll(int fd, std::string_view contents) {
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

/// A short hidden name in `folder` for the moment between link and rename (whatever the
/// length of the target's own name).
std::string temporaryName(const std::string& folder) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, 8> random{};
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        if (::read(fd, random.data(), random.size()) < 0) random.fill(0);
        ::close(fd);
    }
    std::string name = folder + "/.orvanta-";
    const auto pid = static_cast<unsigned>(::getpid());
    for (std::size_t i = 0; i < random.size(); ++i)
        name += letters[(random[i] + pid * (i + 1)) % (sizeof letters - 1)];
    return name;
}

} // namespace

std::string writeFileAtomically(const std::string& path, std::string_view contents) {
    if (path.empty()) return "no file name";

    struct stat existing {};
    bool exists = false;
    if (::stat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) return notRegular(existing.st_mode);
        exists = true;
    } else if (errno != ENOENT) {
        return systemError(errno);
    }
    std::string why;
    const std::string target = resolve(path, why);
    if (!why.empty()) return why;
    const std::string folder = folderOf(target);

    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) == 0 &&
        (fs.f_type == PROC_SUPER_MAGIC || fs.f_type == SYSFS_MAGIC))
        return "a file of the kernel's " +
               std::string(fs.f_type == PROC_SUPER_MAGIC ? "/proc" : "/sys") +
               ", not a place to save data";

    // The data goes to a file with no name, which vanishes with the process if it is
    // killed; it gets its name only once whole. File systems without such files get a
    // hidden temporary name, with the ending signals held until it is renamed, and a watcher
    // that removes it if the process ends first.
    bool named = false;
    std::string temporary;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    std::optional<SignalsHeld> held;
    // A kill no process can catch (SIGKILL) leaves the temporary name to a watcher.
    std::optional<TemporaryWatch> watch;
    if (fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return systemError(errno);
        held.emplace();
        for (int tries = 0; fd < 0 && tries < 100; ++tries) {
            temporary = temporaryName(folder);
            watch.emplace(temporary);
            fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            if (fd >= 0) {
                watch->own(fd);
            } else {
                watch.reset(); // not this process's name
                if (errno != EEXIST) return systemError(errno);
            }
        }
        if (fd < 0) return systemError(EEXIST);
        named = true;
    }
    auto fail = [&](int code) {
        ::close(fd);
        if (named) ::unlink(temporary.c_str());
        return systemError(code);
    };

    if (exists) {
        // The file keeps its permissions, and its owner where this user may give it.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        if (::fchmod(fd, existing.st_mode & 07777) != 0) return fail(errno);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0) return fail(errno);
    }
    if (!writeAll(fd, contents) || ::fsync(fd) != 0) return fail(errno);

    if (!named) {
        held.emplace();
        // A new name: the file appears there whole, with no other name on the way.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        auto linkTo = [&](const std::string& name) {
            return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0 ||
                   ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        };
        if (!exists && linkTo(target)) {
            ::close(fd);
            return {};
        }
        if (!exists && errno != EEXIST) return fail(errno);
        // Replacing a file takes a rename, so a name of its own for a moment.
        for (int tries = 0; !named && tries < 100; ++tries) {
            temporary = temporaryName(folder);
            watch.emplace(temporary);
            watch->own(fd);
            if (linkTo(temporary)) {
                named = true;
            } else {
                watch.reset(); // not this process's name
                if (errno != EEXIST) return fail(errno);
            }
        }
        if (!named) return fail(EEXIST);
    }
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        return systemError(code);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        return systemError(code);
    }
    return {};
}

} // namespace orvanta::cli
