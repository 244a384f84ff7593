#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <algorithm>
#include <list>

#include "JsonParser.h"
#include "LogCapture.h"

// The case tables are laid out by hand, a row a line.
// clang-format off
namespace {

using List = std::list<std::string>;
using Lines = std::vector<std::string>;

const char kDocument[] = R"({
  "menudelete": {"submenuitems": ["a", 3, "b", {"x": "y"}, null]}, "menuadd": {"list": ["z"]},
  "menumodify": {"submenuitems": "a"}, "after": "root",
  "menuitems": {"pic": {"display-name": "P", "style": "title"}},
  "menumodifyinfo": {"pic": {"display-name": "X"}, "empty": {}, "text": "plain"},
  "menuaddinfo": {"main": {"list": ["n", "m"]}, "bare": {"list": []}},
  "menutree": {
    "two": {"group": [{"indent-level": "1", "group-items": ["a", "b"]},
                      {"indent-level": "0", "group-items": ["c"]}], "tag": "two"},
    "three": {"group": [{}, {}, {}], "tag": "three"}, "none": {"tag": "none"},
    "object": {"group": {"indent-level": "1"}, "tag": "object"},
    "number": {"group": [{"indent-level": 1, "group-items": ["a"]}], "tag": "number"}}})";

// One log line of the query layer.
std::string P(const char* op, int line, const std::string& text)
{
    return "JsonParser.cpp: " + std::string(op) + "(" + std::to_string(line) + ") > " + text + "\n";
}

// The singleton over an in-memory document, lent the way the driver lends it.
class ParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(json_parser_load_from_data(parser_, kDocument, -1, nullptr));
        json_reader_set_root(reader_, json_parser_get_root(parser_));
        p_->m_pParser = parser_, p_->m_pReader = reader_, p_->m_pGenerator = generator_;
        CapturedLogs().clear();
    }
    void TearDown() override
    {
        CJsonParser::ReleaseInstance();
        g_object_unref(generator_), g_object_unref(reader_), g_object_unref(parser_);
    }
    // The reader stands, no error pending, on the object whose member `name` is `value`.
    void ExpectReaderOn(const char* name, const char* value)
    {
        EXPECT_EQ(json_reader_get_error(reader_), nullptr);
        EXPECT_TRUE(json_reader_read_member(reader_, name));
        EXPECT_STREQ(json_reader_get_string_value(reader_), value);
        json_reader_end_member(reader_);
    }

    CJsonParser* p_ = CJsonParser::GetInstance();
    JsonParser* parser_ = json_parser_new();
    JsonReader* reader_ = json_reader_new(nullptr);
    JsonGenerator* generator_ = json_generator_new();
};

TEST_F(ParserTest, FindJsonPathResult)
{
    char match[] = "$.menuitems.pic", none[] = "$.menuitems.ghost";
    for (const auto& [path, text] : {std::pair{match, R"([{"display-name":"P","style":"title"}])"},
                                     std::pair{none, "[]"}}) {
        char* result = p_->FindJsonPathResult(parser_, generator_, path);
        EXPECT_STREQ(result, text);
        g_free(result);
    }
    EXPECT_EQ(p_->FindJsonPathResult(nullptr, generator_, match), nullptr);
    EXPECT_EQ(p_->FindJsonPathResult(parser_, nullptr, match), nullptr);
    EXPECT_EQ(LoggedLines(), Lines(2, P("FindJsonPathResult", 66, "Null")));
}

