// Completion: what the line compiler accepts at the cursor — section heads
// outside the sections, DEF and END in the text declaration, the statement
// forms of the chain's keywords after a label (in canonical text, as snippets
// where the client takes them), labels after a jump or call, and the variables,
// inputs, outputs and status flags that the keyword's forms take.
#include <cstdio>
#include <set>

#include "apps/plcc/LspDocument.h"
#include "base/Ascii.h"
#include "compiler/Statements.h"
#include "image/SectionWords.h"

namespace plcc::lsp {

namespace {

using plc::SectionWord;
using plc::Word;

// The END that closes a section, and that a jump names as its target.
constexpr std::string_view kEnd = Word(SectionWord::End);

// CompletionItemKind values.
constexpr int kKindKeyword = 14, kKindVariable = 6, kKindReference = 18, kKindEnumMember = 20;

class Items {
public:
    Items(int32_t line, int32_t cursor) : m_line(line), m_cursor(cursor) {}
    // An item shown as `text`; it inserts `insert` (a snippet when `snippet`)
    // or else the text itself. `topic` names what the item belongs to (the
    // statement keyword, the variable family, "label", ...), for help.
    void Add(const std::string& text, int kind, const std::string& detail, int32_t from, const std::string& topic,
             const std::string& insert = {}, bool snippet = false) {
        if (!m_seen.insert(text).second) return;
        json item = {{"label", text},
                     {"kind", kind},
                     {"filterText", text},
                     {"textEdit",
                      {{"range", Range(m_line, from, m_line, m_cursor)}, {"newText", insert.empty() ? text : insert}}},
                     {"data", {{"topic", topic}}}};
        if (snippet) item["insertTextFormat"] = 2;
        if (!detail.empty()) item["detail"] = detail;
        m_list.push_back(std::move(item));
    }
    json Take() { return std::move(m_list); }

private:
    int32_t m_line, m_cursor;
    std::set<std::string> m_seen;
    json m_list = json::array();
};

bool EndsWith(std::string_view s, std::string_view end) { return s.ends_with(end); }

// The section kind around `line`: 0 outside, 1 text declaration, 2 programme.
int SectionAt(const Document& doc, int32_t line) {
    for (const plc::IndexSection& s : doc.index.Sections()) {
        if (line > s.headLine && (s.endLine < 0 || line < s.endLine)) {
            return s.kind == plc::SectionKind::Text ? 1 : 2;
        }
    }
    return 0;
}

void AddVariables(Items& items, const Document& doc, plc::VarKind kind, int32_t from) {
    const char letter = plc::FamilyOf(kind).letter;
    for (const plc::Declaration& d : doc.index.Declarations()) {
        if (d.var != kind || doc.index.FindDeclaration(d.var, d.index) != &d) continue;
        char name[16];
        std::snprintf(name, sizeof name, "%c%03d", letter, d.index);
        items.Add(name, kKindVariable, d.name, from, std::string(1, letter));
    }
    items.Add(std::string(1, letter), kKindVariable, "", from, std::string(1, letter));
}

void AddOperands(Items& items, const Document& doc, size_t keywordRow, int32_t from) {
    std::set<plc::Dom> domains;
    for (const StatementForm& f : KeywordForms(keywordRow)) {
        for (const plc::Operand& op : f.variant->args) domains.insert(op.dom);
    }
    const bool jump = plc::KeywordChain()[keywordRow].keyword.starts_with("JMP");
    for (plc::Dom dom : domains) {
        if (const plc::VarFamily* family = plc::FamilyOfDomain(dom)) {
            AddVariables(items, doc, family->kind, from);
            continue;
        }
        switch (dom) {
            case plc::Dom::Input:
            case plc::Dom::Output:
                for (const plc::IoGroup& g : dom == plc::Dom::Input ? plc::InputGroups() : plc::OutputGroups()) {
                    for (int n = 0; n < g.count; ++n) {
                        items.Add(std::string(g.letters) + std::to_string(n), kKindEnumMember, g.isInput ? "input" : "output",
                                  from, g.isInput ? "input" : "output");
                    }
                }
                break;
            case plc::Dom::Status:
                for (int n = 0; n < plc::kStatusCount; ++n) {
                    if (jump && n == plc::kStatusWoti) continue;  // only the flag assignment takes it
                    items.Add(plc::StatusName(static_cast<uint8_t>(n)), kKindEnumMember, "status flag", from, "status");
                }
                break;
            default: break;
        }
    }
}

void AddLabels(Items& items, const Document& doc, bool withEnd, int32_t from) {
    for (const plc::LabelLine& l : doc.index.Labels()) {
        char name[16];
        std::snprintf(name, sizeof name, "N%03d", l.label);
        items.Add(name, kKindReference, l.statement, from, "label");
    }
    if (withEnd) items.Add(std::string(kEnd), kKindReference, "end of the programme", from, "label");
}

}  // namespace

json Completion(const Document& doc, int32_t line, int32_t column, bool snippets) {
    const std::string_view raw = doc.Line(line);
    const auto cursor = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(std::max(column, 0)), raw.size()));
    const std::string_view before = raw.substr(0, static_cast<size_t>(cursor));
    Items items(line, cursor);
    if (before.find(';') != std::string_view::npos) return items.Take();

    // The blank-free, upper-case text before the cursor, with each character's column.
    std::string up;
    std::vector<int32_t> columns;
    for (size_t c = 0; c < before.size(); ++c) {
        if (before[c] == ' ' || before[c] == '\t') continue;
        up.push_back(plc::AsciiUpper(before[c]));
        columns.push_back(static_cast<int32_t>(c));
    }
    auto columnOf = [&](size_t at) { return at < columns.size() ? columns[at] : cursor; };
    int32_t wordStart = cursor;
    while (wordStart > 0 && (plc::AsciiAlnum(raw[static_cast<size_t>(wordStart - 1)]) ||
                             raw[static_cast<size_t>(wordStart - 1)] == '_')) {
        --wordStart;
    }

    switch (SectionAt(doc, line)) {
        case 0:
            for (const std::string& head :
                 {std::string(Word(SectionWord::TextHead)) + "(", std::string(Word(SectionWord::ProgramHead))}) {
                if (head.starts_with(up)) items.Add(head, kKindKeyword, "section head", columnOf(0), "section");
            }
            return items.Take();
        case 1:
            if (up.size() <= 3) {
                for (const std::string_view word : {Word(SectionWord::Def), kEnd}) {
                    if (word.starts_with(up)) items.Add(std::string(word), kKindKeyword, "", columnOf(0), "section");
                }
            } else if (up.size() == Word(SectionWord::Def).size() + 1 && up.starts_with(Word(SectionWord::Def))) {
                for (const plc::VarFamily& family : plc::kVarFamilies) {
                    items.Add(std::string(1, family.letter), kKindVariable, "", columnOf(3),
                              std::string(1, family.letter));
                }
            }
            return items.Take();
        default: break;
    }

    // Inside the programme: a label, then a keyword, then its operands.
    if (up.empty() || up[0] != 'N') {
        if (kEnd.starts_with(up)) {
            items.Add(std::string(kEnd), kKindKeyword, "end of the programme", columnOf(0), "section");
        }
        return items.Take();
    }
    size_t at = 1;
    while (at < up.size() && plc::AsciiDigit(up[at])) ++at;
    if (at == 1) return items.Take();
    const std::span<const plc::KeywordRow> chain = plc::KeywordChain();
    // The statement forms of the keywords that begin with `typed`, shown and
    // inserted in their canonical text.
    const auto addKeywords = [&](std::string_view typed, int32_t from) {
        for (size_t r = 0; r < chain.size(); ++r) {
            if (!chain[r].keyword.starts_with(typed)) continue;
            const std::string topic(chain[r].keyword);
            for (const StatementForm& f : KeywordForms(r)) {
                const FormStyle style = snippets ? FormStyle::Snippet : FormStyle::UpToFirstOperand;
                items.Add(f.text, kKindKeyword, "opcode " + std::to_string(f.row->opcode), from, topic,
                          FormText(f.variant->text, f.variant->args, style), snippets);
            }
        }
    };
    if (at == up.size()) {
        // A label and a blank: the statement comes next.
        if (!before.empty() && (before.back() == ' ' || before.back() == '\t')) addKeywords("", cursor);
        return items.Take();  // else still writing the label
    }
    const std::string_view rest = std::string_view(up).substr(at);
    const int row = plc::MatchKeyword(rest);
    if (row < 0) {
        // "JMP" and "CALL" before the target's "N" is written.
        if (rest == "JMP" || rest == "CALL") AddLabels(items, doc, false, cursor);
        addKeywords(rest, columnOf(at));
        return items.Take();
    }

    // Labels after JMP, CALL or a condition's ")".
    size_t n = up.size();
    while (n > at && plc::AsciiDigit(up[n - 1])) --n;
    const std::string_view head = std::string_view(up).substr(0, n);
    if (EndsWith(head, "JMPN") || EndsWith(head, "CALLN") || EndsWith(head, ")N")) {
        AddLabels(items, doc, false, columnOf(n - 1));
        return items.Take();
    }
    if (n == up.size() && (EndsWith(up, "JMP") || EndsWith(up, "CALL") || EndsWith(up, ")"))) {
        AddLabels(items, doc, EndsWith(up, ")"), cursor);
        return items.Take();
    }
    if (EndsWith(up, ")E") || EndsWith(up, ")EN")) {
        items.Add(std::string(kEnd), kKindReference, "end of the programme", wordStart, "label");
        return items.Take();
    }
    AddOperands(items, doc, static_cast<size_t>(row), wordStart);
    return items.Take();
}

}  // namespace plcc::lsp
