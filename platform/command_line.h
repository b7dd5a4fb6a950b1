#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments after its name, in UTF-8. Windows hands main() its arguments in the
// ANSI code page, which cannot hold every file name: there they are read again from the
// wide-character command line. Elsewhere they are argv's, as they are.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace platform
