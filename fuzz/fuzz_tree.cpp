// The viewer on arbitrary bytes, as a definition and as a menu file read
// back. On top of the sanitizers and the GLib check: every view of a
// definition renders, the JSON views are strict JSON that json-glib reads
// back, a model compared with itself has no difference, and the raw scanner
// accepts no object that a second strict scanner refuses.
#include <json-glib/json-glib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Diff.h"
#include "DiffReport.h"
#include "DotView.h"
#include "FuzzSupport.h"
#include "HtmlView.h"
#include "JsonView.h"
#include "ProfileDirectory.h"
#include "RawJson.h"
#include "Source.h"
#include "TextView.h"

namespace {

void CheckJson(const std::string& text)
{
    CHECK(StrictJson(text));
    g_autoptr(JsonParser) parser = json_parser_new();
    CHECK(
        json_parser_load_from_data(parser, text.data(), static_cast<gssize>(text.size()), nullptr));
}

void AllViews(const velkin::EffectiveMenu& model)
{
    for (const std::string& text :
         {tree::RenderText(model, false), tree::RenderText(model, true, true), tree::RenderDot(model, "menu-tv.json"),
          tree::RenderHtml(model, "menu-tv.json")})
        CHECK(g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr));
    CheckJson(tree::RenderJson(model));
    const tree::MenuDiff same = tree::CompareMenus(model, model);
    CHECK(same.Equal());
    CheckJson(tree::DiffJson(same));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FailOnGLibWarning();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    velkin::EffectiveMenu model;
    std::string error;
    if (tree::LoadDefinition(text, "menu-tv.json", model, error))
        AllViews(model);
    else
        CHECK(!error.empty() && error.find('\n') == std::string::npos);

    std::vector<velkin::RawMember> members;
    if (velkin::ScanObject(text, members))
        CHECK(StrictJson(text));
    velkin::Menu menu;
    std::string reason;
    if (velkin::ReadMenuFile("m", text, menu, reason)) {
        velkin::EffectiveMenu read;
        read.menus.push_back(menu);
        read.Link();
        AllViews(read);
        const tree::MenuDiff diff = tree::CompareMenus(read, model);
        CheckJson(tree::DiffJson(diff));
        tree::DiffText(diff, true);
    }
    velkin::HelperOrder(text);
    return 0;
}
