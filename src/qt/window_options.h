// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line: its own options, Qt's, and the file to open.
#pragma once

#include <QString>
#include <QStringList>

namespace orvanta::view {

struct WindowOptions {
    enum class Action { Window, Help, Version, Error };
    Action action = Action::Window;
    QString file;          ///< the observed light curve to open; empty: none
    QString error;         ///< for Error: one line, the program's name first
    bool platform = false; ///< -platform given
};

/// Reads the whole command line (the program's name first). Qt's own options are known
/// here so that they reach the toolkit; any other option is an error.
WindowOptions readWindowOptions(const QStringList& arguments);

} // namespace orvanta::view
