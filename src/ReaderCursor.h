// Helpers that keep a JsonReader's cursor where the caller expects it.
#pragma once

#include <json-glib/json-glib.h>

// Leaves a member or element that was entered successfully. json-glib's
// end_member/end_element only clear a pending error (set, for instance, by
// reading a string value from a non-string node) without moving, so with an
// error pending it takes two calls to get back to the parent.
inline void LeaveMember(JsonReader* reader)
{
    if (json_reader_get_error(reader) != nullptr)
        json_reader_end_member(reader);
    json_reader_end_member(reader);
}

inline void LeaveElement(JsonReader* reader)
{
    if (json_reader_get_error(reader) != nullptr)
        json_reader_end_element(reader);
    json_reader_end_element(reader);
}

// Clears the error of a failed read_member; the cursor did not move.
inline void ClearFailedStep(JsonReader* reader)
{
    json_reader_end_member(reader);
}

// Calls `visit` with each string element of the array the reader stands on,
// in order; elements that are not strings are passed over. The reader ends on
// the array.
template <typename Visit>
void ForEachStringElement(JsonReader* reader, Visit visit)
{
    const int n = json_reader_count_elements(reader);
    for (int i = 0; i < n; ++i) {
        json_reader_read_element(reader, static_cast<guint>(i));
        if (const char* value = json_reader_get_string_value(reader))
            visit(value);
        LeaveElement(reader);
    }
}
