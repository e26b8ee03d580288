// The statement forms of each keyword, taken from the instruction tables: the
// texts the decoder renders, with their operands as placeholders.
#include <array>
#include <string>

#include "apps/plcc/LspDocument.h"
#include "base/Ascii.h"
#include "compiler/Statements.h"

namespace plcc::lsp {

namespace {

std::string Placeholder(plc::Dom dom) {
    switch (dom) {
        case plc::Dom::LabelNo:
        case plc::Dom::FVar:
        case plc::Dom::HVar:
        case plc::Dom::MVar:
        case plc::Dom::CVar:
        case plc::Dom::ZVar: return "xxx";
        case plc::Dom::Value01: return "0/1";
        case plc::Dom::Float: return "c.c";
        case plc::Dom::Int32:
        case plc::Dom::UInt32: return "c";
        case plc::Dom::Input: return "<input>";
        case plc::Dom::Output: return "<output>";
        case plc::Dom::Status: return "STA_<flag>";
        case plc::Dom::Register:
        case plc::Dom::CtrlFlag:
        case plc::Dom::DriveValF:
        case plc::Dom::DriveValH: return "<name>";
        case plc::Dom::LetterAR: return "A/R";
        default: return "n";
    }
}

// Walks a form: `literal` gets the text between conversions, `operand` the
// domain of each conversion in order.
template <class Literal, class Operand>
void WalkForm(const char* format, const plc::Operands& args, Literal&& literal, Operand&& operand) {
    size_t next = 0;
    plc::WalkFormat(format, literal, [&](std::string_view, char) {
        operand(next < args.size() ? args[next].dom : plc::Dom::None);
        ++next;
    });
}

// The upper-case, blank-free texts a form can be written as, one for each
// name an operand of it may take (the keyword chain tests such texts).
std::vector<std::string> SourceKeys(const char* format, const plc::Operands& args) {
    std::vector<std::string> keys{""};
    WalkForm(
        format, args,
        [&keys](char c) {
            if (c == ' ') return;
            for (std::string& k : keys) k.push_back(plc::AsciiUpper(c));
        },
        [&keys](plc::Dom dom) {
            std::vector<std::string> names;
            if (const auto name = plc::DomainOf(dom).name) {
                for (int n = 0; n < 32; ++n) {
                    if (const char* text = name(static_cast<uint8_t>(n))) names.emplace_back(text);
                }
            }
            if (names.empty()) names.emplace_back(dom == plc::Dom::LetterAR ? "A" : "0");
            std::vector<std::string> grown;
            for (const std::string& k : keys) {
                for (const std::string& n : names) grown.push_back(k + n);
            }
            keys = std::move(grown);
        });
    return keys;
}

std::vector<std::vector<StatementForm>> BuildForms() {
    const std::span<const plc::KeywordRow> chain = plc::KeywordChain();
    std::vector<std::vector<StatementForm>> forms(chain.size());
    for (const auto family : {plc::FlowRows(), plc::AssignRows(), plc::MotionRows()}) {
        for (const plc::OpcodeRow& row : family) {
            if (!row.compiles) continue;
            for (const plc::Variant& v : row.variants) {
                if (v.text == nullptr) continue;
                std::vector<bool> taken(chain.size(), false);
                for (const std::string& key : SourceKeys(v.text, v.args)) {
                    // The label "N0" that every form starts with.
                    const std::string_view rest = std::string_view(key).substr(key.starts_with("N0") ? 2 : 0);
                    for (size_t r = 0; r < chain.size(); ++r) {
                        if (!rest.starts_with(chain[r].keyword)) continue;
                        if (!taken[r]) forms[r].push_back({FormText(v.text, v.args), &row, &v});
                        taken[r] = true;
                        break;
                    }
                }
            }
        }
    }
    return forms;
}

}  // namespace

std::string FormText(const char* format, const plc::Operands& args, FormStyle style) {
    std::string text;
    bool first = true;
    bool stopped = false;
    int placeholders = 0;
    WalkForm(
        format, args,
        [&](char c) {
            if (stopped) return;
            // Characters a snippet gives a meaning to are escaped in its literal text.
            if (style == FormStyle::Snippet && (c == '$' || c == '}' || c == '\\')) text.push_back('\\');
            text.push_back(c);
        },
        [&](plc::Dom dom) {
            if (stopped) return;
            if (first && text == "N") {
                text.clear();  // the form's own label
            } else if (style == FormStyle::UpToFirstOperand) {
                stopped = true;
            } else if (style == FormStyle::Snippet) {
                text += "${" + std::to_string(++placeholders) + ":" + Placeholder(dom) + "}";
            } else {
                text += Placeholder(dom);
            }
            first = false;
        });
    size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    return text.substr(start);
}

const std::vector<StatementForm>& KeywordForms(size_t keywordRow) {
    static const std::vector<std::vector<StatementForm>> forms = BuildForms();
    static const std::vector<StatementForm> none;
    return keywordRow < forms.size() ? forms[keywordRow] : none;
}

}  // namespace plcc::lsp
