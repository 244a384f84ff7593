// The query layer's behaviour that no run of the tool reaches: texts too
// short to trim, a missing parser or generator, the empty array "[\n]", and
// the merge on orders the golden cases do not hold. What a run reaches is
// pinned, log records included, by the golden cases.
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <functional>
#include <list>

#include "JsonParser.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

using List = std::list<std::string>;

std::string Joined(const List& list)
{
    std::string out;
    for (const std::string& s : list)
        out += (out.empty() ? "" : ",") + s;
    return out;
}

TEST(ParserTest, OutputsStayUntouchedOnFailure)
{
    CJsonParser* p = CJsonParser::GetInstance();
    // Each call starts from the output "old"; `out` is the output afterwards.
    auto trim = [p](const char* text, int n) {
        return [=](std::string& out) { return p->RemoveLastChar(text, n, out); };
    };
    auto both = [p](const char* text) {
        return [=](std::string& out) { return p->RemoveFirstLastChar(text, out); };
    };
    auto list = [p](const char* text) {
        return [=](std::string& out) {
            std::string buffer = text ? text : "";
            List list = {out};
            const bool ok = p->m_ConvertToListNode(text ? buffer.data() : nullptr, list);
            out = Joined(list);
            return ok;
        };
    };
    const struct { const char* name; std::function<bool(std::string&)> call; bool ok; const char* out; }
        rows[] = {
            {"last of two", trim("{}", 1), true, "{"},
            {"none of three", trim("abc", 0), true, "abc"},
            {"all of one", trim("x", 1), false, "old"},
            {"all of three", trim("abc", 3), false, "old"},
            {"negative count", trim("abc", -1), false, "old"},
            {"null text", trim(nullptr, 1), false, "old"},
            {"brackets of three", both("[1]"), true, "1"},
            {"brackets of two", both("[]"), false, "old"},
            {"brackets of null", both(nullptr), false, "old"},
            {"empty array", list("[]"), false, "old"},
            {"empty array with a line feed", list("[\n]"), false, "old"},
            {"null match", list(nullptr), false, "old"},
            {"no strings", list("[[]]"), true, "old"},
            {"strings appended", list(R"([["x","y"]])"), true, "old,x,y"},
            {"names and values", list(R"([{"k":"v","n":1,"e":""}])"), true, "old,k,v,n,e,"},
        };
    for (const auto& row : rows) {
        std::string out = "old";
        EXPECT_EQ(row.call(out), row.ok) << row.name;
        EXPECT_EQ(out, row.out) << row.name;
    }
    g_autoptr(JsonParser) parser = json_parser_new();
    g_autoptr(JsonGenerator) generator = json_generator_new();
    char path[] = "$.menuitems";
    EXPECT_EQ(p->FindJsonPathResult(nullptr, generator, path), nullptr);
    EXPECT_EQ(p->FindJsonPathResult(parser, nullptr, path), nullptr);
    CJsonParser::ReleaseInstance();
}

TEST(ParserTest, MergeListKeepsBothOrders)
{
    const struct { List added, items; const char* merged; } rows[] = {
        {{"a", "n", "c"}, {"a", "b", "c", "d"}, "a,n,b,c,d"},
        {{}, {"a", "b"}, "a,b"},
        {{"a", "b"}, {}, "a,b"},
        {{"c", "a"}, {"a", "b", "c"}, "a,b,c,a"},
        {{"a", "b"}, {"a", "b"}, "a,b"},
        {{"x", "b"}, {"a", "b", "c"}, "x,a,b,c"},
        {{"b", "x", "b"}, {"a", "b", "c"}, "a,b,x,b,c"},
        {{"A"}, {"a"}, "A,a"},
    };
    for (const auto& row : rows) {
        List added = row.added, items = row.items;
        EXPECT_TRUE(CJsonParser::GetInstance()->MergeList(added, items));
        EXPECT_EQ(Joined(items), row.merged) << Joined(row.added) << " into " << Joined(row.items);
        EXPECT_EQ(added, row.added);
    }
    CJsonParser::ReleaseInstance();
}

}  // namespace
