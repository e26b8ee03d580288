// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies: a changed text that the host discards without a question
// (a programme opened over it, or the control released) is first written to
// the user's state folder, so that nothing typed is lost.
#pragma once

#include <cstddef>
#include <string>

namespace plc {

// How many recovery copies are kept; older ones are removed.
inline constexpr size_t kRecoveryCopiesKept = 20;

// $XDG_STATE_HOME/plcedit/recovery (else ~/.local/state/plcedit/recovery).
std::string RecoveryFolder();

// Writes `text` safely as a new recovery copy named after the document
// (`documentName`, empty or the system's "unnamed" name for an unnamed one)
// and the local time, then removes all but the newest kRecoveryCopiesKept.
// The copy's full path, or empty with `error` set when it cannot be written.
std::string WriteRecoveryCopy(const std::string& documentName, const std::string& text, std::string& error);

}  // namespace plc
