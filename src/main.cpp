// tcmap entry point. Batch mode ("~nogui") runs without creating any Qt
// object, so it works on a machine without a display.
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void printUsage(std::FILE* stream) {
    std::fprintf(stream,
                 "usage: tcmap [track files...]\n"
                 "       tcmap ~nogui <settings file> <output picture> <track file> [...]\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        printUsage(stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tcmap %s\n", TCMAP_VERSION);
        return 0;
    }
    printUsage(stderr);
    return 2;
}