TEST_F(ParserTest, TrimmingLeavesTheOutputAloneOnFailure)
{
    const char *last = "RemoveLastChar", *both = "RemoveFirstLastChar";
    const struct { const char* op; const char* text; int count; const char* out; std::string log; }
        cases[] = {
            {last, "{}", 1, "{", P(last, 255, "String :{")},
            {last, "abc", 0, "abc", P(last, 255, "String :abc")},
            {last, "x", 1, nullptr, P(last, 250, "len error[1]")},
            {last, "abc", 3, nullptr, P(last, 250, "len error[3]")},
            {last, "abc", -1, nullptr, P(last, 250, "len error[3]")},
            {last, nullptr, 1, nullptr, P(last, 242, "Null")},
            {both, "[1]", 0, "1", P(both, 277, "String :1")},
            {both, "[]", 0, nullptr, P(both, 272, "len error[2]")},
            {both, nullptr, 0, nullptr, P(both, 264, "Null")},
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        CapturedLogs().clear();
        std::string out = "untouched";
        EXPECT_EQ(c.op == both ? p_->RemoveFirstLastChar(c.text, out)
                               : p_->RemoveLastChar(c.text, c.count, out),
                  c.out != nullptr);
        EXPECT_EQ(out, c.out ? c.out : "untouched");
        EXPECT_EQ(LoggedLines(), Lines{c.log});
    }
}

