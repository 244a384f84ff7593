// The query layer's behaviour that no run of the tool reaches: texts too
// short to trim, a missing parser or generator, the empty array "[\n]", and
// the merge on orders the golden cases do not hold. What a run reaches is
// pinned, log records included, by the golden cases.
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <functional>
#include <list>

#include "../Rows.h"
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

// Each call starts from the output "old"; `out` is the output afterwards.
using Call = std::function<bool(CJsonParser*, std::string&)>;

Call trim(const char* text, int n)
{
    return [=](CJsonParser* p, std::string& out) { return p->RemoveLastChar(text, n, out); };
}

Call both(const char* text)
{
    return [=](CJsonParser* p, std::string& out) { return p->RemoveFirstLastChar(text, out); };
}

Call list(const char* text)
{
    return [=](CJsonParser* p, std::string& out) {
        std::string buffer = text ? text : "";
        List list = {out};
        const bool ok = p->m_ConvertToListNode(text ? buffer.data() : nullptr, list);
        out = Joined(list);
        return ok;
    };
}

struct Untouched : rows::Named { Call call; bool ok; const char* out; };

const Untouched kUntouched[] = {
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

class ParserUntouched : public testing::TestWithParam<Untouched> {};

TEST_P(ParserUntouched, OutputsStayUntouchedOnFailure)
{
    std::string out = "old";
    EXPECT_EQ(GetParam().call(CJsonParser::GetInstance(), out), GetParam().ok);
    EXPECT_EQ(out, GetParam().out);
    CJsonParser::ReleaseInstance();
}

INSTANTIATE_TEST_SUITE_P(Rows, ParserUntouched, testing::ValuesIn(kUntouched), rows::NameOf());

TEST(ParserTest, QueryWithoutParserOrGenerator)
{
    CJsonParser* p = CJsonParser::GetInstance();
    g_autoptr(JsonParser) parser = json_parser_new();
    g_autoptr(JsonGenerator) generator = json_generator_new();
    char path[] = "$.menuitems";
    EXPECT_EQ(p->FindJsonPathResult(nullptr, generator, path), nullptr);
    EXPECT_EQ(p->FindJsonPathResult(parser, nullptr, path), nullptr);
    CJsonParser::ReleaseInstance();
}

struct Merge : rows::Named { List added, items; const char* merged; };

const Merge kMerges[] = {
    {"new one between common ones", {"a", "n", "c"}, {"a", "b", "c", "d"}, "a,n,b,c,d"},
    {"nothing added", {}, {"a", "b"}, "a,b"},
    {"added to nothing", {"a", "b"}, {}, "a,b"},
    {"common ones in another order", {"c", "a"}, {"a", "b", "c"}, "a,b,c,a"},
    {"the same list", {"a", "b"}, {"a", "b"}, "a,b"},
    {"new one first", {"x", "b"}, {"a", "b", "c"}, "x,a,b,c"},
    {"common one twice", {"b", "x", "b"}, {"a", "b", "c"}, "a,b,x,b,c"},
    {"case matters", {"A"}, {"a"}, "A,a"},
};

class ParserMerge : public testing::TestWithParam<Merge> {};

TEST_P(ParserMerge, MergeListKeepsBothOrders)
{
    List added = GetParam().added, items = GetParam().items;
    EXPECT_TRUE(CJsonParser::GetInstance()->MergeList(added, items));
    EXPECT_EQ(Joined(items), GetParam().merged);
    EXPECT_EQ(added, GetParam().added);
    CJsonParser::ReleaseInstance();
}

INSTANTIATE_TEST_SUITE_P(Rows, ParserMerge, testing::ValuesIn(kMerges), rows::NameOf());

}  // namespace
