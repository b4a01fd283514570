// Every kind's list reader over one input, for every purpose it is read
// for, and again as a one-file list named after its file where the kind has
// those: it reads it whole or fails the job, and every row it adds has a
// digest of exactly its algorithm's digits.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListReading.h"
#include "kinds/ListKinds.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/RecordingSink.h"

namespace {

void ReadWhole(const velmar::ListKind& kind, const std::string& path, velmar::ReadPurpose purpose) {
    velmar::test::RecordingSink sink;
    velmar::JobControl control;
    velmar::JobFrame frame(sink, control);
    std::vector<std::string> digests, names;
    frame.Run([&] { velmar::ReadListEntries(frame, kind, path, purpose, digests, names); });
    if (digests.size() != names.size()) std::abort();
    for (const auto& digest : digests)
        if (digest.size() != kind.Digits()) std::abort();
}

// A folder of this process's own for the names that make an input a
// one-file list, gone with the process.
struct NamesFolder {
    std::string path;
    NamesFolder() {
        char name[] = "/tmp/velmar-fuzz-XXXXXX";
        if (::mkdtemp(name)) path = name;
    }
    ~NamesFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmar::fuzz::InputFile input(data, size);
    for (const velmar::ListKind* kind : velmar::ListKinds()) {
        for (auto purpose : {velmar::ReadPurpose::MenuVerify, velmar::ReadPurpose::CommandLineVerify,
                             velmar::ReadPurpose::SelectVerify})
            ReadWhole(*kind, input.Path(), purpose);
        static const NamesFolder folder;
        if (!kind->sidecarExtensions[0] || folder.path.empty()) continue;
        const std::string sidecar = folder.path + "/input.bin" + kind->sidecarExtensions[0];
        ::unlink(sidecar.c_str());
        if (::symlink(input.Path().c_str(), sidecar.c_str()) == 0) ReadWhole(*kind, sidecar, velmar::ReadPurpose::MenuVerify);
    }
    return 0;
}
