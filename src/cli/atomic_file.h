// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole or not at all.
#pragma once

#include <string>
#include <string_view>

namespace orvanta::cli {

/// Writes `contents` to `path` whole or not at all: a reader sees the old file or the new
/// one, never a part, and a process killed while writing leaves nothing behind. A symbolic
/// link is written through to its target (the link stays); an existing file keeps its
/// permissions (and, where allowed, its owner); a new file gets the usual ones. A target
/// that is neither a regular file nor a new name (a folder, a device, a FIFO, a socket, a
/// file of the kernel's /proc or /sys) is refused. Returns the empty string on success,
/// else why it failed, in a few words.
std::string writeFileAtomically(const std::string& path, std::string_view contents);

} // namespace orvanta::cli
