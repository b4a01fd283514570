// What the window is asked to do at start, told from its command line (the
// program's own path left out): a list to verify as the first argument, as
// the desktop's file-type tie starts Velmar, or one of the options the
// desktop entry and the file managers' actions use.
#pragma once

#include <string>
#include <vector>

#include "lists/ListKind.h"

namespace velmar {

struct WindowStart {
    enum class Action {
        None,         // the window alone
        VerifyFirst,  // LIST [ignored...]: the first argument verified, as ever
        VerifyLists,  // --verify LIST...: each verified in turn
        VerifyFolder, // --verify-folder [FOLDER]: every list below it
        Create,       // --create [--kind KIND] [FILE...|FOLDER]
        Check,        // --check [FILE [DIGEST]]
    };
    Action action = Action::None;
    std::vector<std::string> paths;
    const ListKind* kind = nullptr;  // --kind; nullptr: the user is asked
    std::string digest;              // --check's DIGEST
    std::string refusal;             // why the arguments were refused; "" when they were not
};

WindowStart ParseWindowArguments(const std::vector<std::string>& arguments);

// The window's usage text, for --help and a refusal.
extern const char* const WindowUsage;

}  // namespace velmar
