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
