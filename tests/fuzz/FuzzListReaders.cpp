// Every kind's list reader over one input, for every purpose it is read
// for: it reads it whole or ends the program, and every row it adds has a
// digest of exactly its algorithm's digits.
#include <cstdlib>
#include <string>
#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListReading.h"
#include "registry/ListKinds.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmar::fuzz::CatchProgramEnd();
    velmar::fuzz::InputFile input(data, size);
    for (const velmar::ListKind* kind : velmar::ListKinds()) {
        for (auto purpose : {velmar::ReadPurpose::MenuVerify, velmar::ReadPurpose::CommandLineVerify,
                             velmar::ReadPurpose::SelectVerify}) {
            velmar::test::FakeWindow window;
            velmar::MainWindowState state;
            velmar::JobFrame frame(window, state);
            std::vector<std::string> digests, names;
            try {
                velmar::ReadListEntries(frame, *kind, input.Path(), purpose, digests, names);
            } catch (const velmar::test::ProgramEnded&) {
            }
            if (digests.size() != names.size()) std::abort();
            for (const auto& digest : digests)
                if (digest.size() != kind->Digits()) std::abort();
        }
    }
    return 0;
}
