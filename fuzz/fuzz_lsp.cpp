// The language server on arbitrary bytes as its input, after an initialize:
// framed in two reads split where the first byte says, with a check between
// them, as the program reads. On top of the sanitizers and the GLib check:
// every message it writes is a JSON-RPC 2.0 object in UTF-8 that json-glib
// reads back, and a request is answered at most once.
#include <json-glib/json-glib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Frames.h"
#include "FuzzSupport.h"
#include "Server.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FailOnGLibWarning();
    return 0;
}

static void Written(const std::string& body)
{
    CHECK(g_utf8_validate(body.data(), static_cast<gssize>(body.size()), nullptr));
    g_autoptr(JsonParser) parser = json_parser_new();
    CHECK(
        json_parser_load_from_data(parser, body.data(), static_cast<gssize>(body.size()), nullptr));
    JsonNode* root = json_parser_get_root(parser);
    CHECK(root != nullptr && JSON_NODE_HOLDS_OBJECT(root));
    JsonObject* message = json_node_get_object(root);
    CHECK(g_strcmp0(json_object_get_string_member_with_default(message, "jsonrpc", ""), "2.0") ==
          0);
    CHECK(json_object_has_member(message, "method") || json_object_has_member(message, "id"));
}

static void Read(lsp::FrameReader& reader, lsp::Server& server)
{
    std::string body;
    for (auto s = reader.Next(body); s != lsp::FrameReader::Status::NeedMore && !server.Exited();
         s = reader.Next(body)) {
        if (s == lsp::FrameReader::Status::Frame)
            server.Receive(body);
        else
            server.ReceiveMalformed();
    }
    if (!server.Exited())
        server.Idle();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    lsp::Server server(Written);
    lsp::FrameReader reader;
    reader.Feed(lsp::Frame(
        R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})"));
    Read(reader, server);
    const size_t split = size == 0 ? 0 : data[0] % (size + 1);
    reader.Feed(input.substr(0, split));
    Read(reader, server);
    reader.Feed(input.substr(split));
    Read(reader, server);
    CHECK(server.ExitStatus() == 0 || server.ExitStatus() == 1);
    return 0;
}
