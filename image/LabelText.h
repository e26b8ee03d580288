// SPDX-License-Identifier: GPL-3.0-or-later
// How a record is named in text: by its label ("N010"), and where it stands
// in the programme ("%P00" for the head, "END" for the end record), the ends
// taken from the section-word table. The flow graph, the listing, the
// analysis, rename and the command line's outputs all name records here.
#pragma once

#include <string>

#include "image/SectionWords.h"

namespace plc {

// A record by its number, as a statement's label is written: "N010" (also
// "N000" and "N255", where the record itself is meant).
std::string RecordLabel(int record);

// Where a record stands in the programme text: "%P00" for the programme
// head (record 0), "END" for the end record (255), else its label ("N010").
std::string LabelText(int record);

}  // namespace plc
