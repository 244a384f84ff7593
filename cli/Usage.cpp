#include "Usage.h"

namespace cli {

std::string UsageMessage(std::string_view program, std::string_view problem)
{
    const std::string name(program);
    return name + ": " + std::string(problem) + "\nTry '" + name + " --help'.\n";
}

}  // namespace cli
