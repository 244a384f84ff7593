// The splitter's decisions at their boundaries, one named row each: the group
// gate, the cut of every query at its buffer, the rebuilt and the copied node,
// and the amendment of a definition.
#include <gtest/gtest.h>

#include <cstring>
#include <list>
#include <ostream>
#include <string>

#include "Decisions.h"
#include "Facts.h"
#include "Fragments.h"

using namespace velkin;

namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

struct GateRow {
    const char* name;
    size_t groups;
    bool read;
};
// A failing row shows its name rather than its bytes.
void PrintTo(const GateRow& row, std::ostream* out) { *out << row.name; }

class GroupGate : public testing::TestWithParam<GateRow> {};

TEST_P(GroupGate, ReadsAtMostTwoGroups)
{
    EXPECT_EQ(GroupsAreRead(GetParam().groups), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Rows, GroupGate,
                         testing::Values(GateRow{"no_group", 0, true}, GateRow{"one_group", 1, true},
                                         GateRow{"two_groups", 2, true},
                                         GateRow{"three_groups", 3, false}),
                         RowName<GateRow>);

// A lookup whose expression is `length` bytes long: the fixed part of its
// format (`fixed` bytes) and an identifier of the rest.
struct CutRow {
    const char* name;
    const char* format;  // one "%s", or the group query
    size_t fixed;
    size_t size;
    size_t length;
    bool cut;
    size_t kept;  // bytes the buffer holds
};
void PrintTo(const CutRow& row, std::ostream* out) { *out << row.name; }

class QueryCut : public testing::TestWithParam<CutRow> {};

TEST_P(QueryCut, CutsAtTheBufferEnd)
{
    const CutRow& row = GetParam();
    const std::string id(row.length - row.fixed, 'x');
    const bool group = std::strcmp(row.format, kGroupQuery) == 0;
    const FormattedQuery query =
        group ? FormatQuery(row.size, kGroupQuery, id.c_str(), kGroup, 0, kIndentLevel)
              : FormatQuery(row.size, row.format, id.c_str());
    EXPECT_EQ(query.cut, row.cut);
    ASSERT_EQ(query.text.size(), row.kept);
    // What the splitter's own buffer holds after snprintf.
    std::string buffer(row.size, '\0');
    if (group)
        std::snprintf(buffer.data(), row.size, kGroupQuery, id.c_str(), kGroup, 0, kIndentLevel);
    else
        std::snprintf(buffer.data(), row.size, row.format, id.c_str());
    EXPECT_EQ(query.text, buffer.c_str());
    if (!group) {
        EXPECT_EQ(id.size() <= LongestUncutIdentifier(row.size, row.format), !row.cut);
        EXPECT_EQ(QueryIsCut(row.size, row.format, id), row.cut);
    }
}

// Each format at each buffer it is formatted into: the expression one byte
// shorter than the buffer fits with its terminator; as long as the buffer or
// one byte longer, it is cut to one byte less than the buffer.
#define CUT_ROWS(label, format, fixed, size)                                        \
    CutRow{label "_fits", format, fixed, size, size - 1, false, size - 1},          \
        CutRow{label "_at_size", format, fixed, size, size, true, size - 1},        \
        CutRow{label "_one_over", format, fixed, size, size + 1, true, size - 1}

INSTANTIATE_TEST_SUITE_P(
    Rows, QueryCut,
    testing::Values(CUT_ROWS("item_driver", kItemQuery, 12, kDriverQuerySize),
                    CUT_ROWS("item_lookup", kItemQuery, 12, kLookupQuerySize),
                    CUT_ROWS("menu_driver", kMenuQuery, 11, kDriverQuerySize),
                    CUT_ROWS("amendment_lookup", kAmendmentQuery, 17, kLookupQuerySize),
                    CUT_ROWS("add_list_lookup", kAddListQuery, 19, kLookupQuerySize),
                    CUT_ROWS("group_level", kGroupQuery, 33, kGroupQuerySize),
                    CutRow{"short_item", kItemQuery, 12, kDriverQuerySize, 15, false, 15}),
    RowName<CutRow>);

struct RebuiltRow {
    const char* name;
    std::list<std::string> items;
    std::list<std::string> groups;  // the kept group list
    const char* text;
    bool hasMember;
};
void PrintTo(const RebuiltRow& row, std::ostream* out) { *out << row.name; }

class RebuiltNode : public testing::TestWithParam<RebuiltRow> {};

TEST_P(RebuiltNode, JoinsItemsAndGroups)
{
    const RebuiltRow& row = GetParam();
    const OpenedNode node =
        JoinRebuiltNode(SubmenuItemsFragment(row.items), GroupFragment(row.groups));
    EXPECT_EQ(node.text, row.text);
    EXPECT_EQ(node.hasMember, row.hasMember);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RebuiltNode,
    testing::Values(
        RebuiltRow{"nothing_left", {}, {}, "{", false},
        RebuiltRow{"items_only", {"a", "b"}, {}, R"({"submenuitems":["a","b"])", true},
        RebuiltRow{"groups_only",
                   {},
                   {"1", "a"},
                   R"({"group":[{"indent-level":"1","group-items":["a"]}])",
                   true},
        RebuiltRow{"items_and_groups",
                   {"a"},
                   {"0", "a"},
                   R"({"submenuitems":["a"],"group":[{"indent-level":"0","group-items":["a"]}])",
                   true}),
    RowName<RebuiltRow>);

struct CopiedRow {
    const char* name;
    const char* match;  // the match text of the node's lookup
    const char* text;
    bool hasMember;
};
void PrintTo(const CopiedRow& row, std::ostream* out) { *out << row.name; }

class CopiedNodeRows : public testing::TestWithParam<CopiedRow> {};

TEST_P(CopiedNodeRows, KeepsTheNodeOpen)
{
    const OpenedNode node = CopiedNode(GetParam().match);
    EXPECT_EQ(node.text, GetParam().text);
    EXPECT_EQ(node.hasMember, GetParam().hasMember);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CopiedNodeRows,
    testing::Values(CopiedRow{"object_with_members", R"([{"submenuitems":["a"]}])",
                              R"({"submenuitems":["a"])", true},
                    CopiedRow{"empty_object", "[{}]", "{", false},
                    CopiedRow{"not_found", "[]", "{", false},
                    CopiedRow{"no_result", nullptr, "{", false},
                    CopiedRow{"a_string", R"(["ab"])", "{", false},
                    CopiedRow{"an_array", "[[1,2]]", "{", false}),
    RowName<CopiedRow>);

struct AmendedRow {
    const char* name;
    bool inModifyList;
    bool found;
    const char* definition;
    bool amended;
};
void PrintTo(const AmendedRow& row, std::ostream* out) { *out << row.name; }

class Amended : public testing::TestWithParam<AmendedRow> {};

TEST_P(Amended, NeedsListAmendmentAndObject)
{
    const AmendedRow& row = GetParam();
    EXPECT_EQ(IsAmended(row.inModifyList, row.found, row.definition), row.amended);
}

INSTANTIATE_TEST_SUITE_P(Rows, Amended,
                         testing::Values(AmendedRow{"all_three", true, true, R"({"a":1})", true},
                                         AmendedRow{"empty_object", true, true, "{}", true},
                                         AmendedRow{"not_in_modify_list", false, true, "{}", false},
                                         AmendedRow{"no_amendment", true, false, "{}", false},
                                         AmendedRow{"string_definition", true, true, "\"{\"", false},
                                         AmendedRow{"array_definition", true, true, "[{}]", false},
                                         AmendedRow{"nothing_true", false, false, "1", false}),
                         RowName<AmendedRow>);

// The amendment read from its match text, and the definition it gives.
struct AmendmentRow {
    const char* name;
    const char* match;
    AmendmentStatus status;
    const char* open;     // the definition without its closing brace
    const char* written;  // the amended definition, when found
};
void PrintTo(const AmendmentRow& row, std::ostream* out) { *out << row.name; }

class Amendment : public testing::TestWithParam<AmendmentRow> {};

TEST_P(Amendment, SplicesObjectMembers)
{
    const AmendmentRow& row = GetParam();
    std::string members;
    ASSERT_EQ(ReadAmendment(row.match, members), row.status);
    if (row.status == AmendmentStatus::Found) {
        EXPECT_EQ(AmendDefinition(row.open, members), row.written);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Amendment,
    testing::Values(
        AmendmentRow{"members_after_members", R"([{"b":2}])", AmendmentStatus::Found, R"({"a":1)",
                     R"({"a":1,"b":2,"modify":"true"})"},
        AmendmentRow{"members_into_empty_definition", R"([{"b":2}])", AmendmentStatus::Found, "{",
                     R"({"b":2,"modify":"true"})"},
        AmendmentRow{"empty_object_too_short", "[{}]", AmendmentStatus::TooShort, "", ""},
        AmendmentRow{"not_found", "[]", AmendmentStatus::TooShort, "", ""},
        AmendmentRow{"number_of_four_bytes", "[12]", AmendmentStatus::TooShort, "", ""},
        AmendmentRow{"number_of_five_bytes", "[123]", AmendmentStatus::NotObject, "", ""},
        AmendmentRow{"string", R"(["ab"])", AmendmentStatus::NotObject, "", ""}),
    RowName<AmendmentRow>);

}  // namespace
