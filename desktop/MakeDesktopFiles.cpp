// Writes the installed desktop files at build time:
//   make-desktop-files MIME_PACKAGE DESKTOP_ENTRY [TEMPLATE OUTPUT]...
// each TEMPLATE (a file manager's action) written to OUTPUT with the
// checksum lists' types put in.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "desktop/DesktopFiles.h"

namespace {

bool Write(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fputs("usage: make-desktop-files MIME_PACKAGE DESKTOP_ENTRY [TEMPLATE OUTPUT]...\n", stderr);
        return 2;
    }
    bool written = Write(argv[1], velmar::MimePackageXml()) && Write(argv[2], velmar::DesktopEntry());
    for (int i = 3; i + 1 < argc; i += 2) {
        std::ifstream in(argv[i], std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        written = written && in && Write(argv[i + 1], velmar::WithChecksumListTypes(text.str()));
    }
    return written ? 0 : 1;
}
