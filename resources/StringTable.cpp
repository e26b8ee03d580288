// SPDX-License-Identifier: GPL-3.0-or-later
// The string table: every user-visible text of the system keyed by its id,
// kept in one array sorted by id so that a look-up is a binary search. The
// messages of the error codes come from the error table (ErrorTable.h).
//
// The texts are those of the message list, the message boxes and the tooltips
// as users know them; they are kept exactly as they stand, spelling and
// spacing included.
#include "resources/StringTable.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "resources/ErrorTable.h"

namespace plc {
namespace {

// The texts other than the error messages.
constexpr StringEntry kTexts[] = {
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

    // Progress and summary lines of compilation, text coding and saving.
    {57728, "PLC, compiling runs..."},
    {57729, "Maximum number of errors of 30 errors exceeded. Syntax check interrupted."},
    {57730, "Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: %1"},
    {57731, "%1 Error. Syntax check ends with error."},
    {57732, "Syntax check ends with error."},
    {57733, "PLC, Text coding..."},
    {57735, "%1 Error. Textcoding of programme sequence ends with error."},
    {57736, "Textcoding - 0 Error (s), 0 Warning(s)."},
    {57737, "Text declaration file was made - "},
    {57738, "Binary programme file was made - "},
    {57739, "; No valid programme or programme head (%P00) found."},
};

// The error messages, from the error table: code n is kIdsErrorBase + n.
constexpr StringEntry kErrorMessages[] = {
#define PLC_ERROR_MESSAGE(name, number, message, advice) {kIdsErrorBase + (number), message},
    PLC_ERROR_CODES(PLC_ERROR_MESSAGE)
#undef PLC_ERROR_MESSAGE
};

// The whole table, sorted by id for the binary search below.
constexpr auto kStrings = [] {
    std::array<StringEntry, std::size(kTexts) + std::size(kErrorMessages)> all{};
    std::copy(std::begin(kErrorMessages), std::end(kErrorMessages),
              std::copy(std::begin(kTexts), std::end(kTexts), all.begin()));
    std::sort(all.begin(), all.end(), [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; });
    return all;
}();

// An id given twice (an error code's and another text's) is a build error.
constexpr bool IsStrictlyAscending(const StringEntry* first, const StringEntry* last) {
    for (const StringEntry* it = first; it != last && it + 1 != last; ++it) {
        if (!(it->id < (it + 1)->id)) {
            return false;
        }
    }
    return true;
}
static_assert(IsStrictlyAscending(kStrings.data(), kStrings.data() + kStrings.size()),
              "string table ids must be strictly ascending");

}  // namespace

const char* FindString(uint32_t id) {
    const StringEntry* end = kStrings.data() + kStrings.size();
    const StringEntry* it = std::lower_bound(
        kStrings.data(), end, id,
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

const StringEntry* StringTableBegin() { return kStrings.data(); }

const StringEntry* StringTableEnd() { return kStrings.data() + kStrings.size(); }

}  // namespace plc
