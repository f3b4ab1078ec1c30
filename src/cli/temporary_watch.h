// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary name that is removed however the process that made it ends.
#pragma once

#include <string>

#include <sys/types.h>

namespace orvanta::cli {

/// Watches a temporary name from a process of its own, which removes the name when this
/// process ends before it has said the name is taken care of. A process killed outright
/// (SIGKILL) or crashed runs no code of its own, so only a process that outlives it can clean
/// up after it. The watcher waits on a socket whose other end only this process holds; the
/// kernel closes that end as this process ends, however it ends.
///
/// The watcher removes the name only while it is this process's file: the file whose
/// identity `own` sent, or before that an empty regular file (one just made, nothing written
/// yet). Without a process to spare (fork fails) nothing watches.
class TemporaryWatch {
public:
    /// Starts watching `name` (a path that need not exist yet).
    explicit TemporaryWatch(const std::string& name);
    /// Tells the watcher the name is taken care of (renamed, or removed) and waits for it to
    /// end; `errno` stays as it was.
    ~TemporaryWatch();
    TemporaryWatch(const TemporaryWatch&) = delete;
    TemporaryWatch& operator=(const TemporaryWatch&) = delete;

    /// The name now holds the file open as `fd`.
    void own(int fd);

private:
    pid_t watcher_ = -1;
    int socket_ = -1; ///< this process's end of the watcher's
};

} // namespace orvanta::cli
