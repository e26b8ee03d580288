// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileEntries.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/Ascii.h"

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

// A line ends at CR LF, at a bare LF and at a lone CR; the first line end of
// the file is its style, used for the lines a write adds.
ProfileText Split(const std::string& data) {
    ProfileText text;
    size_t pos = 0;
    bool eolKnown = false;
    while (pos < data.size()) {
        const size_t end = std::min(data.find_first_of("\r\n", pos), data.size());
        size_t next = end;
        if (end < data.size()) next = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n' ? end + 2 : end + 1;
        std::string_view content(data.data() + pos, end - pos);
        std::string_view lineEnd(data.data() + end, next - end);
        if (!eolKnown && !lineEnd.empty()) {
            text.eol = std::string(lineEnd);
            eolKnown = true;
        }
        text.lines.push_back(content);
        text.ends.push_back(lineEnd);
        pos = next;
    }
    return text;
}

// True when `out` ends with a line end (lines themselves hold neither CR nor LF).
bool EndsLine(const std::string& out) { return !out.empty() && (out.back() == '\n' || out.back() == '\r'); }

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

// `data` with `key` of `section` set to `value`: the key's line replaced, or
// a line added at the end of its section, or a new section at the end; the
// other lines and the file's own line ends kept.
std::string WithEntry(const std::string& data, std::string_view section, std::string_view key,
                      std::string_view value) {
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
        if (!out.empty() && !EndsLine(out)) out += text.eol;
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
    return out;
}

}  // namespace

std::string ProfileEntries::GetString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    ProfileText text = Split(m_data);
    auto range = FindSection(text, section);
    if (!range) return std::string(defaultValue);
    auto index = FindKey(text, *range, key);
    if (!index) return std::string(defaultValue);
    std::string_view value = Parse(text.lines[*index]).value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.empty()) return std::string(defaultValue);
    return std::string(value);
}

int32_t ProfileEntries::GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const {
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

void ProfileEntries::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string out = WithEntry(m_data, section, key, value);
    if (out == m_data) return;
    m_data = std::move(out);
    m_changed = true;
}

void ProfileEntries::DeleteKey(std::string_view section, std::string_view key) {
    ProfileText text = Split(m_data);
    // Every copy of the key goes, in every section of that name.
    std::vector<SectionRange> ranges;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        ParsedLine line = Parse(text.lines[i]);
        if (!line.isSection || !EqualsIgnoreCase(line.name, section)) continue;
        size_t end = i + 1;
        while (end < text.lines.size() && !Parse(text.lines[end]).isSection) ++end;
        ranges.push_back({i, i + 1, end});
        i = end - 1;
    }
    std::vector<bool> drop(text.lines.size(), false);
    std::vector<bool> emptied(ranges.size(), false);
    bool found = false;
    for (size_t r = 0; r < ranges.size(); ++r) {
        bool empty = true;
        for (size_t i = ranges[r].begin; i < ranges[r].end; ++i) {
            ParsedLine line = Parse(text.lines[i]);
            if (line.hasValue && EqualsIgnoreCase(line.name, key)) {
                drop[i] = found = true;
            } else if (!Trim(text.lines[i]).empty()) {
                empty = false;
            }
        }
        emptied[r] = empty;
    }
    if (!found) return;

    for (size_t r = 0; r < ranges.size(); ++r) {
        if (!emptied[r]) continue;
        // The first section of the name stays, empty, while a later one
        // keeps entries: those must not come into view in its place.
        bool laterKept = false;
        for (size_t k = r + 1; k < ranges.size(); ++k) laterKept = laterKept || !emptied[k];
        if (r == 0 && laterKept) continue;
        // The section goes with one separator: the blank lines after it when
        // another section follows, else the blank line before it.
        const SectionRange& range = ranges[r];
        for (size_t i = range.header; i < range.end; ++i) drop[i] = true;
        const size_t h = range.header;
        if (range.end == text.lines.size() && h > 0 && Trim(text.lines[h - 1]).empty() &&
            (h == 1 || !Trim(text.lines[h - 2]).empty()))
            drop[h - 1] = true;
    }
    std::string out;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        if (drop[i]) continue;
        if (!out.empty() && !EndsLine(out)) out += text.eol;
        out += text.lines[i];
        out += text.ends[i];
    }
    m_data = std::move(out);
    m_changed = true;
}

}  // namespace plc
