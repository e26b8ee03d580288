// SPDX-License-Identifier: GPL-3.0-or-later
// The one reader of source positions for the analysis: the tokens of the
// compile's source facts turned into the sites the findings point at.
#include "analysis/SourceSites.h"

#include "compiler/ProgramIndex.h"

namespace plc {

namespace {

TextSpan SpanOf(const Token& token) { return TextSpan{token.line, token.column, token.length}; }

}  // namespace

const StatementSites& SourceSites::Line(int32_t line) const {
    static const StatementSites kNone;
    return line >= 0 && static_cast<size_t>(line) < lines.size() ? lines[static_cast<size_t>(line)] : kNone;
}

SourceSites ReadSourceSites(const SourceFacts& facts) {
    SourceSites sites;
    if (!facts.tokens.empty()) sites.lines.resize(static_cast<size_t>(facts.tokens.back().line) + 1);
    for (const Token& token : facts.tokens) {
        StatementSites& at = sites.lines[static_cast<size_t>(token.line)];
        const bool statement = at.label.Known();  // the label comes first on its line
        switch (token.kind) {
            case TokenKind::LabelDef: at.label = SpanOf(token); break;
            case TokenKind::Keyword:
                if (statement) at.keyword = SpanOf(token);
                break;
            case TokenKind::LabelRef:
                if (statement && !at.target.Known()) at.target = SpanOf(token);
                break;
            case TokenKind::Variable:
                if (statement) sites.uses.push_back({token.var, token.index, SpanOf(token)});
                break;
            case TokenKind::DefName: sites.defs.push_back({token.var, token.index, token.text, SpanOf(token)}); break;
            default: break;
        }
    }
    return sites;
}

SourceSites ReadSourceSites(const std::vector<std::string>& lines) {
    const ProgramIndex index(lines);
    return ReadSourceSites(index.Facts());
}

}  // namespace plc
