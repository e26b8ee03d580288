// SPDX-License-Identifier: GPL-3.0-or-later
// The style numbers of the edit control: the classes of the compiler's
// classifier of source words, what the lexer gives each character and what
// the edit control reports by StyleAt.
#pragma once

#include "compiler/SourceClassifier.h"

namespace plc {

using SourceStyle = SourceClass;

}  // namespace plc
