// SPDX-License-Identifier: GPL-3.0-or-later
// Completion: what the line compiler accepts at the caret — section heads
// outside the sections, DEF and END in the text declaration, the statement
// forms of the keyword chain after a label, labels after a jump or call, and
// the variables, inputs, outputs, status flags and drive values that the
// keyword's forms take. The line's structure (its label, its keyword) comes
// from the source facts; only the word being typed is read here.
#include <algorithm>
#include <cstdio>
#include <set>

#include "base/Ascii.h"
#include "compiler/Assist.h"
#include "compiler/Statements.h"
#include "compiler/StatementForms.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

constexpr std::string_view kEnd = Word(SectionWord::End);

// The text typed from `start` to the caret without blanks, upper-cased, with
// the column of each of its characters.
struct Typed {
    Typed(std::string_view line, int32_t start, int32_t caret) : caret(caret) {
        for (int32_t c = start; c < caret; ++c) {
            const char ch = line[static_cast<size_t>(c)];
            if (ch == ' ' || ch == '\t') continue;
            text.push_back(AsciiUpper(ch));
            columns.push_back(c);
        }
    }
    int32_t ColumnOf(size_t at) const { return at < columns.size() ? columns[at] : caret; }
    int32_t First() const { return ColumnOf(0); }
    bool EndsWith(std::string_view end) const { return std::string_view(text).ends_with(end); }

    int32_t caret;
    std::string text;
    std::vector<int32_t> columns;
};

class Items {
public:
    // `alias` is a second text that selects the item (a variable's DEF name).
    void Add(CompletionItem item, std::string alias = {}) {
        if (!m_seen.insert(item.label).second) return;
        item.filter = alias.empty() ? item.insert : item.insert + " " + alias;
        m_aliases.push_back(AsciiUpper(alias));
        m_items.push_back(std::move(item));
    }
    void Add(std::string text, CompletionKind kind, std::string detail, Topic topic, std::string alias = {}) {
        CompletionItem item;
        item.label = text;
        item.insert = std::move(text);
        item.kind = kind;
        item.detail = std::move(detail);
        item.topic = std::move(topic);
        Add(std::move(item), std::move(alias));
    }

    // The items that go on from the typed word [from, caret): `from` moves
    // right from the start of the word until some item goes on from it, so
    // that a word begun inside the keyword ("SETH" before H005) is split
    // where the operand starts.
    Completions TakeFrom(std::string_view line, int32_t wordStart, int32_t caret) {
        for (int32_t from = wordStart; from <= caret; ++from) {
            const std::string typed = AsciiUpper(line.substr(static_cast<size_t>(from), static_cast<size_t>(caret - from)));
            std::vector<CompletionItem> kept;
            for (size_t i = 0; i < m_items.size(); ++i) {
                if (AsciiUpper(m_items[i].insert).starts_with(typed) || (!m_aliases[i].empty() && m_aliases[i].starts_with(typed)))
                    kept.push_back(m_items[i]);
            }
            if (!kept.empty() || from == caret) return {from, caret, std::move(kept)};
        }
        return {caret, caret, {}};
    }
    // Every item, replacing [from, caret).
    Completions TakeAll(int32_t from, int32_t caret) { return {from, caret, std::move(m_items)}; }

private:
    std::set<std::string> m_seen;
    std::vector<CompletionItem> m_items;
    std::vector<std::string> m_aliases;
};

// The section kind around `line`: 0 outside, 1 text declaration, 2 programme.
// A section's END line belongs to it.
int SectionAt(const ProgramIndex& index, int32_t line) {
    for (const IndexSection& s : index.Sections()) {
        if (line > s.headLine && (s.endLine < 0 || line <= s.endLine)) return s.kind == SectionKind::Text ? 1 : 2;
    }
    return 0;
}

Topic NameTopic(TopicKind kind, std::string name) { return {kind, {}, std::move(name)}; }

void AddVariables(Items& items, const ProgramIndex& index, VarKind kind) {
    const VarFamily& family = FamilyOf(kind);
    for (const Declaration& d : index.Declarations()) {
        if (d.var != kind || index.FindDeclaration(d.var, d.index) != &d) continue;
        const std::string name = VariableName(kind, d.index);
        items.Add(name, CompletionKind::Variable, d.name, {TopicKind::Variable, std::string(1, family.letter), name},
                  d.name);
    }
    char range[64];
    std::snprintf(range, sizeof range, "%s %c000 to %c%03d", family.what, family.letter, family.letter,
                  family.count - 1);
    items.Add(std::string(1, family.letter), CompletionKind::Variable, range,
              {TopicKind::Variable, std::string(1, family.letter), {}});
}

