#pragma once
// The command lines that only ask about the program: `vtrak --help` (or -h)
// and `vtrak --version` (or -V), before any "--". Any command line without
// them holds the launch options and the requested-file path.
#include <cstdio>
#include <optional>

namespace vtrak {

// When the only argument asks for the usage or the version, prints it to
// `out` and returns 0; when such an argument comes with others, says so on
// `errors` and returns 2 (a usage error). Otherwise returns nothing and
// prints nothing.
std::optional<int> AnswerInformationOption(int argc, const char* const* argv, std::FILE* out,
                                           std::FILE* errors);

}  // namespace vtrak
