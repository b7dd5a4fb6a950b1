#include "platform/vdf_node.h"

#include <cstddef>

namespace platform {

namespace {

constexpr int kMaxDepth = 32;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

enum class Token { End, Open, Close, Text, Error };

// The tokens of a KeyValues text, read one at a time, every read checked against its end.
class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    // The next token; for Token::Text its string goes to `text`.
    Token Next(std::string& text) {
        for (;;) {
            while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
            if (position_ == text_.size()) return Token::End;
            if (text_.substr(position_, 2) == "//") {
                const std::size_t end = text_.find('\n', position_);
                position_ = end == std::string_view::npos ? text_.size() : end + 1;
                continue;
            }
            if (text_[position_] == '[') {
                const std::size_t end = text_.find(']', position_);
                if (end == std::string_view::npos) return Token::Error;
                position_ = end + 1;
                continue;
            }
            break;
        }
        const char c = text_[position_];
        if (c == '{' || c == '}') {
            ++position_;
            return c == '{' ? Token::Open : Token::Close;
        }
        text.clear();
        return c == '"' ? Quoted(text) : Word(text);
    }

private:
    Token Quoted(std::string& text) {
        ++position_;
        while (position_ < text_.size()) {
            const char c = text_[position_++];
            if (c == '"') return Token::Text;
            if (c != '\\' || position_ == text_.size()) {
                text += c;
                continue;
            }
            const char escaped = text_[position_++];
            switch (escaped) {
                case 'n':
                    text += '\n';
                    break;
                case 't':
                    text += '\t';
                    break;
                case '\\':
                case '"':
                    text += escaped;
                    break;
                default:  // not an escape: both characters stand for themselves
                    text += '\\';
                    text += escaped;
            }
        }
        return Token::Error;
    }

    Token Word(std::string& text) {
        while (position_ < text_.size()) {
            const char c = text_[position_];
            if (IsBlank(c) || c == '{' || c == '}' || c == '"') break;
            text += c;
            ++position_;
        }
        return Token::Text;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

// Reads key-value pairs into `nodes` up to the end of the text (depth 0) or the brace that
// closes the block (deeper). False when the text is malformed.
bool ReadPairs(Tokens& tokens, std::vector<VdfNode>& nodes, int depth) {
    for (;;) {
        VdfNode node;
        switch (tokens.Next(node.key)) {
            case Token::End:
                return depth == 0;
            case Token::Close:
                return depth > 0;
            case Token::Text:
                break;
            default:
                return false;
        }
        switch (tokens.Next(node.value)) {
            case Token::Text:
                break;
            case Token::Open:
                node.isBlock = true;
                if (depth + 1 > kMaxDepth || !ReadPairs(tokens, node.children, depth + 1)) {
                    return false;
                }
                break;
            default:
                return false;
        }
        nodes.push_back(std::move(node));
    }
}

}  // namespace

const VdfNode* VdfNode::Find(std::string_view name) const {
    for (const VdfNode& child : children) {
        if (child.key.size() != name.size()) continue;
        std::size_t i = 0;
        while (i < name.size() && LowerAscii(child.key[i]) == LowerAscii(name[i])) ++i;
        if (i == name.size()) return &child;
    }
    return nullptr;
}

std::optional<std::vector<VdfNode>> ParseVdf(std::string_view text) {
    Tokens tokens(text);
    std::vector<VdfNode> nodes;
    if (!ReadPairs(tokens, nodes, 0)) return std::nullopt;
    return nodes;
}

}  // namespace platform
