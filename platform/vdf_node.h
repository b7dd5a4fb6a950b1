#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A node of a text in Valve's KeyValues format, which Steam writes its .vdf and .acf files in:
// a key with either a string value or a block of child nodes.
struct VdfNode {
    std::string key;
    std::string value;  // empty for a block
    std::vector<VdfNode> children;
    bool isBlock = false;

    // The first child whose key equals `name` without regard to ASCII case, as Steam matches
    // keys; nullptr when there is none.
    const VdfNode* Find(std::string_view name) const;
};

// The top-level nodes of `text`. Keys and values are quoted strings, with the escapes \\, \",
// \n and \t, or unquoted words; blocks are braced; "//" starts a comment and a bracketed
// condition ("[$WIN32]") is skipped. Nothing when the text is malformed: an unterminated
// string, block or condition, a key without a value, a stray brace, or blocks nested more than
// 32 deep.
std::optional<std::vector<VdfNode>> ParseVdf(std::string_view text);

}  // namespace platform
