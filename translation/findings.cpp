#include "translation/findings.h"

#include <algorithm>

namespace translation {

std::string_view SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::string_view CheckName(Check check) {
    switch (check) {
        case Check::Variables: return "variables";
        case Check::Question: return "question";
        case Check::Empty: return "empty";
        case Check::Pages: return "pages";
        case Check::Spaces: return "spaces";
        case Check::DoubleSpace: return "double-space";
        case Check::Overflow: return "overflow";
    }
    return {};
}

bool HasError(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

}  // namespace translation