TEST_F(ParserTest, ConvertToListNodeAppendsQuotedStrings)
{
    const struct { const char* text; bool ok; List list; } cases[] = {
        {"[]", false, {"old"}}, {"[\n]", false, {"old"}}, {nullptr, false, {"old"}},
        {"[[]]", true, {"old"}}, {R"([["x","y"]])", true, {"old", "x", "y"}},
        {R"([{"k":"v","n":1,"e":""}])", true, {"old", "k", "v", "n", "e", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        std::string buffer = c.text ? c.text : "";
        List list = {"old"};
        EXPECT_EQ(p_->m_ConvertToListNode(c.text ? buffer.data() : nullptr, list), c.ok);
        EXPECT_EQ(list, c.list);
    }
}

TEST_F(ParserTest, MergeListKeepsBothOrders)
{
    const struct { List added, items, merged; } cases[] = {
        {{"a", "n", "c"}, {"a", "b", "c", "d"}, {"a", "n", "b", "c", "d"}},
        {{}, {"a", "b"}, {"a", "b"}}, {{"a", "b"}, {}, {"a", "b"}},
        {{"c", "a"}, {"a", "b", "c"}, {"a", "b", "c", "a"}}, {{"a", "b"}, {"a", "b"}, {"a", "b"}},
        {{"x", "b"}, {"a", "b", "c"}, {"x", "a", "b", "c"}}, {{"A"}, {"a"}, {"A", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.added) + " + " + testing::PrintToString(c.items));
        CapturedLogs().clear();
        List added = c.added, items = c.items;
        EXPECT_TRUE(p_->MergeList(added, items));
        EXPECT_EQ(items, c.merged);
        EXPECT_EQ(added, c.added);
        Lines log = {"JsonParser.cpp: MergeList(388) > After\n"};
        for (const std::string& e : c.merged)
            log.push_back("JsonParser.cpp: MergeList(393) > " + e + "\n");
        EXPECT_EQ(LoggedLines(), log);
    }
}

TEST_F(ParserTest, MenuJsonFileReturnsTheReaderToTheRoot)
{
    auto L = [](int line, const std::string& text) { return P("PaserMenuJsonFile", line, text); };
    auto key = [&](const char* k) { return L(89, std::string("m_PaserMenuJsonFile key: ") + k); };
    const struct { const char* key; bool ok; List list; Lines log; } cases[] = {
        {"menudelete", true, {"old", "a", "b"},
         {key("menudelete"), L(121, "Add to List: a"), L(121, "Add to List: b")}},
        {"nokey", false, {"old"}, {key("nokey"), L(93, "Read ERR [nokey] ")}},
        {"menuadd", false, {"old"}, {key("menuadd"), L(100, "Read ERR submenuitems")}},
        {"menumodify", false, {"old"}, {key("menumodify"), L(108, "Not Array")}},
        {nullptr, false, {"old"}, {L(85, "Null")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key ? c.key : "(null)");
        CapturedLogs().clear();
        List list = {"old"};
        EXPECT_EQ(p_->PaserMenuJsonFile(c.key, list), c.ok);
        EXPECT_EQ(list, c.list);
        EXPECT_EQ(LoggedLines(), c.log);
        ExpectReaderOn("after", "root");
    }
}

TEST_F(ParserTest, ItemEntryAndAmendmentTexts)
{
    const std::string pic = R"("pic":{"display-name":"P","style":"title"})";
    const std::string ghost = R"("ghost":{"display-name":"Json Syntax Error","style":"title"})";
    const struct { bool modify; const char* id; const char* out; Lines log; } cases[] = {
        {false, "pic", pic.c_str(),
         {P("RemoveFirstLastChar", 277, "String :" + pic.substr(6)),
          P("PaserMenuItems", 432, "INFO: " + pic)}},
        {false, "ghost", ghost.c_str(),
         {P("RemoveFirstLastChar", 272, "len error[2]"),
          P("PaserMenuItems", 432, "INFO: " + ghost)}},
        {true, "pic", R"("display-name":"X")",
         {P("PaserModifyItem", 312, R"(String :"display-name":"X")")}},
        {true, "empty", nullptr, {P("PaserModifyItem", 306, "len error[4]")}},
        {true, "ghost", nullptr, {P("PaserModifyItem", 306, "len error[2]")}},
        {true, "text", nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CapturedLogs().clear();
        std::string text = "untouched";
        EXPECT_EQ(c.modify ? p_->PaserModifyItem(c.id, text) : p_->PaserMenuItems(c.id, text),
                  c.out != nullptr);
        EXPECT_EQ(text, c.out ? c.out : "untouched");
        EXPECT_EQ(LoggedLines(), c.log);
    }
}

TEST_F(ParserTest, MenuAddItemAppendsTheMenusList)
{
    auto got = [](std::string t) { return P("PaserMenuAddItem", 334, "MenuAddItem :" + t); };
    auto add = [](std::string e) { return P("m_ConvertToListNode", 154, "Groupitems Add: " + e); };
    const std::string invalid = P("m_ConvertToListNode", 143, "invaild array");
    const std::string none = P("PaserMenuAddItem", 340, "Empty New");
    const struct { const char* menu; List before; bool ok; List after; Lines log; } cases[] = {
        {"ghost", {}, false, {}, {got("[]"), invalid, none}},
        {"bare", {}, false, {}, {got("[[]]"), none}},
        {"main", {"x"}, true, {"x", "n", "m"}, {got(R"([["n","m"]])"), add("n"), add("m")}},
        {"ghost", {"x"}, true, {"x"}, {got("[]"), invalid}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        CapturedLogs().clear();
        List list = c.before;
        p_->m_pMenuId = c.menu;
        EXPECT_EQ(p_->PaserMenuAddItem(list), c.ok);
        EXPECT_EQ(list, c.after);
        EXPECT_EQ(LoggedLines(), c.log);
    }
}

TEST_F(ParserTest, TreeGroupFileFlattensGroupsAndStaysOnTheNode)
{
    auto L = [](int line, const char* text) { return P("PaserMenuTreeGroupFile", line, text); };
    const struct { const char* menu; bool ok; List list; std::string log; } cases[] = {
        {"two", true, {"1", "a", "b", "0", "c"}, L(234, "Group End")},
        {"number", true, {"a"}, L(184, "Number[1]")},
        {"three", false, {"old"}, L(194, "Failed No Suppport No.3 case")},
        {"none", false, {"old"}, L(170, "Group Missing")},
        {"object", false, {"old"}, L(178, "Not Array")},
    };
    ASSERT_TRUE(json_reader_read_member(reader_, "menutree"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        CapturedLogs().clear();
        ASSERT_TRUE(json_reader_read_member(reader_, c.menu));
        p_->m_pMenuId = c.menu;
        List list = {"old"};
        EXPECT_EQ(p_->PaserMenuTreeGroupFile(list), c.ok);
        EXPECT_EQ(list, c.list);
        const Lines log = LoggedLines();
        EXPECT_NE(std::find(log.begin(), log.end(), c.log), log.end())
            << testing::PrintToString(log);
        ExpectReaderOn("tag", c.menu);
        json_reader_end_member(reader_);
    }
}

}  // namespace
