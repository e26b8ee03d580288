// SPDX-License-Identifier: GPL-3.0-or-later
// The string table: every user-visible text of the system keyed by its id,
// kept in one array sorted by id so that a look-up is a binary search.
//
// The texts are those of the message list, the message boxes and the tooltips
// as users know them; they are kept exactly as they stand, spelling and
// spacing included.
#include "resources/StringTable.h"

#include <algorithm>
#include <iterator>

namespace plc {
namespace {

constexpr StringEntry kStrings[] = {
    // Names under which the control and its property page register.
    {1, "Torvix Control"},
    {2, "Torvix Property Page"},
    {200, "General"},

    // Tooltips of the toolbar: command id 32768 + n is the tooltip of button n.
    {32768, "New"},
    {32769, "Open"},
    {32770, "Save"},
    {32771, "Cut"},
    {32772, "Copy"},
    {32773, "Paste"},
    {32774, "Undo"},
    {32775, "Search/Replace"},
    {32776, "Print"},
    {32777, "Help"},
    {32778, "Check syntax"},
    {32779, "Renum"},
    {32780, "Simulate"},
    {32781, "Read PLC programme from file (device setting)"},
    {32782, "Save PLC programme in file (device setting)"},
    {32783, "Read PLC programme from device"},
    {32784, "Save PLC programme in device"},

    // Questions, file messages and the texts of the editor window's dialogs.
    {32888, "Really replace in the whole document ?"},
    {32889, "Replace '%1' with '%2'."},
    {32890, "No programme available.\nNow create programme body ?"},
    {32891, "TODO: Insert own programme code here"},
    {32892, "PLC-Programme (*.plc)|*.plc|all files (*.*)|*.*|"},
    {32893, "Error at opening of\n"},
    {32894, "Error at saving of\n"},
    {32895, "Do you like to save the changed process programme ?"},
    {32896, "Search/Replace"},
    {32897, "Conformity found/replaced."},
    {32898, " already exists.\nWould you like to replace ist?"},
    {32899, " could not be created."},
    {32900, "No valied path data found for programme file."},
    {32901, "No valied path data found for text declaration file."},
    {32902, "Values of margins are out of the value range (0..100).\n Please correct setting."},
    {32903, "Due to its size file cannot be opened completely!"},
    {32904, "Max. size of document is reached.\nSave and reduce size of document before datas are lost."},
    {32905, "Not enough working memory for this application."},

    // Error messages: code n is kIdsErrorBase + n; "%1" takes the entry prefix
    // "  LINE(nnn): ERR(nn) -". Codes 32 and 33 are used by renumbering and
    // text coding.
    {57682, "%1 Translate the programme without error."},
    {57683, "%1 Unknown command or missing comment character. Programme line does not start with a lable (Nxxx) or an END-assignation."},
    {57684, "%1 lines or variable texts too long or end of programme line cannot be found. Probably a comment character ';' is missing."},
    {57685, "%1 Internal error of interpreter."},
    {57686, "%1 Error at lable adressing (Nxxx)."},
    {57687, "%1 Unexpected assignation or unknown command."},
    {57688, "%1 Faulty jump destination. Example: JMP (...) Nxxx; JMP (...) END."},
    {57689, "%1 Label (Nxxx) is already used in programme."},
    {57690, "%1 Error at reading the programme line."},
    {57691, "%1 Missing END-assignation of programme % P00 ... END."},
    {57692, "%1 Error at name % TEXT(NAME), DEF .. = NAME. No name found, name contains special characters."},
    {57693, "%1 Error at name % TEXT(NAME), DEF .. = NAME. Name too long (max. 32 characters)."},
    {57694, "%1 No or faulty programme head % P00 or Text declaration head  % TEXT(Name) found."},
    {57695, "%1 Unknown command during text definition ! Example for definition: DEF Hxx = Name_of_Hxx."},
    {57696, "%1 Text definition % TEXT(Name) already made."},
    {57697, "%1 Faulty Counter-Number (Cxxx)."},
    {57698, "%1 Faulty Float-Number (Fxxx)."},
    {57699, "%1 Faulty Integer-Number (Hxxx)."},
    {57700, "%1 Faulty Flag-Number (Mxxx)."},
    {57701, "%1 Faulty Timer-Number (Zxxx)."},
    {57702, "%1 Unknown variable ! No variable type integer Hxxx, Float Fxxx, Flag Mxxx, Timer Zxxx or Counter Cxxx."},
    {57703, "%1 Faulty Set-Operator."},
    {57704, "%1 Programme definition % P00 is already defined."},
    {57705, "%1 Missing END-assignation of Text declaration % TEXT(Name) ...END."},
    {57706, "%1 No programme % P00 ... END found."},
    {57707, "%1 Faulty number of used input/output."},
    {57708, "%1 Faulty set value."},
    {57709, "%1 Missing bracket ']' at end of print."},
    {57710, "%1 Faulty benchmark figure. Jumps can only be made to Null or unlike Null. Example: JMP( Hxxx = 0 ) Nyyy; JMP( Fxxx != 0.0 ) Nyyy."},
    {57711, "%1 Internal error: no following address found."},
    {57712, "%1 Jump destination JMP (...) Nxxx not available."},
    {57713, "%1 Command sequence not in rising raw. Probably wrong name of lable."},
    // Shown in a message box only, hence without the prefix placeholder.
    {57714, "Error at new-numbering of programme sequence."},
    {57715, "%1 Error at text coding of programme sequence."},
    {57716, "%1 Unknown GO-command (GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx, GO 0)."},

    // Progress and summary lines of compilation, text coding and saving.
    {57728, "PLC, compiling runs..."},
    {57729, "Maximum number of errors of 30 errors exceeded. Syntax check interrupted."},
    {57730, "Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: %1"},
    {57731, "%1 Error. Syntax check ends with error."},
    {57732, "Syntax check ends with error."},
    {57733, "PLC, Text coding..."},
    {57734, "%1 Programme line cannot be replaced."},
    {57735, "%1 Error. Textcoding of programme sequence ends with error."},
    {57736, "Textcoding - 0 Error (s), 0 Warning(s)."},
    {57737, "Text declaration file was made - "},
    {57738, "Binary programme file was made - "},
    {57739, "; No valid programme or programme head (%P00) found."},
};

// The binary search below relies on this order; a misplaced entry is a build error.
constexpr bool IsStrictlyAscending(const StringEntry* first, const StringEntry* last) {
    for (const StringEntry* it = first; it != last && it + 1 != last; ++it) {
        if (!(it->id < (it + 1)->id)) {
            return false;
        }
    }
    return true;
}
static_assert(IsStrictlyAscending(std::begin(kStrings), std::end(kStrings)),
              "string table ids must be strictly ascending");

}  // namespace

const char* FindString(uint32_t id) {
    const StringEntry* end = std::end(kStrings);
    const StringEntry* it = std::lower_bound(
        std::begin(kStrings), end, id,
        [](const StringEntry& entry, uint32_t key) { return entry.id < key; });
    if (it == end || it->id != id) {
        return nullptr;
    }
    return it->text;
}

std::string LoadString(uint32_t id) {
    const char* text = FindString(id);
    return text != nullptr ? std::string(text) : std::string();
}

std::string FormatString(uint32_t id, std::string_view arg) {
    const char* text = FindString(id);
    if (text == nullptr) {
        return std::string();
    }
    return ReplacePlaceholder(text, arg);
}

std::string ReplacePlaceholder(std::string_view pattern, std::string_view arg) {
    // One pass over the pattern: an argument that itself contains "%1" (a file
    // name, a search text) is copied as it is and never expanded again.
    static constexpr std::string_view kPlaceholder = "%1";
    std::string result;
    result.reserve(pattern.size() + arg.size());
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const std::size_t hit = pattern.find(kPlaceholder, pos);
        if (hit == std::string_view::npos) {
            result.append(pattern.substr(pos));
            break;
        }
        result.append(pattern.substr(pos, hit - pos));
        result.append(arg);
        pos = hit + kPlaceholder.size();
    }
    return result;
}

const StringEntry* StringTableBegin() { return std::begin(kStrings); }

const StringEntry* StringTableEnd() { return std::end(kStrings); }

}  // namespace plc
