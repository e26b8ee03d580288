// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders for settings, data, state and runtime files, found by
// one rule for all of them: the folder the XDG variable names when it holds
// an absolute path (a relative one is no folder), else the default under
// $HOME. Whoever looks for such a folder asks here.
#pragma once

#include <string>

namespace plc {

enum class XdgKind {
    Config,   // $XDG_CONFIG_HOME, else ~/.config
    Data,     // $XDG_DATA_HOME, else ~/.local/share
    State,    // $XDG_STATE_HOME, else ~/.local/state
    Runtime,  // $XDG_RUNTIME_DIR; it has no default
};

// The folder of `kind`; empty when the variable gives none and there is no
// default ($HOME unset or empty, or the runtime folder).
std::string XdgFolder(XdgKind kind);

// The folder of the help pages: $PLCEDIT_HELP_DIR, else the installed data
// folder <programFolder>/../share/plcedit/help, else the build tree's
// <programFolder>/help; the first of them that holds the contents page
// index.html, as an absolute path; empty when none does.
std::string HelpFolder(const std::string& programFolder);

}  // namespace plc
