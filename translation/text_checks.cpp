#include "translation/text_checks.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "translation/text_profile.h"

namespace translation {

namespace {

// "1 line", "3 lines".
std::string Count(int number, const std::string& singular, const std::string& plural) {
    return std::to_string(number) + ' ' + (number == 1 ? singular : plural);
}

void CheckVariables(const TextProfile& text, const TextProfile& original,
                    std::vector<Finding>& findings) {
    for (std::size_t kind = 0; kind < kVariableKinds; ++kind) {
        const int difference = int{text.variables[kind]} - int{original.variables[kind]};
        if (difference == 0) continue;
        std::string detail = VariableName(kind) + (difference < 0 ? " missing" : " added");
        if (difference < -1 || difference > 1) {
            detail += ' ' + std::to_string(std::abs(difference)) + " times";
        }
        findings.push_back({Severity::Error, Check::Variables, std::move(detail)});
    }
}

void CheckQuestion(const TextProfile& text, const TextProfile& original, const TMessage& question,
                   std::vector<Finding>& findings) {
    const int lines = static_cast<int>(text.lines.size());
    const int originalLines = static_cast<int>(original.lines.size());
    if (lines != originalLines) {
        const std::string first = std::to_string(question.FirstChoice + 1);
        const std::string last = std::to_string(question.LastChoice + 1);
        findings.push_back(
            {Severity::Error, Check::Question,
             Count(lines, "line", "lines") + ", the original " + std::to_string(originalLines) +
                 " (the ASK opcode's choices: " +
                 (first == last ? "line " + first : "lines " + first + " to " + last) + ")"});
    }
    if (text.choices != original.choices) {
        findings.push_back({Severity::Error, Check::Question,
                            Count(text.choices, "{CHOICE} tag", "{CHOICE} tags") +
                                ", the original " + std::to_string(original.choices)});
    }
}

void CheckSpaces(const TextProfile& text, const TextProfile& original,
                 std::vector<Finding>& findings) {
    const std::size_t common = std::min(text.lines.size(), original.lines.size());
    for (std::size_t line = 0; line < common; ++line) {
        const LineSpaces& ours = text.lines[line];
        const LineSpaces& theirs = original.lines[line];
        const std::string name = "line " + std::to_string(line + 1);
        if (ours.leading != theirs.leading) {
            findings.push_back({Severity::Warning, Check::Spaces,
                                name + " starts with " + Count(ours.leading, "space", "spaces") +
                                    ", in the original with " + std::to_string(theirs.leading)});
        }
        if (ours.trailing != theirs.trailing) {
            findings.push_back({Severity::Warning, Check::Spaces,
                                name + " ends with " + Count(ours.trailing, "space", "spaces") +
                                    ", in the original with " + std::to_string(theirs.trailing)});
        }
    }
}

}  // namespace

std::vector<Finding> CheckTranslation(std::span<const std::uint8_t> text,
                                      std::span<const std::uint8_t> original,
                                      const TMessage* question) {
    std::vector<Finding> findings;
    if (std::equal(text.begin(), text.end(), original.begin(), original.end())) return findings;
    const TextProfile ours = ProfileText(text);
    const TextProfile theirs = ProfileText(original);
    if (ours.empty && !theirs.empty) {
        findings.push_back({Severity::Error, Check::Empty, "empty, the original is not"});
        return findings;
    }
    CheckVariables(ours, theirs, findings);
    if (question != nullptr) CheckQuestion(ours, theirs, *question, findings);
    if (ours.pages != theirs.pages) {
        findings.push_back({Severity::Warning, Check::Pages,
                            Count(ours.pages, "page", "pages") + ", the original " +
                                std::to_string(theirs.pages)});
    }
    CheckSpaces(ours, theirs, findings);
    if (ours.doubleSpaces > theirs.doubleSpaces) {
        findings.push_back({Severity::Warning, Check::DoubleSpace,
                            Count(ours.doubleSpaces, "double space", "double spaces") +
                                ", the original " + std::to_string(theirs.doubleSpaces)});
    }
    return findings;
}

}  // namespace translation
