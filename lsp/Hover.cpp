// Hover: what the device gets for the identifier at a position, read from
// the effective menu.
#include <set>
#include <sstream>

#include "Diagnostics.h"
#include "Document.h"
#include "Facts.h"
#include "Features.h"
#include "Json.h"
#include "Profiles.h"

namespace lsp {

using namespace velkin;

namespace {

constexpr size_t kDefinitionLines = 8;
constexpr char kPathSeparator[] = " \xe2\x80\xba ";  // " › "

// The file a menu is written to, relative to the resource root.
std::string FileOf(const EffectiveMenu& menu, const std::string& id)
{
    const std::string path = MenuFilePath("", menu.profile, id);
    return path.substr(path.find_first_not_of('/'));
}

// The menus from a top menu down to `id`, by the parent links written.
std::string PathTo(const EffectiveMenu& menu, const std::string& id)
{
    std::vector<std::string> chain{id};
    std::set<std::string> seen{id};
    for (const Menu* m = menu.Find(id); m != nullptr && m->parent && seen.insert(*m->parent).second;
         m = menu.Find(*m->parent))
        chain.push_back(*m->parent);
    std::string out;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        out += (out.empty() ? "" : kPathSeparator) + *it;
    return out;
}

// A JSON text indented, cut after a few lines.
std::string Shown(const std::string& json)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    std::string text = json;
    if (json_parser_load_from_data(parser, json.c_str(), static_cast<gssize>(json.size()),
                                   nullptr) &&
        json_parser_get_root(parser) != nullptr) {
        g_autoptr(JsonGenerator) generator = json_generator_new();
        json_generator_set_pretty(generator, TRUE);
        json_generator_set_root(generator, json_parser_get_root(parser));
        g_autofree gchar* pretty = json_generator_to_data(generator, nullptr);
        text = pretty;
    }
    size_t cut = 0;
    for (size_t line = 0; line < kDefinitionLines && cut != std::string::npos; ++line)
        cut = text.find('\n', cut == 0 ? 0 : cut + 1);
    return cut == std::string::npos ? text : text.substr(0, cut) + "\n...";
}

std::string DisplayName(const std::string& definition)
{
    g_autoptr(JsonParser) parser = json_parser_new();
    if (!json_parser_load_from_data(parser, definition.c_str(),
                                    static_cast<gssize>(definition.size()), nullptr))
        return {};
    const char* name = AsString(MemberOf(json_parser_get_root(parser), "display-name"));
    return name != nullptr ? name : "";
}

std::string Status(const ItemEntry& entry)
{
    std::string out;
    if (entry.origin == Origin::Added)
        out += ", added";
    if (entry.amended)
        out += ", amended";
    if (entry.placeholder)
        out += ", placeholder: no definition found";
    return out;
}

// Each written menu file holding the item.
void DescribeItem(const EffectiveMenu& menu, const std::string& id, std::ostringstream& out)
{
    std::string definition;
    for (const Menu& m : menu.menus)
        for (const ItemEntry& entry : m.items) {
            if (entry.id != id)
                continue;
            if (definition.empty()) {
                const std::string name = DisplayName(entry.definition);
                out << "**" << (name.empty() ? id : name) << "** `" << id << "`\n\n";
                definition = entry.definition;
            }
            out << "- in `" << FileOf(menu, m.id) << "`: `" << PathTo(menu, m.id) << kPathSeparator
                << id << "`" << Status(entry) << "\n";
        }
    if (!definition.empty())
        out << "\n```json\n" << Shown(definition) << "\n```\n";
}

// An item under "menuitems" that no menu file holds.
void DescribeUnwritten(JsonNode* root, const std::string& id, std::ostringstream& out)
{
    JsonNode* item = MemberOf(MemberOf(root, kMenuItems), id.c_str());
    if (item == nullptr)
        return;
    g_autoptr(JsonGenerator) generator = json_generator_new();
    json_generator_set_root(generator, item);
    g_autofree gchar* text = json_generator_to_data(generator, nullptr);
    const std::string name = DisplayName(text);
    out << "**" << (name.empty() ? id : name) << "** `" << id << "`: written into no menu file\n\n"
        << "```json\n"
        << Shown(text) << "\n```\n";
}

void DescribeMenu(const EffectiveMenu& menu, const std::string& id, std::ostringstream& out)
{
    const Menu* m = menu.Find(id);
    if (m == nullptr)
        return;
    out << "menu `" << id << "`: " << (m->parent ? "parent `" + *m->parent + "`" : "a top menu")
        << ", " << m->entries.size() << (m->entries.size() == 1 ? " entry" : " entries")
        << ", file `" << FileOf(menu, id) << "`\n\n";
}

void DescribeEdits(const EffectiveMenu& menu, const std::string& id, std::ostringstream& out)
{
    for (const std::string& deleted : menu.edits.deleted)
        if (deleted == id) {
            out << "- deleted by \"" << kMenuDelete << "\"\n";
            break;
        }
    for (const std::string& deleted : menu.deleted)
        if (deleted == id) {
            out << "- menu deleted: no file is written for it\n";
            break;
        }
}

}  // namespace

JsonNode* Hover(const Request& request)
{
    const Occurrence* at = request.model.At(request.offset);
    const EffectiveMenu* menu = request.model.Menu();
    if (at == nullptr || menu == nullptr)
        return NullNode();
    std::ostringstream out;
    DescribeMenu(*menu, at->id, out);
    const size_t before = out.tellp();
    DescribeItem(*menu, at->id, out);
    if (static_cast<size_t>(out.tellp()) == before)
        DescribeUnwritten(request.model.Root(), at->id, out);
    DescribeEdits(*menu, at->id, out);
    if (out.str().empty())
        out << "`" << at->id << "` is written into no menu file\n";
    JsonObject* contents = json_object_new();
    Set(contents, "kind", "markdown");
    Set(contents, "value", out.str());
    JsonObject* result = json_object_new();
    Set(result, "contents", ObjectNode(contents));
    Set(result, "range", RangeNode(RangeOf(request, at->begin, at->end)));
    return ObjectNode(result);
}

}  // namespace lsp
