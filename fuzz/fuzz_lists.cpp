// The query layer's list and text helpers and the fragment writer on arbitrary
// lists and texts: failures leave their output alone, merging keeps both
// orders, and plain identifiers survive a round trip through the texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzSupport.h"
#include "Identifiers.h"
#include "JsonPacker.h"
#include "JsonParser.h"

namespace {

using List = std::list<std::string>;

// Up to 8 elements, often the level texts or other short tokens so that
// groups form and elements repeat.
List TakeList(FuzzedDataProvider& in)
{
    static const char* const kTokens[] = {"0", "1", "2", "a", "b", ""};
    List list(in.ConsumeIntegralInRange<size_t>(0, 8));
    for (std::string& s : list)
        s = in.ConsumeBool() ? kTokens[in.ConsumeIntegralInRange(0, 5)] : in.ConsumeRandomLengthString(12);
    return list;
}

bool IsSubsequence(const List& part, const List& whole)
{
    auto at = whole.begin();
    for (const std::string& x : part) {
        if ((at = std::find(at, whole.end(), x)) == whole.end())
            return false;
        ++at;
    }
    return true;
}

void AppendStrings(JsonArray* array, List& out)
{
    for (guint i = 0; array != nullptr && i < json_array_get_length(array); ++i) {
        const char* s = json_array_get_string_element(array, i);
        CHECK(s != nullptr);
        out.emplace_back(s);
    }
}

// Reads both fragments back; the groups, flattened, give the group list again.
void CheckFragments(const List& items, const std::string& submenu, const std::string& group)
{
    const std::string text = "{" + submenu + "," + group + "}";
    g_autoptr(JsonParser) parser = json_parser_new();
    CHECK(StrictJson(text) && json_parser_load_from_data(parser, text.c_str(), -1, nullptr));
    JsonObject* object = json_node_get_object(json_parser_get_root(parser));
    List submenuBack, groupBack;
    AppendStrings(json_object_get_array_member(object, "submenuitems"), submenuBack);
    JsonArray* groups = json_object_get_array_member(object, "group");
    for (guint i = 0; i < json_array_get_length(groups); ++i) {
        JsonObject* g = json_array_get_object_element(groups, i);
        if (const char* level = json_object_get_string_member(g, "indent-level"); *level != '\0')
            groupBack.emplace_back(level);
        AppendStrings(json_object_get_array_member(g, "group-items"), groupBack);
    }
    CHECK(submenuBack == items && groupBack == items);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FailOnGLibWarning();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    CJsonParser* parser = CJsonParser::GetInstance();
    CJsonPacker* packer = CJsonPacker::GetInstance();
    const List added = TakeList(in), items = TakeList(in);
    const int count = in.ConsumeIntegral<int>();
    std::string text = in.ConsumeRemainingBytesAsString();
    const size_t n = std::strlen(text.c_str());

    std::string out = "untouched";
    const bool cut = parser->RemoveLastChar(text.c_str(), count, out);
    CHECK(out == (cut ? text.substr(0, n - static_cast<unsigned>(count)) : "untouched"));
    out = "untouched";
    const bool trimmed = parser->RemoveFirstLastChar(text.c_str(), out);
    CHECK(out == (trimmed ? text.substr(1, n - 2) : "untouched"));

    List list = items;
    parser->m_ConvertToListNode(text.data(), list);
    CHECK(list.size() >= items.size() && std::equal(items.begin(), items.end(), list.begin()));

    List merged = items, addedCopy = added;
    parser->MergeList(addedCopy, merged);
    CHECK(addedCopy == added && IsSubsequence(items, merged) && IsSubsequence(added, merged) &&
          merged.size() <= items.size() + added.size());

    List writable = items;
    std::string submenu = "untouched", group = "untouched";
    const bool wrote = packer->PrintSubMenuItemInfo(writable, submenu);
    CHECK(packer->PrintGroupInfo(writable, group) == wrote && wrote == !items.empty() && writable == items);
    CHECK(wrote || (submenu == "untouched" && group == "untouched"));
    const bool plain = std::all_of(items.begin(), items.end(), [](const std::string& s) { return velkin::WrittenAsJson(s); });
    if (wrote && plain) {
        CheckFragments(items, submenu, group);
        std::string array = "[[";
        for (const std::string& s : items)
            array += (array.size() > 2 ? ",\"" : "\"") + s + "\"";
        List back;
        parser->m_ConvertToListNode((array += "]]").data(), back);
        CHECK(back == items);
    }
    CJsonParser::ReleaseInstance();
    CJsonPacker::ReleaseInstance();
    return 0;
}
