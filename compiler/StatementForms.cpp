// SPDX-License-Identifier: GPL-3.0-or-later
// The statement forms of each keyword, taken from the instruction tables: the
// texts the decoder renders, with their operands as placeholders.
#include "compiler/StatementForms.h"

#include <algorithm>
#include <string_view>

#include "base/Ascii.h"
#include "compiler/Statements.h"

namespace plc {

std::string Placeholder(Dom dom) {
    switch (dom) {
        case Dom::LabelNo:
        case Dom::FVar:
        case Dom::HVar:
        case Dom::MVar:
        case Dom::CVar:
        case Dom::ZVar: return "xxx";
        case Dom::Value01: return "0/1";
        case Dom::Float: return "c.c";
        case Dom::Int32:
        case Dom::UInt32: return "c";
        case Dom::Input: return "<input>";
        case Dom::Output: return "<output>";
        case Dom::Status: return "STA_<flag>";
        case Dom::Register:
        case Dom::CtrlFlag:
        case Dom::DriveValF:
        case Dom::DriveValH: return "<name>";
        case Dom::LetterAR: return "A/R";
        default: return "n";
    }
}

namespace {

// Walks a form: `literal` gets the text between conversions, `operand` the
// domain of each conversion in order.
template <class Literal, class Operand>
void WalkForm(const char* format, const Operands& args, Literal&& literal, Operand&& operand) {
    size_t next = 0;
    WalkFormat(format, literal, [&](std::string_view, char) {
        operand(next < args.size() ? args[next].dom : Dom::None);
        ++next;
    });
}

bool InputOrOutput(Dom dom) { return dom == Dom::Input || dom == Dom::Output; }

// A form as its text: the label dropped, each operand as
// `placeholder(n, text)` gives it, where n counts the operands from 1 and
// `text` is the operand's placeholder. `names` holds, per conversion, the
// name a keyword row writes there: a register or control flag stands as
// written, an input or output as its group letters before the number's
// placeholder ("OSnn"). With `stopAtOperand` the text ends before the first
// operand; with `escape` the snippet syntax's own characters in the literal
// text are escaped. Leading blanks are dropped.
template <class Render>
std::string RenderForm(const char* format, const Operands& args, const std::vector<std::string>& names,
                       Render&& placeholder, bool stopAtOperand, bool escape = false) {
    std::string text;
    bool stopped = false;
    int number = 0;
    size_t conversion = 0;
    const auto literal = [&](std::string_view part) {
        for (const char c : part) {
            if (escape && (c == '$' || c == '}' || c == '\\')) text.push_back('\\');
            text.push_back(c);
        }
    };
    WalkForm(
        format, args,
        [&](char c) {
            if (!stopped) literal(std::string_view(&c, 1));
        },
        [&](Dom dom) {
            const std::string name = conversion < names.size() ? names[conversion] : std::string();
            const bool label = conversion == 0 && text == "N";
            ++conversion;
            if (stopped) return;
            if (label) {
                text.clear();  // the form's own label
                return;
            }
            if (!name.empty() && !InputOrOutput(dom)) {
                literal(name);
                return;
            }
            std::string shown = Placeholder(dom);
            if (!name.empty()) {
                const size_t digits = name.find_first_of("0123456789");
                literal(name.substr(0, digits));
                shown.assign(name.size() - std::min(digits, name.size()), 'n');
            }
            if (stopAtOperand) {
                stopped = true;
            } else {
                text += placeholder(++number, shown);
            }
        });
    const size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

// A text a form can be written as, upper-case and blank-free (the keyword
// chain tests such texts), with the name it writes at each conversion.
struct SourceKey {
    std::string text;
    std::vector<std::string> names;
};

// The keys of a form, one for each name an operand of it may take.
std::vector<SourceKey> SourceKeys(const char* format, const Operands& args) {
    std::vector<SourceKey> keys{{}};
    WalkForm(
        format, args,
        [&keys](char c) {
            if (c == ' ') return;
            for (SourceKey& k : keys) k.text.push_back(AsciiUpper(c));
        },
        [&keys](Dom dom) {
            std::vector<std::string> names;
            if (const auto name = DomainOf(dom).name) {
                for (int n = 0; n < 32; ++n) {
                    if (const char* text = name(static_cast<uint8_t>(n))) names.emplace_back(text);
                }
            }
            const bool named = !names.empty();
            if (!named) names.emplace_back(dom == Dom::LetterAR ? "A" : "0");
            std::vector<SourceKey> grown;
            for (const SourceKey& k : keys) {
                for (const std::string& n : names) {
                    SourceKey next = k;
                    next.text += n;
                    next.names.push_back(named ? n : std::string());
                    grown.push_back(std::move(next));
                }
            }
            keys = std::move(grown);
        });
    return keys;
}

std::string Shown(int, const std::string& shown) { return shown; }

std::vector<std::vector<StatementForm>> BuildForms() {
    const std::span<const KeywordRow> chain = KeywordChain();
    std::vector<std::vector<StatementForm>> forms(chain.size());
    for (const auto family : {FlowRows(), AssignRows(), MotionRows()}) {
        for (const OpcodeRow& row : family) {
            if (!row.compiles) continue;
            for (const Variant& v : row.variants) {
                // The END form counts only where a keyword of its own
                // begins it ("JMP END"), not beside its label form.
                std::vector<bool> taken(chain.size(), false);
                for (const auto& [text, args] : {std::pair{v.text, &v.args}, {v.endText, &v.endArgs}}) {
                    if (text == nullptr) continue;
                    for (const SourceKey& key : SourceKeys(text, *args)) {
                        // The label "N0" that every form starts with.
                        const std::string_view rest =
                            std::string_view(key.text).substr(key.text.starts_with("N0") ? 2 : 0);
                        for (size_t r = 0; r < chain.size(); ++r) {
                            if (!rest.starts_with(chain[r].keyword)) continue;
                            if (!taken[r]) {
                                StatementForm form{{}, &row, &v, text, args, key.names};
                                form.text = RenderForm(text, *args, key.names, Shown, false);
                                forms[r].push_back(std::move(form));
                            }
                            taken[r] = true;
                            break;
                        }
                    }
                }
            }
        }
    }
    return forms;
}

}  // namespace

std::string FormText(const char* format, const Operands& args) {
    return RenderForm(format, args, {}, Shown, false);
}

std::string FormHead(const StatementForm& form) {
    return RenderForm(form.format, *form.args, form.names, Shown, true);
}

std::string FormSnippet(const StatementForm& form) {
    return RenderForm(
        form.format, *form.args, form.names,
        [](int number, const std::string& shown) { return "${" + std::to_string(number) + ":" + shown + "}"; },
        false, true);
}

std::string FormWord(const std::string& formText) {
    size_t end = 0;
    while (end < formText.size() && (AsciiAlpha(formText[end]) || formText[end] == '_')) ++end;
    return formText.substr(0, end);
}

const std::vector<StatementForm>& KeywordForms(size_t keywordRow) {
    static const std::vector<std::vector<StatementForm>> forms = BuildForms();
    static const std::vector<StatementForm> none;
    return keywordRow < forms.size() ? forms[keywordRow] : none;
}

}  // namespace plc
