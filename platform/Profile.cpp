#include "platform/Profile.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "image/Ascii.h"
#include "platform/SafeFile.h"

namespace plc {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}


// One line of the file, split where it matters.
struct ParsedLine {
    std::string_view raw;      // without its line end
    bool isSection = false;
    std::string_view name;     // section or key name
    bool hasValue = false;
    std::string_view value;    // trimmed, quotes still on
};

ParsedLine Parse(std::string_view raw) {
    ParsedLine line;
    line.raw = raw;
    std::string_view t = Trim(raw);
    if (!t.empty() && t.front() == '[') {
        size_t close = t.find(']');
        line.isSection = true;
        line.name = Trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1));
        return line;
    }
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return line;
    line.name = Trim(t.substr(0, eq));
    line.hasValue = true;
    line.value = Trim(t.substr(eq + 1));
    return line;
}

// The file as lines, each with the line end that followed it.
struct ProfileText {
    std::vector<std::string_view> lines;
    std::vector<std::string_view> ends;
    std::string eol = "\r\n";  // for lines that are added
};

ProfileText Split(const std::string& data) {
    ProfileText text;
    size_t pos = 0;
    bool eolKnown = false;
    while (pos < data.size()) {
        size_t lf = data.find('\n', pos);
        size_t end = lf == std::string::npos ? data.size() : lf;
        size_t contentEnd = (end > pos && data[end - 1] == '\r') ? end - 1 : end;
        std::string_view content(data.data() + pos, contentEnd - pos);
        std::string_view lineEnd(data.data() + contentEnd,
                                 (lf == std::string::npos ? end : lf + 1) - contentEnd);
        if (!eolKnown && !lineEnd.empty()) {
            text.eol = std::string(lineEnd);
            eolKnown = true;
        }
        text.lines.push_back(content);
        text.ends.push_back(lineEnd);
        pos = lf == std::string::npos ? data.size() : lf + 1;
    }
    return text;
}

// Index range [begin, end) of the body of the first section named `section`.
struct SectionRange {
    size_t header;
    size_t begin;
    size_t end;
};

std::optional<SectionRange> FindSection(const ProfileText& text, std::string_view section) {
    for (size_t i = 0; i < text.lines.size(); ++i) {
        ParsedLine line = Parse(text.lines[i]);
        if (!line.isSection || !EqualsIgnoreCase(line.name, section)) continue;
        size_t end = i + 1;
        while (end < text.lines.size() && !Parse(text.lines[end]).isSection) ++end;
        return SectionRange{i, i + 1, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const ProfileText& text, const SectionRange& range,
                              std::string_view key) {
    for (size_t i = range.begin; i < range.end; ++i) {
        ParsedLine line = Parse(text.lines[i]);
        if (line.hasValue && EqualsIgnoreCase(line.name, key)) return i;
    }
    return std::nullopt;
}

}  // namespace

Profile::Profile(std::string path) : m_path(std::move(path)) {}

std::string Profile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    std::string data;
    if (!ReadWholeFile(m_path, data)) return std::string(defaultValue);
    ProfileText text = Split(data);
    auto range = FindSection(text, section);
    if (!range) return std::string(defaultValue);
    auto index = FindKey(text, *range, key);
    if (!index) return std::string(defaultValue);
    std::string_view value = Parse(text.lines[*index]).value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.empty()) return std::string(defaultValue);
    return std::string(value);
}

int32_t Profile::GetInt(std::string_view section, std::string_view key,
                        int32_t defaultValue) const {
    std::string value = GetString(section, key, "");
    if (value.empty()) return defaultValue;
    size_t i = 0;
    bool negative = false;
    if (value[i] == '+' || value[i] == '-') negative = value[i++] == '-';
    int64_t n = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > INT64_C(0xFFFFFFFF)) n = INT64_C(0xFFFFFFFF);
    }
    // The value wraps to 32 bits as the system's unsigned result does.
    uint32_t bits = static_cast<uint32_t>(negative ? -n : n);
    return static_cast<int32_t>(bits);
}

bool Profile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) const {
    std::string data;
    ReadWholeFile(m_path, data);  // a missing file is created
    ProfileText text = Split(data);
    std::string out;
    auto appendLines = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            out += text.lines[i];
            // A last line without line end gets one when something follows it.
            out += text.ends[i].empty() && i + 1 < text.lines.size() ? std::string_view(text.eol)
                                                                     : text.ends[i];
        }
    };
    auto endLastLine = [&]() {
        if (!out.empty() && out.back() != '\n') out += text.eol;
    };

    auto range = FindSection(text, section);
    if (!range) {
        appendLines(0, text.lines.size());
        endLastLine();
        if (!out.empty() && !Trim(text.lines.back()).empty()) out += text.eol;
        out += "[";
        out += section;
        out += "]" + text.eol;
        out += key;
        out += "=";
        out += value;
        out += text.eol;
    } else if (auto index = FindKey(text, *range, key)) {
        appendLines(0, *index);
        ParsedLine line = Parse(text.lines[*index]);
        out += line.name;
        out += "=";
        out += value;
        out += text.ends[*index].empty() ? std::string_view(text.eol) : text.ends[*index];
        appendLines(*index + 1, text.lines.size());
    } else {
        // After the last non-blank line of the section.
        size_t insertAt = range->end;
        while (insertAt > range->begin && Trim(text.lines[insertAt - 1]).empty()) --insertAt;
        appendLines(0, insertAt);
        endLastLine();
        out += key;
        out += "=";
        out += value;
        out += text.eol;
        appendLines(insertAt, text.lines.size());
    }
    return WriteFileSafely(m_path, out);
}

bool Profile::WriteInt(std::string_view section, std::string_view key, int32_t value) const {
    return WriteString(section, key, std::to_string(value));
}

bool Profile::DeleteKey(std::string_view section, std::string_view key) const {
    std::string data;
    if (!ReadWholeFile(m_path, data)) {
        std::error_code error;
        return !std::filesystem::exists(m_path, error) && !error;
    }
    ProfileText text = Split(data);
    auto range = FindSection(text, section);
    if (!range) return true;
    auto index = FindKey(text, *range, key);
    if (!index) return true;
    std::vector<bool> drop(text.lines.size(), false);
    drop[*index] = true;
    bool sectionEmpty = true;
    for (size_t i = range->begin; i < range->end; ++i)
        if (i != *index && !Trim(text.lines[i]).empty()) sectionEmpty = false;
    if (sectionEmpty) {
        // The section goes with one separator: the blank lines after it when
        // another section follows, else the blank line before it.
        for (size_t i = range->header; i < range->end; ++i) drop[i] = true;
        const size_t h = range->header;
        if (range->end == text.lines.size() && h > 0 && Trim(text.lines[h - 1]).empty() &&
            (h == 1 || !Trim(text.lines[h - 2]).empty()))
            drop[h - 1] = true;
    }
    std::string out;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        if (drop[i]) continue;
        if (!out.empty() && out.back() != '\n') out += text.eol;
        out += text.lines[i];
        out += text.ends[i];
    }
    return WriteFileSafely(m_path, out);
}

}  // namespace plc
