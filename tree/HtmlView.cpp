#include "HtmlView.h"

#include "Labels.h"
#include "TextView.h"
#include "Walk.h"

namespace tree {

namespace {

const char kHead[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<style>
body { font: 14px/1.45 system-ui, sans-serif; margin: 0 1.5em 2em; color: #222; }
header { position: sticky; top: 0; background: #fff; padding: .6em 0; border-bottom: 1px solid #ddd; }
h1 { font-size: 1.2em; margin: .2em 0 .5em; }
h1 small, #count { color: #666; font-weight: normal; }
h2 { font-size: 1em; margin: 1.5em 0 .5em; color: #a33; }
input[type=search] { font: inherit; padding: .25em .5em; width: 22em; }
.legend { margin: .5em 0 0; color: #444; }
.legend > span { margin-right: 1.5em; }
main > details { margin-top: 1em; }
ul { list-style: none; margin: 0; padding-left: 1.6em; border-left: 1px solid #e2e2e2; }
li { margin: .1em 0; }
li > span.line { padding-left: 1.1em; }
summary { cursor: pointer; }
.id { font-family: ui-monospace, monospace; }
.root > summary .id, .menu > summary .id { font-weight: bold; }
.name { color: #555; margin-left: .6em; }
.mark { font-family: ui-monospace, monospace; font-weight: bold; margin-right: .4em; }
.added { color: #1a7f37; } .amended { color: #b35900; } .placeholder { color: #c62828; }
a.ref { color: #888; margin-left: .6em; font-size: 90%; }
[hidden] { display: none !important; }
</style>
)";

const char kScript[] = R"(<script>
(function () {
  var box = document.getElementById('q'), count = document.getElementById('count');
  var entries = Array.prototype.slice.call(document.querySelectorAll('li.entry'));
  var roots = Array.prototype.slice.call(document.querySelectorAll('.root'));
  function matches(element, q) {
    var text = element.getAttribute('data-id') + '\n' + (element.getAttribute('data-name') || '');
    return text.toLowerCase().indexOf(q) >= 0;
  }
  // Children come after their parents in document order: walking backwards,
  // an entry knows whether something below it is kept before it is decided.
  function apply(text) {
    var q = text.trim().toLowerCase(), found = 0;
    entries.forEach(function (li) { li.velkinKeep = false; });
    for (var i = entries.length - 1; i >= 0; i--) {
      var li = entries[i], own = q === '' || matches(li, q), below = li.velkinKeep;
      li.hidden = !(own || below);
      if (q === '' || li.hidden) continue;
      if (own) found++;
      var up = li.parentElement.closest('li.entry');
      if (up) up.velkinKeep = true;
      var sub = li.querySelector(':scope > details');
      if (sub && below) sub.open = true;
    }
    roots.forEach(function (root) {
      var kept = root.querySelector('li.entry:not([hidden])') !== null;
      root.hidden = q !== '' && !kept && !matches(root, q);
      if (q !== '' && kept) root.open = true;
    });
    count.textContent = q === '' ? '' : found + (found === 1 ? ' entry matches' : ' entries match');
  }
  box.addEventListener('input', function () {
    apply(box.value);
    try {
      history.replaceState(null, '', box.value === '' ? location.pathname + location.search
                                                       : '#q=' + encodeURIComponent(box.value));
    } catch (e) {}
  });
  var given = /^#q=(.*)$/.exec(location.hash);
  if (given) {
    try { box.value = decodeURIComponent(given[1]); } catch (e) { box.value = given[1]; }
    apply(box.value);
  }
})();
</script>
)";

class HtmlDrawer : public TreeVisitor {
public:
    explicit HtmlDrawer(const velkin::EffectiveMenu& model, std::string& out)
        : m_model(model), m_out(out)
    {
    }

    void BeginRoot(size_t menu, bool shown) override
    {
        const std::string id = HtmlEscaped(m_model.menus[menu].id);
        m_out += "<details class=\"root\" open data-id=\"" + id + "\"";
        if (!shown)
            m_out += " data-menu=\"" + id + "\" id=\"menu-" + std::to_string(menu) + "\"";
        m_out += "><summary><span class=\"id\">" + id + "</span>";
        if (shown)
            SeeAbove(menu);
        m_out += "</summary>\n<ul>\n";
    }
    void EndRoot() override { m_out += "</ul>\n</details>\n"; }
    void BeginUnreachable() override { m_out += "<h2>Not reached from a top menu</h2>\n"; }

    void VisitEntry(size_t menu, size_t index, size_t, bool, Reach reach) override
    {
        const velkin::Menu& m = m_model.menus[menu];
        const velkin::Entry& entry = m.entries[index];
        const std::optional<std::string> name = NameOf(m, entry);
        m_out += "<li class=\"entry\" data-id=\"" + HtmlEscaped(entry.id) + "\"";
        if (name)
            m_out += " data-name=\"" + HtmlEscaped(*name) + "\"";
        m_out += ">";
        if (reach == Reach::Expanded) {
            const size_t sub = MenuIndex(m_model, entry);
            m_out += "<details class=\"menu\" data-menu=\"" + HtmlEscaped(entry.id) +
                     "\" id=\"menu-" + std::to_string(sub) + "\"><summary>";
            Label(m, entry, name);
            m_out += "</summary>\n<ul>\n";
            return;
        }
        m_out += "<span class=\"line\">";
        Label(m, entry, name);
        if (reach == Reach::Shown)
            SeeAbove(MenuIndex(m_model, entry));
        m_out += "</span></li>\n";
    }
    void LeaveEntry() override { m_out += "</ul>\n</details></li>\n"; }

private:
    const velkin::EffectiveMenu& m_model;
    std::string& m_out;

    static std::optional<std::string> NameOf(const velkin::Menu& menu, const velkin::Entry& entry)
    {
        const velkin::ItemEntry* item = menu.DefinitionOf(entry);
        return item != nullptr ? DisplayName(item->definition) : std::nullopt;
    }

    void SeeAbove(size_t menu)
    {
        m_out +=
            "<a class=\"ref\" href=\"#menu-" + std::to_string(menu) + "\">" + kSeeAbove + "</a>";
    }

    void Label(const velkin::Menu& menu, const velkin::Entry& entry,
               const std::optional<std::string>& name)
    {
        const Marks marks = MarksOf(menu, entry);
        if (marks.added)
            m_out += "<span class=\"mark added\" title=\"added\">+</span>";
        if (marks.amended)
            m_out += "<span class=\"mark amended\" title=\"amended\">~</span>";
        if (marks.placeholder)
            m_out += "<span class=\"mark placeholder\" title=\"no definition\">!</span>";
        m_out += "<span class=\"id\">" + HtmlEscaped(entry.id) + "</span>";
        if (name)
            m_out += "<span class=\"name\">" + HtmlEscaped(*name) + "</span>";
    }
};

void Header(std::string& out, const velkin::EffectiveMenu& model, std::string_view title)
{
    out += "<title>velkin-tree: " + HtmlEscaped(title) + "</title>\n</head>\n<body>\n<header>\n";
    out += "<h1>" + HtmlEscaped(title) + " <small>profile " +
           (model.profile != nullptr ? model.profile->dir : "none") + "</small></h1>\n";
    out +=
        "<label>Search <input type=\"search\" id=\"q\" autocomplete=\"off\" "
        "placeholder=\"identifier or display name\"></label> <span id=\"count\"></span>\n";
    out += std::string("<p class=\"legend\">") + "<span><span class=\"mark added\">+</span>" +
           kAddedMeaning + "</span>" + "<span><span class=\"mark amended\">~</span>" +
           kAmendedMeaning + "</span>" + "<span><span class=\"mark placeholder\">!</span>" +
           kPlaceholderMeaning + "</span></p>\n</header>\n";
}

}  // namespace

std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    for (char c : Printable(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string RenderHtml(const velkin::EffectiveMenu& model, std::string_view title)
{
    std::string out = kHead;
    Header(out, model, title);
    out += "<main>\n";
    if (model.menus.empty())
        out += std::string("<p>") + kNoMenu + "</p>\n";
    HtmlDrawer drawer(model, out);
    Walk(model, drawer);
    out += "</main>\n";
    out += kScript;
    return out + "</body>\n</html>\n";
}

}  // namespace tree
