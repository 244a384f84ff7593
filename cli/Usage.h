// A usage error, the same in every companion: what is wrong after the
// program's name, a pointer to --help, exit status 2.
#pragma once

#include <string>
#include <string_view>

namespace cli {

inline constexpr int kUsageStatus = 2;

// "PROGRAM: PROBLEM\nTry 'PROGRAM --help'.\n"
std::string UsageMessage(std::string_view program, std::string_view problem);

}  // namespace cli