void AddNames(Items& items, const char* (*name)(uint8_t), CompletionKind kind, const char* what, TopicKind topic) {
    for (int n = 0; n < 256; ++n) {
        const char* text = name(static_cast<uint8_t>(n));
        if (text == nullptr) break;
        items.Add(text, kind, std::string(what) + " " + std::to_string(n), NameTopic(topic, text));
    }
}

// The operands that the forms of keyword row `row` take.
void AddOperands(Items& items, const ProgramIndex& index, size_t row) {
    std::set<Dom> domains;
    for (const StatementForm& f : KeywordForms(row)) {
        for (const Operand& op : f.variant->args) domains.insert(op.dom);
    }
    const bool jump = KeywordChain()[row].family == StatementFamily::Jumps;
    for (const Dom dom : domains) {
        if (const VarFamily* family = FamilyOfDomain(dom)) {
            AddVariables(items, index, family->kind);
            continue;
        }
        switch (dom) {
            case Dom::Input: AddNames(items, InputName, CompletionKind::Input, "input", TopicKind::Input); break;
            case Dom::Output: AddNames(items, OutputName, CompletionKind::Output, "output", TopicKind::Output); break;
            case Dom::Status:
                for (int n = 0; n < kStatusCount; ++n) {
                    if (jump && n == kStatusWoti) continue;  // only the flag assignment takes it
                    const char* name = StatusName(static_cast<uint8_t>(n));
                    items.Add(name, CompletionKind::Status, "status flag " + std::to_string(n),
                              NameTopic(TopicKind::Status, name));
                }
                break;
            case Dom::DriveValF:
            case Dom::DriveValH:
                AddNames(items, DomainOf(dom).name, CompletionKind::Input, "drive value", TopicKind::DriveValue);
                break;
            default: break;
        }
    }
}

// The keyword of a row that takes its label right after it, without the
// label's N: "JMP" of "JMPN".
std::string_view VerbOf(const KeywordRow& row) { return row.keyword.substr(0, row.keyword.size() - 1); }

// Labels as jump or call targets; `prefix` is written before each ("JMP ").
void AddLabels(Items& items, const ProgramIndex& index, bool withEnd, const std::string& prefix) {
    for (const LabelLine& l : index.Labels()) {
        const std::string name = LabelText(l.label);
        CompletionItem item;
        item.label = name;
        item.insert = prefix + name;
        item.kind = CompletionKind::Label;
        item.detail = l.statement;
        item.topic = NameTopic(TopicKind::Label, name);
        items.Add(std::move(item));
    }
    if (withEnd) {
        items.Add(prefix + std::string(kEnd), CompletionKind::Label, "end of the programme",
                  NameTopic(TopicKind::Section, std::string(kEnd)));
    }
}

// The statement forms of the keyword rows that begin with `typed`.
void AddForms(Items& items, std::string_view typed) {
    const std::span<const KeywordRow> chain = KeywordChain();
    for (size_t r = 0; r < chain.size(); ++r) {
        if (!chain[r].keyword.starts_with(typed)) continue;
        for (const StatementForm& f : KeywordForms(r)) {
            CompletionItem item;
            item.label = f.text;
            item.insert = FormHead(f);
            item.snippet = FormSnippet(f);
            if (item.snippet == item.insert) item.snippet.clear();
            item.kind = CompletionKind::Keyword;
            item.detail = "opcode " + std::to_string(f.row->opcode);
            item.topic = {TopicKind::Statement, FormWord(f.text), item.insert};
            items.Add(std::move(item));
        }
    }
}

Completions Outside(const Typed& typed) {
    Items items;
    for (const std::string_view head : {Word(SectionWord::TextHead), Word(SectionWord::ProgramHead)}) {
        const std::string text = head == Word(SectionWord::TextHead) ? std::string(head) + "(" : std::string(head);
        if (text.starts_with(typed.text))
            items.Add(text, CompletionKind::Section, "section head", NameTopic(TopicKind::Section, std::string(head)));
    }
    return items.TakeAll(typed.First(), typed.caret);
}

