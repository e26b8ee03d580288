// The style classes of the programme language's colouring: what the lexer
// gives each character and what the edit control reports by StyleAt.
#pragma once

namespace plc {

enum class SourceStyle : int {
    Default = 0,
    Comment,
    Section,    // %P00, %TEXT(...), END
    Label,      // N### as label and as jump target
    Keyword,
    Variable,   // H, M, F, C, Z with their number
    DefName,    // a name declared with DEF
    InOut,      // inputs and outputs (IS0, OE3, ...)
    Number,
    DriveName,  // status flags, drive values and settings
};

}  // namespace plc
