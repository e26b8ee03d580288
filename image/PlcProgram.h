// The programme object: the compiled image of one PLC programme (256
// instruction records and five name tables) with the section state of the
// compilation that fills it, and every operation on the image.
//
// One class, its members spread over the folders of their subsystem:
//   image/     construction, Clear, checksum, programme head, files, renumbering
//   compiler/  scanners, CompileLine, ParseLine and the statement compilers
//   decoder/   DecodeRecord, DecodeNextRecord, GetIoName
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "image/PlcInstr.h"
#include "image/VarFamilies.h"

namespace plc {

class ParseCursor;

inline constexpr int kRecordCount = 256;
inline constexpr int kEntryRecord = 0;
inline constexpr int kEndRecord = 255;
inline constexpr int kFirstLabel = 1;
inline constexpr int kLastLabel = 254;
inline constexpr int kMaxNameLength = 32;

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

    // ---- compiler (compiler/) ----
    // Compiles one source line whose comment is already cut off. `lineIndex`
    // is the 0-based line in the text; on failure it holds the line to report.
    bool CompileLine(std::string_view text, int32_t& lineIndex, int32_t& error);
    // After CompileLine failed: the 1-based column in its text of the
    // character where the fault was found; 0 when unknown (faults found at the
    // programme's END for other lines, overlong lines).
    int32_t ErrorColumn() const { return m_errorColumn; }
    // Compiles one line stripped of blanks, tabs and line breaks; returns the
    // error code (0 on success).
    int ParseLine(std::string_view line, int32_t& lineIndex);

    // Operand scanners over the two working copies of a line.
    static bool ScanByte(ParseCursor& cur, uint8_t& value, double lo, double hi);
    static bool ScanWord(ParseCursor& cur, uint16_t& value, double lo, double hi);
    static bool ScanDword(ParseCursor& cur, uint32_t& value, double lo, double hi);
    static bool ScanInt(ParseCursor& cur, int32_t& value, double lo, double hi);
    static bool ScanFloat(ParseCursor& cur, uint32_t& swappedBits, double lo, double hi);
    static bool ScanName(ParseCursor& cur, std::string& name);

    // ---- decoder (decoder/) ----
    // Renders record `index` as canonical text; nonzero when it is a valid
    // statement or a reserved-command comment, 0 when undecodable.
    int DecodeRecord(std::string& text, int index) const;
    // The record iterator for listings: nonzero while it delivers a record.
    int DecodeNextRecord(std::string& text, int32_t& line, int32_t& error);
    // Name of an input (isInput) or output number; "???ERR" and 0 when unnamed.
    static int GetIoName(bool isInput, uint8_t number, std::string& name);

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
    int Renumber(int32_t& error);

private:
    int ParseProgramLine(ParseCursor& cur, int32_t& lineIndex);
    int ParseTextLine(ParseCursor& cur);
    int ParseOutsideLine(ParseCursor& cur);
    int FinishProgram(int32_t& lineIndex);
    // ParseLine over the line's upper-case copy and the line itself; `failPos`
    // receives where in the line the parse stopped.
    int ParseStripped(std::string_view upper, std::string_view original, int32_t& lineIndex, size_t& failPos);

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
