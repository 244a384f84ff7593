#include "Color.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace cli {

std::optional<ColorWhen> ParseColorWhen(std::string_view value)
{
    if (value == "auto")
        return ColorWhen::Auto;
    if (value == "always")
        return ColorWhen::Always;
    if (value == "never")
        return ColorWhen::Never;
    return std::nullopt;
}

bool UseColor(ColorWhen when, bool terminal, const char* noColor, const char* term)
{
    if (when != ColorWhen::Auto)
        return when == ColorWhen::Always;
    const bool noColorSet = noColor != nullptr && *noColor != '\0';
    const bool colourTerm = term != nullptr && std::strcmp(term, "dumb") != 0;
    return terminal && colourTerm && !noColorSet;
}

bool UseColorOnStdout(ColorWhen when, bool toStdout)
{
    const bool terminal = toStdout && isatty(STDOUT_FILENO) == 1;
    return UseColor(when, terminal, std::getenv("NO_COLOR"), std::getenv("TERM"));
}

std::string Styled(bool on, const char* code, std::string_view text)
{
    if (!on || *code == '\0')
        return std::string(text);
    return code + std::string(text) + sgr::kReset;
}

}  // namespace cli
