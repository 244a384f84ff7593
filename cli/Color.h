// Whether a companion colours its text, and the codes it colours it with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cli {

enum class ColorWhen { Auto, Always, Never };

// "auto", "always" or "never"; nothing for any other value.
std::optional<ColorWhen> ParseColorWhen(std::string_view value);

// The one policy: always and never as said; auto colours only when the text
// goes to a terminal, TERM is set and not "dumb", and NO_COLOR is unset or
// empty (https://no-color.org). A null pointer is a variable not set.
bool UseColor(ColorWhen when, bool terminal, const char* noColor, const char* term);

// The same for standard output and this process's environment; `toStdout`
// false (the text goes to a file) is never a terminal.
bool UseColorOnStdout(ColorWhen when, bool toStdout = true);

// SGR sequences: gcc's colours for diagnostics, plain ones for marks.
namespace sgr {
inline constexpr char kBold[] = "\033[1m";
inline constexpr char kDim[] = "\033[2m";
inline constexpr char kRed[] = "\033[31m";
inline constexpr char kGreen[] = "\033[32m";
inline constexpr char kYellow[] = "\033[33m";
inline constexpr char kRedBold[] = "\033[1;31m";
inline constexpr char kMagentaBold[] = "\033[1;35m";
inline constexpr char kReset[] = "\033[0m";
}  // namespace sgr

// `text`, between `code` and a reset when `on` and `code` is not empty.
std::string Styled(bool on, const char* code, std::string_view text);

}  // namespace cli
