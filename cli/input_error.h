#pragma once

#include <stdexcept>
#include <string>

namespace cli {

// Raised for a JSON or PO file that is malformed or that asks for something the archive cannot
// take; what() reads "LINE:COLUMN: message", both from 1, the column counted in characters.
class InputError : public std::runtime_error {
public:
    InputError(int line, int column, const std::string& message)
        : std::runtime_error(std::to_string(line) + ":" + std::to_string(column) + ": " + message),
          line_(line),
          column_(column) {}

    int Line() const { return line_; }
    int Column() const { return column_; }

private:
    int line_;
    int column_;
};

}  // namespace cli
