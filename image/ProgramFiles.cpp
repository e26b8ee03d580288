// SPDX-License-Identifier: GPL-3.0-or-later
// The two files of a compiled programme: the binary programme file (the 256
// records as 512 hexadecimal words, read and written) and the text
// declaration file (the variable names, written only).
#include <array>
#include <cctype>
#include <cinttypes>
#include <cstdio>

#include "base/SafeWrite.h"
#include "base/WholeFile.h"
#include "image/PlcProgram.h"
#include "image/TextDeclFile.h"

namespace plc {

namespace {

constexpr int kWordsPerFile = 2 * kRecordCount;  // two words per record
constexpr int kMaxDigits = 8;

// The overwrite question: asked only when wanted and the file exists; no
// answer (no callback) keeps the file.
bool MayWrite(const std::string& fileName, bool askOverwrite, const AskOverwrite& ask) {
    if (!askOverwrite || !FileExists(fileName)) return true;
    return ask && ask(FullPath(fileName));
}

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One white-space separated word of the file while it is being read.
struct Token {
    int line = 0;          // 1-based line on which it starts
    size_t length = 0;
    bool allHex = true;
    bool tooLarge = false;  // value above 32 bits
    uint64_t value = 0;
    std::string shown;     // its first characters, for the message
    static constexpr size_t kShown = 20;

    bool Broken() const { return !allHex || tooLarge || length > static_cast<size_t>(kMaxDigits); }

    void Add(int c) {
        ++length;
        if (shown.size() < kShown) shown.push_back(std::isprint(c) ? static_cast<char>(c) : '?');
        const int digit = HexValue(c);
        if (digit < 0) {
            allHex = false;
            return;
        }
        if (!tooLarge) {
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFu) tooLarge = true;
        }
    }

    // Empty when the word is a valid number; otherwise why it is not.
    std::string Fault() const {
        const std::string quoted = "'" + shown + (length > shown.size() ? "...'" : "'");
        if (!allHex) return "not a hexadecimal number: " + quoted;
        if (tooLarge) return "number does not fit in 32 bits: " + quoted;
        if (length > static_cast<size_t>(kMaxDigits)) return "number has more than 8 digits: " + quoted;
        return {};
    }
};

// Reads exactly 512 hexadecimal words from `file`; on a fault, `why` names
// the line and the reason.
bool ScanWords(std::string_view file, std::array<uint32_t, kWordsPerFile>& words, std::string& why) {
    int line = 1;
    int count = 0;
    Token token;
    bool inToken = false;
    auto finish = [&]() -> bool {
        inToken = false;
        if (count == kWordsPerFile) {
            why = "line " + std::to_string(token.line) + ": more than 512 numbers";
            return false;
        }
        if (std::string fault = token.Fault(); !fault.empty()) {
            why = "line " + std::to_string(token.line) + ": " + fault;
            return false;
        }
        words[static_cast<size_t>(count++)] = static_cast<uint32_t>(token.value);
        return true;
    };
    for (const char byte : file) {
        const int c = static_cast<unsigned char>(byte);
        if (IsSpace(c)) {
            if (inToken && !finish()) return false;
            if (c == '\n') ++line;
            continue;
        }
        if (!inToken) {
            token = Token{};
            token.line = line;
            inToken = true;
        }
        token.Add(c);
        // A word that is already wrong is refused once enough of it is seen
        // to show.
        if (count == kWordsPerFile || (token.Broken() && token.shown.size() >= Token::kShown)) return finish();
    }
    if (inToken && !finish()) return false;
    if (count == 0) {
        why = "holds no numbers; a binary programme file holds 512";
        return false;
    }
    if (count < kWordsPerFile) {
        why = "line " + std::to_string(line) + ": the file ends after " + std::to_string(count) +
              " of 512 numbers";
        return false;
    }
    return true;
}

}  // namespace

int CPlcProgram::WriteBinaryFile(std::string& path, bool askOverwrite, const AskOverwrite& ask,
                                 std::string* errorText) {
    if (path.empty()) return 0;
    const std::string fileName = NormalizeSeparators(path);
    if (!MayWrite(fileName, askOverwrite, ask)) return 0;

    if (!WriteFileSafely(fileName, BinaryFileBytes(), errorText)) return 0;
    path = FullPath(fileName);
    return 1;
}

int CPlcProgram::ReadBinaryFile(const std::string& path, std::string* errorText) {
    auto refuse = [&](const std::string& why) {
        if (errorText != nullptr) *errorText = "'" + path + "': " + why;
        return 0;
    };
    if (path.empty()) return refuse("no file name");
    std::string file;
    const FileRead read = ReadWholeFile(NormalizeSeparators(path), file, {kMaxBinaryFileBytes, false});
    if (!read) return refuse(read.Reason());

    // Everything is checked before the image is touched, so a refused file
    // leaves the image as the caller cleared it.
    std::array<uint32_t, kWordsPerFile> words{};
    std::string why;
    if (!ScanWords(file, words, why)) return refuse(why);

    for (int k = 0; k < kRecordCount; ++k) {
        PlcInstr rec;
        rec.setDword0(words[static_cast<size_t>(2 * k)]);
        rec.setDword4(words[static_cast<size_t>(2 * k + 1)]);
        rec.setUsed(rec.opcode() != 0 ? 1 : 0);
        m_records[static_cast<size_t>(k)] = rec;
    }
    return 1;
}

std::string CPlcProgram::BinaryFileBytes() const {
    // Each record as two little-endian words: bytes 0 to 3, then 4 to 7.
    std::string bytes;
    bytes.reserve(kWordsPerFile * 10);
    char line[16];
    for (const PlcInstr& rec : m_records) {
        for (const uint32_t word : {rec.dword0(), rec.dword4()}) {
            std::snprintf(line, sizeof line, "%08" PRIx32 "\r\n", word);
            bytes += line;
        }
    }
    return bytes;
}

std::string CPlcProgram::TextDeclFileName(std::string_view directory) const {
    return m_programName.empty() ? std::string() : JoinPath(directory, m_programName + ".txt");
}

int CPlcProgram::WriteTextDeclFile(std::string& directory, bool askOverwrite, const AskOverwrite& ask,
                                   std::string* errorText) {
    if (m_programName.empty()) return 0;
    const std::string fileName = TextDeclFileName(directory);
    if (!MayWrite(fileName, askOverwrite, ask)) return 0;
    if (!WriteFileSafely(fileName, TextDeclFileBytes(), errorText)) return 0;
    directory = FullPath(fileName);
    return 1;
}

std::string CPlcProgram::TextDeclFileBytes() const {
    // One section a family that has names, "[PLC_C]" to "[PLC_Z]".
    std::string bytes;
    for (const VarFamily& family : kVarFamilies) {
        bool headerWritten = false;
        for (int n = 0; n < family.count; ++n) {
            const std::string& name = Name(family.kind, n);
            if (name.empty()) continue;
            if (!headerWritten) {
                bytes += DeclSectionHeader(family.kind) + "\r\n";
                headerWritten = true;
            }
            bytes += std::to_string(n) + ": " + name + "\r\n";
        }
    }
    return bytes;
}

}  // namespace plc
