// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole or not at all.
#pragma once

#include <string>
#include <string_view>

namespace orvanta::cli {

/// Writes `contents` to a temporary file beside `path`, flushes it to the disk and renames
/// it over `path`, so a reader sees the old file or the new one, never a part. Returns
/// the empty string on success, else why it failed (the temporary file is removed).
std::string writeFileAtomically(const std::string& path, std::string_view contents);

} // namespace orvanta::cli
