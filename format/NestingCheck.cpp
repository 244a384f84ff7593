#include "NestingCheck.h"

namespace velkin {

size_t FindTooDeep(std::string_view text)
{
    enum class State { Text, Double, DoubleEscape, Single, Comment };
    State state = State::Text;
    long depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0' && state != State::DoubleEscape)
            return kNotTooDeep;
        switch (state) {
        case State::Text:
            if (c == '"')
                state = State::Double;
            else if (c == '\'')
                state = State::Single;
            else if (c == '/')
                state = State::Comment;
            else if ((c == '[' || c == '{') && ++depth > kMaxNesting)
                return i;
            else if (c == ']' || c == '}')
                --depth;
            break;
        case State::Double:
            if (c == '\\')
                state = State::DoubleEscape;
            else if (c == '"')
                state = State::Text;
            break;
        case State::DoubleEscape: state = State::Double; break;
        case State::Single:
            if (c == '\'')
                state = State::Text;
            break;
        case State::Comment:
            if (c == '/')
                state = State::Text;
            break;
        }
    }
    return kNotTooDeep;
}

}  // namespace velkin