Completions InDeclaration(const Typed& typed) {
    Items items;
    const std::string_view def = Word(SectionWord::Def);
    if (typed.text.size() <= def.size()) {
        for (const std::string_view word : {def, kEnd}) {
            if (word.starts_with(typed.text))
                items.Add(std::string(word), CompletionKind::Keyword, {}, NameTopic(TopicKind::Section, std::string(word)));
        }
        return items.TakeAll(typed.First(), typed.caret);
    }
    if (typed.text.size() == def.size() + 1 && typed.text.starts_with(def)) {
        for (const VarFamily& family : kVarFamilies) {
            items.Add(std::string(1, family.letter), CompletionKind::Variable, family.what,
                      {TopicKind::Variable, std::string(1, family.letter), {}});
        }
        return items.TakeAll(typed.ColumnOf(def.size()), typed.caret);
    }
    return {typed.caret, typed.caret, {}};
}

}  // namespace

Completions CompleteAt(const ProgramIndex& index, std::string_view lineText, int32_t line, int32_t column) {
    const auto caret = static_cast<int32_t>(std::clamp<int64_t>(column, 0, static_cast<int64_t>(lineText.size())));
    const std::string_view before = lineText.substr(0, static_cast<size_t>(caret));
    if (before.find(';') != std::string_view::npos) return {caret, caret, {}};

    switch (SectionAt(index, line)) {
        case 0: return Outside(Typed(lineText, 0, caret));
        case 1: return InDeclaration(Typed(lineText, 0, caret));
        default: break;
    }

    // Inside the programme: a label, then a keyword, then its operands.
    const Token* label = index.FindOnLine(line, TokenKind::LabelDef);
    if (label == nullptr) {
        const Typed typed(lineText, 0, caret);
        Items items;
        if (kEnd.starts_with(typed.text))
            items.Add(std::string(kEnd), CompletionKind::Keyword, "end of the programme",
                      NameTopic(TopicKind::Section, std::string(kEnd)));
        return items.TakeAll(typed.First(), caret);
    }
    const int32_t labelEnd = label->column + label->length;
    if (caret <= labelEnd) return {caret, caret, {}};  // still writing the label
    const Typed typed(lineText, labelEnd, caret);
    const std::string& rest = typed.text;

    // The keyword, when the caret is past it: the chain matches prefixes,
    // so the line's keyword is also the keyword of the text before the caret.
    // While that text may still become another keyword, the statement forms;
    // "JMP" and "CALL" also take a label straight away, and once a blank
    // follows them the labels are what is written next: they come first.
    const Token* keyword = index.FindOnLine(line, TokenKind::Keyword);
    const int row = keyword != nullptr && caret >= keyword->column + keyword->length ? keyword->keywordRow : -1;
    const std::span<const KeywordRow> chain = KeywordChain();
    const auto longer = std::count_if(chain.begin(), chain.end(),
                                      [&rest](const KeywordRow& k) { return k.keyword.starts_with(rest); });
    if (row < 0 || longer > 1) {
        const char last = lineText[static_cast<size_t>(caret - 1)];
        const bool targetNext = last == ' ' || last == '\t';
        Items items;
        const auto addTargets = [&] {
            for (const KeywordRow& k : chain) {
                if (k.labelFollows && rest == VerbOf(k)) AddLabels(items, index, false, rest + " ");
            }
        };
        if (targetNext) addTargets();
        AddForms(items, rest);
        if (!targetNext) addTargets();
        return items.TakeAll(typed.First(), caret);
    }

    // Labels after JMP N, CALL N or a condition's ")", END after ")".
    Items items;
    size_t digits = rest.size();
    while (digits > 0 && AsciiDigit(rest[digits - 1])) --digits;
    const std::string_view head = std::string_view(rest).substr(0, digits);
    const bool labelNext = std::any_of(chain.begin(), chain.end(), [head](const KeywordRow& k) {
        return k.labelFollows && head.ends_with(k.keyword);
    });
    if (labelNext || head.ends_with(")N")) {
        AddLabels(items, index, false, {});
        return items.TakeAll(typed.ColumnOf(digits - 1), caret);
    }
    if (digits == rest.size() && typed.EndsWith(")")) {
        AddLabels(items, index, true, {});
        return items.TakeAll(caret, caret);
    }
    if (typed.EndsWith(")E") || typed.EndsWith(")EN")) {
        AddLabels(items, index, true, {});
        return items.TakeFrom(lineText, typed.ColumnOf(rest.rfind('E')), caret);
    }

    // An operand: the word being typed, which may begin inside the keyword
    // ("SET H" before the digits of H005).
    AddOperands(items, index, static_cast<size_t>(row));
    int32_t wordStart = caret;
    while (wordStart > labelEnd && AsciiWordChar(lineText[static_cast<size_t>(wordStart - 1)])) --wordStart;
    return items.TakeFrom(lineText, wordStart, caret);
}

}  // namespace plc
