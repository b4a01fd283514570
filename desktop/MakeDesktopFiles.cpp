// Writes the installed desktop files at build time:
//   make-desktop-files MIME_PACKAGE DESKTOP_ENTRY
#include <cstdio>
#include <fstream>

#include "desktop/DesktopFiles.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: make-desktop-files MIME_PACKAGE DESKTOP_ENTRY\n", stderr);
        return 2;
    }
    std::ofstream(argv[1], std::ios::binary) << velmar::MimePackageXml();
    std::ofstream(argv[2], std::ios::binary) << velmar::DesktopEntry();
    return std::ifstream(argv[1]) && std::ifstream(argv[2]) ? 0 : 1;
}
