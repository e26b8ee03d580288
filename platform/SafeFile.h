// Reading files whole; writing goes through the core's safe write.
#pragma once

#include <string>

#include "base/SafeWrite.h"

namespace plc {

// Reads a whole file, bytes unchanged; false when it cannot be opened or
// read (a folder cannot).
bool ReadWholeFile(const std::string& path, std::string& data);

}  // namespace plc
