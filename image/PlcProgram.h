// SPDX-License-Identifier: GPL-3.0-or-later
// The programme object: the compiled image of one PLC programme (256
// instruction records and the name tables of the variable families), the
// state of the compilation that fills it, and the image's own operations:
// clearing, checksum, programme head, files and renumbering. Compiling is
// the compiler's (compiler/LineCompiler.h, CompileDriver.h), decoding the
// decoder's (decoder/DecodeRecord.h); both work on this object.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "image/PlcInstr.h"
#include "image/VarFamilies.h"

namespace plc {

inline constexpr int kRecordCount = 256;
inline constexpr int kEntryRecord = 0;
inline constexpr int kEndRecord = 255;
inline constexpr int kFirstLabel = 1;
inline constexpr int kLastLabel = 254;
inline constexpr int kMaxNameLength = 32;
// A binary programme file holds 512 words of ten bytes; one larger than this
// is no binary programme file and is refused unread.
inline constexpr size_t kMaxBinaryFileBytes = size_t{1} << 20;

// Section state while compiling.
enum : uint8_t { kOutsideSection = 0, kInTextSection = 1, kInProgramSection = 2 };

// Asked before an existing file is replaced; true means "replace it".
using AskOverwrite = std::function<bool(const std::string& fullPath)>;

class CPlcProgram {
public:
    CPlcProgram();

    // ---- image (image/PlcProgram.cpp) ----
    void Clear();
    void ComputeChecksum(uint32_t& xorSum, uint32_t& addSum) const;
    bool IsInProgramSection() const { return m_sectionState == kInProgramSection; }
    bool IsInTextSection() const { return m_sectionState == kInTextSection; }
    int32_t IsProgramEnded() const { return m_programEnded; }
    int32_t IsTextDeclared() const { return m_textDeclared; }
    std::string GetProgramName() const { return m_programName; }
    bool HasProgramHead(std::string& text) const;

    uint8_t SectionState() const { return m_sectionState; }
    const PlcInstr& Record(int index) const { return m_records[static_cast<size_t>(index)]; }
    PlcInstr& Record(int index) { return m_records[static_cast<size_t>(index)]; }
    const std::string& Name(VarKind kind, int index) const;
    void SetName(VarKind kind, int index, std::string_view name);

    // ---- the state of the compilation and of the listing ----
    void SetSectionState(uint8_t state) { m_sectionState = state; }
    void SetProgramEnded() { m_programEnded = 1; }
    void SetTextDeclared() { m_textDeclared = 1; }
    void SetProgramName(std::string_view name) { m_programName = name; }
    // After a line failed to compile: the 1-based column in its text of the
    // character where the fault was found; 0 when unknown (faults found at the
    // programme's END for other lines, overlong lines).
    int32_t ErrorColumn() const { return m_errorColumn; }
    void SetErrorColumn(int32_t column) { m_errorColumn = column; }
    // The record the listing's iterator looks at next.
    int32_t DecodePosition() const { return m_decodePos; }
    void SetDecodePosition(int32_t position) { m_decodePos = position; }

    // ---- files and renumbering (image/) ----
    // Writes the binary programme file; on success `path` becomes the full
    // path. `ask` is consulted when askOverwrite is set and the file exists.
    // When the file cannot be written, `errorText` (when given) says why.
    int WriteBinaryFile(std::string& path, bool askOverwrite, const AskOverwrite& ask = {},
                        std::string* errorText = nullptr);
    // Reads a binary programme file into the (cleared) image; on refusal
    // `errorText` says why, naming the file.
    int ReadBinaryFile(const std::string& path, std::string* errorText = nullptr);
    int WriteTextDeclFile(std::string& directory, bool askOverwrite, const AskOverwrite& ask = {},
                          std::string* errorText = nullptr);
    // The bytes of the two files, for writing them together with other files.
    std::string BinaryFileBytes() const;
    std::string TextDeclFileBytes() const;
    // The text declaration file's name in `directory` ("<NAME>.txt"); empty
    // for a programme without a name.
    std::string TextDeclFileName(std::string_view directory) const;
    int Renumber(int32_t& error);

private:
    int32_t m_decodePos = 1;
    int32_t m_errorColumn = 0;
    int32_t m_programEnded = 0;
    int32_t m_textDeclared = 0;
    uint8_t m_sectionState = 0;
    std::string m_programName;
    std::array<PlcInstr, kRecordCount> m_records{};
    std::array<std::string, kNamedVariables> m_names;  // every family's, at its NameSlot
};

}  // namespace plc
