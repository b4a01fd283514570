// Checksums whole files through DigestFile, one buffer for
// the whole run as a job would hold it. bench/peers.sh times it against cat
// and the peer tools on the same file.
//
//   file_checksum crc FILE...   prints "NAME XXXXXXXX" per file
//   file_checksum md5 FILE...   prints "digest  NAME" per file
//   file_checksum sha256 FILE...
//   file_checksum b3 FILE...
#include <cstdio>
#include <map>
#include <string>

#include "checksum/FileDigest.h"

int main(int argc, char** argv) {
    const std::map<std::string, velmar::DigestAlgorithm> algorithms = {
        {"crc", velmar::DigestAlgorithm::Crc32}, {"md5", velmar::DigestAlgorithm::Md5},
        {"sha256", velmar::DigestAlgorithm::Sha256}, {"b3", velmar::DigestAlgorithm::Blake3}};
    if (argc < 3 || !algorithms.count(argv[1])) {
        std::fprintf(stderr, "usage: %s crc|md5|sha256|b3 FILE...\n", argv[0]);
        return 2;
    }
    const velmar::DigestAlgorithm algorithm = algorithms.at(argv[1]);
    velmar::ReadBuffer buffer;
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const auto r = velmar::DigestFile(algorithm, argv[i], buffer);
        if (r.status != velmar::FileDigestStatus::Ok) {
            std::fprintf(stderr, "%s: cannot read\n", argv[i]);
            status = 1;
            continue;
        }
        if (algorithm == velmar::DigestAlgorithm::Crc32) std::printf("%s %.8X\n", argv[i], velmar::Crc32Of(r));
        else std::printf("%s  %s\n", r.Text().c_str(), argv[i]);
    }
    return status;
}
