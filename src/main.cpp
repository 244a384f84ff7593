#include <cstdio>

#include "JsonTool.h"

int main(int argc, char** argv)
{
    JsonTool tool;
    if (argc != 2) {
        std::printf("Usage: velkin-tool <filename.json>\n");
        return -1;
    }
    tool.SeparateJsonFile(argv[1]);
    return 0;
}
