// SPDX-License-Identifier: GPL-3.0-or-later
// Links from the language server into the installed help: the diagnostics'
// code descriptions, the hovers and the completion items all point at the
// same pages that the editor's F1 opens.
#pragma once

#include <string>

#include "compiler/Assist.h"

namespace plcc::lsp {

// A file:// address of a help page ("errors.html#error30") in the installed
// help; empty when no help is installed.
std::string HelpAddress(const std::string& page);

// A Markdown line that links to the help page of `topic` ("[Help](file://...)");
// empty without help.
std::string HelpLink(const plc::Topic& topic);

}  // namespace plcc::lsp
