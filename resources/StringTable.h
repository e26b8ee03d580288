// SPDX-License-Identifier: GPL-3.0-or-later
// The string table shared by the compiler, the decoder, the editor window,
// its dialogs and the control: every user-visible text keyed by its id.
// Plain C++ so that the core and the widgets read the same texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plc {

// Well-known ids.
inline constexpr uint32_t kIdsErrorBase = 57682;  // compiler message of code n is kIdsErrorBase + n
inline constexpr uint32_t kIdsCompiling = 57728;
inline constexpr uint32_t kIdsTooManyErrors = 57729;
inline constexpr uint32_t kIdsChecksumSummary = 57730;
inline constexpr uint32_t kIdsErrorSummary = 57731;
inline constexpr uint32_t kIdsSyntaxCheckFailed = 57732;
inline constexpr uint32_t kIdsTextCoding = 57733;
inline constexpr uint32_t kIdsTextCodingErrors = 57735;
inline constexpr uint32_t kIdsTextCodingOk = 57736;
inline constexpr uint32_t kIdsNoProgramHead = 57739;
inline constexpr uint32_t kIdsNoProgramCreateBody = 32890;
inline constexpr uint32_t kIdsTodoOwnCode = 32891;
inline constexpr uint32_t kIdsReallyReplaceAll = 32888;
inline constexpr uint32_t kIdsReplaceQuestion = 32889;
inline constexpr uint32_t kIdsFileFilter = 32892;
inline constexpr uint32_t kIdsErrorOpening = 32893;
inline constexpr uint32_t kIdsErrorSaving = 32894;
inline constexpr uint32_t kIdsSaveQuestion = 32895;
inline constexpr uint32_t kIdsSearchCaption = 32896;
inline constexpr uint32_t kIdsConformityCount = 32897;
inline constexpr uint32_t kIdsNotCreated = 32899;
inline constexpr uint32_t kIdsNoProgramFilePath = 32900;
inline constexpr uint32_t kIdsNoDeclFilePath = 32901;
inline constexpr uint32_t kIdsFileCut = 32903;
inline constexpr uint32_t kIdsMaxSize = 32904;
inline constexpr uint32_t kIdsRenumberFailed = 57714;
inline constexpr uint32_t kIdsDeclFileMade = 57737;
inline constexpr uint32_t kIdsBinaryFileMade = 57738;

// The text of a string id, or nullptr when the table has no such id.
const char* FindString(uint32_t id);

// The text of a string id; an empty string when the table has no such id.
std::string LoadString(uint32_t id);

// Loads a string and puts `arg` in place of every "%1" in it.
std::string FormatString(uint32_t id, std::string_view arg);

// Puts `arg` in place of every "%1" in `pattern`.
std::string ReplacePlaceholder(std::string_view pattern, std::string_view arg);

// Every id of the table in ascending order (for tests and the resource listing).
struct StringEntry {
    uint32_t id;
    const char* text;
};
const StringEntry* StringTableBegin();
const StringEntry* StringTableEnd();

}  // namespace plc
