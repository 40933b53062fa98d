#pragma once
// The program's arguments as UTF-8, whatever the platform hands main().
#include <string>
#include <vector>

namespace cli {

// On Windows main()'s argv is in the ANSI code page, where a keyword in
// Chinese becomes "?" (or GBK): the arguments are read again from the
// UTF-16 command line. Elsewhere they are argv as it is.
std::vector<std::string> utf8_arguments(int argc, char** argv);

}  // namespace cli
