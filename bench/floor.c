/* The least any run over a menu definition must do: parse the file once with
 * json-glib and serialise the whole document once with its generator. The
 * text goes to /dev/null. */
#include <json-glib/json-glib.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: velkin-floor <definition.json>\n");
        return 2;
    }
    JsonParser *parser = json_parser_new();
    GError *error = NULL;
    if (!json_parser_load_from_file(parser, argv[1], &error)) {
        fprintf(stderr, "velkin-floor: %s\n", error->message);
        g_error_free(error);
        g_object_unref(parser);
        return 1;
    }
    JsonGenerator *generator = json_generator_new();
    json_generator_set_root(generator, json_parser_get_root(parser));
    gsize length = 0;
    gchar *text = json_generator_to_data(generator, &length);
    FILE *sink = fopen("/dev/null", "wb");
    if (sink != NULL) {
        fwrite(text, 1, length, sink);
        fclose(sink);
    }
    g_free(text);
    g_object_unref(generator);
    g_object_unref(parser);
    return 0;
}
