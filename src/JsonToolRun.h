// What one run of JsonTool::SeparateJsonFile keeps while it walks
// "menutree": the member names, the helper file, each menu's file while it is
// written, and the hold on the loaded document. Included by JsonTool.cpp only.
#pragma once

#include <fstream>
#include <list>
#include <string>
#include <string_view>

#include "Fragments.h"
#include "JsonPacker.h"
#include "JsonParser.h"
#include "JsonTool.h"
#include "OutputFiles.h"
#include "Profiles.h"

namespace {

// The names of "menutree"'s members, and whether the reader stepped into it.
struct MenuNames {
    bool entered = false;
    int count = 0;
    gchar** names = nullptr;

    MenuNames() = default;
    MenuNames(const MenuNames&) = delete;
    MenuNames& operator=(const MenuNames&) = delete;
    ~MenuNames() { g_strfreev(names); }
};

}  // namespace

// What a run keeps while it walks "menutree".
struct JsonTool::Run {
    Run(const char* definition, const std::string& root)
        : path(definition),
          profile(velkin::FindProfile(definition)),
          helper(velkin::HelperFilePath(root, profile))
    {
        Write(helper, velkin::kHelperOpening);
    }

    const char* path;
    const velkin::Profile* profile;
    std::ofstream helper;
    EntryList helperEntries{helper, velkin::kHelperClosing};
    CJsonParser* query = CJsonParser::GetInstance();
    CJsonPacker* packer = nullptr;

    // "item":"menu" in the helper file.
    void WriteHelperEntry(std::string_view item, std::string_view menu)
    {
        Write(helperEntries.Next(), velkin::HelperEntry(item, menu));
    }
};

// One menu's file while it is written: its item entries, then its node.
struct JsonTool::Menu {
    Menu(char* menu, const std::string& path) : id(menu), file(path)
    {
        Write(file, velkin::kMenuFileOpening);
    }

    char* id;
    std::ofstream file;
    EntryList entries{file, velkin::kMenuTreeOpening};
    std::list<std::string> items;
    std::list<std::string> groups;
    bool rebuild = false;  // items were dropped or added: the node is rebuilt
    bool nodeHasMember = false;
};

// The run's hold on its document: it loads the document, lends it to the query
// singleton, and on every path out takes the loan back before DestroyReader
// releases the singletons and the document. One object holds both, so no order
// of declarations can leave the singleton borrowing a released document.
class JsonTool::Document {
public:
    Document(JsonTool& tool, const char* path) : m_tool(tool), m_loaded(tool.InitReader(path) == 0)
    {
    }
    ~Document()
    {
        if (m_query != nullptr) {
            m_query->m_pMenuId = nullptr;
            m_query->m_pReader = nullptr;
            m_query->m_pParser = nullptr;
            m_query->m_pGenerator = nullptr;
        }
        m_tool.DestroyReader();
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    bool Loaded() const { return m_loaded; }

    // Lends the reader, the parser and the generator to the query singleton
    // until the run ends.
    void Lend()
    {
        m_query = CJsonParser::GetInstance();
        m_query->m_pGenerator = m_tool.m_pGenerator.get();
        m_query->m_pParser = m_tool.m_pParser.get();
        m_query->m_pReader = m_tool.m_pReader.get();
    }

private:
    JsonTool& m_tool;
    const bool m_loaded;
    CJsonParser* m_query = nullptr;
};
