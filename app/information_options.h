#pragma once
// The two command lines that only ask about the program: `vtrak --help` and
// `vtrak --version`. Any other command line is the requested-file path.
#include <cstdio>
#include <optional>

namespace vtrak {

// When the only argument is exactly --help or --version, prints the usage or
// the version to `out` and returns the exit status; otherwise returns nothing
// and prints nothing.
std::optional<int> AnswerInformationOption(int argc, const char* const* argv, std::FILE* out);

}  // namespace vtrak
