// Checksums whole files through Crc32File or MD5FileDigest, one buffer for
// the whole run as a job would hold it. bench/peers.sh times it against cat
// and the peer tools on the same file.
//
//   file_checksum crc FILE...   prints "NAME XXXXXXXX" per file
//   file_checksum md5 FILE...   prints "digest  NAME" per file
#include <cstdio>
#include <cstring>
#include <string>

#include "checksum/Crc32.h"
#include "checksum/Md5.h"

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[1], "crc") != 0 && std::strcmp(argv[1], "md5") != 0)) {
        std::fprintf(stderr, "usage: %s crc|md5 FILE...\n", argv[0]);
        return 2;
    }
    bool crc = std::strcmp(argv[1], "crc") == 0;
    velmar::ReadBuffer buffer;
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        std::string path = argv[i];
        if (crc) {
            auto r = velmar::Crc32File(path, buffer);
            if (!r.opened || r.readFailed) {
                std::fprintf(stderr, "%s: cannot read\n", argv[i]);
                status = 1;
                continue;
            }
            std::printf("%s %.8X\n", argv[i], r.crc);
        } else {
            auto r = velmar::MD5FileDigest(path, buffer);
            if (r.status != velmar::FileDigestStatus::Ok) {
                std::fprintf(stderr, "%s: cannot read\n", argv[i]);
                status = 1;
                continue;
            }
            std::printf("%s  %s\n", r.text.c_str(), argv[i]);
        }
    }
    return status;
}
