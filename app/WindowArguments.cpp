#include "app/WindowArguments.h"

#include "kinds/ListKinds.h"

namespace velmar {

const char* const WindowUsage =
    "usage: velmar [LIST]                            the window; a LIST given is verified at once\n"
    "       velmar --verify LIST...                  each LIST verified in turn\n"
    "       velmar --verify-folder [FOLDER]          every list below FOLDER, each against its own folder\n"
    "       velmar --create [--kind KIND] [FILE...|FOLDER]\n"
    "                                                a list of the files or the folder prepared; go! writes it\n"
    "       velmar --check [FILE [DIGEST]]           a file checked against a digest or a list\n"
    "       velmar --add-thunar-actions              Velmar's actions added to Thunar's menu\n"
    "       velmar --help | --version\n"
    "\n"
    "KIND is sfv, md5, m3u, sha256, sha1, sha512, blake2, blake3, xxh3, xxh128,\n"
    "sha3-256 or sha3-512; without it Velmar asks which list to create.\n"
    "velmar-cli does the same jobs without a window (velmar-cli --help).\n";

WindowStart ParseWindowArguments(const std::vector<std::string>& arguments) {
    WindowStart start;
    if (arguments.empty()) return start;
    // A first argument that is no option is a list, whatever follows it:
    // the desktop's file-type tie passes one path that way.
    if (arguments.front().rfind("--", 0) != 0) {
        start.action = WindowStart::Action::VerifyFirst;
        start.paths = {arguments.front()};
        return start;
    }
    // The options in any order, up to the first path; "--" ends them, so
    // that a path may begin with dashes.
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].rfind("--", 0) == 0; ++next) {
        const std::string& option = arguments[next];
        if (option == "--") {
            ++next;
            break;
        }
        const auto action = option == "--verify"          ? WindowStart::Action::VerifyLists
                             : option == "--verify-folder" ? WindowStart::Action::VerifyFolder
                             : option == "--create" ? WindowStart::Action::Create
                             : option == "--check"  ? WindowStart::Action::Check
                                                    : WindowStart::Action::None;
        if (action != WindowStart::Action::None) {
            if (start.action != WindowStart::Action::None && start.action != action) {
                start.refusal = "one of --verify, --verify-folder, --create and --check at a time";
                return start;
            }
            start.action = action;
        } else if (option == "--kind") {
            if (next + 1 == arguments.size()) {
                start.refusal = "--kind needs a kind";
                return start;
            }
            start.kind = KindByShortName(arguments[++next]);
            if (!start.kind) {
                start.refusal = "no kind of list is called " + arguments[next];
                return start;
            }
        } else {
            start.refusal = "unknown option " + option;
            return start;
        }
    }
    if (start.kind && start.action != WindowStart::Action::Create) {
        start.refusal = "--kind goes with --create";
        return start;
    }
    start.paths.assign(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
    if (start.action == WindowStart::Action::VerifyFolder && start.paths.size() > 1)
        start.refusal = "--verify-folder takes one folder";
    if (start.action == WindowStart::Action::Check) {
        if (start.paths.size() > 2) start.refusal = "--check takes one file and at most one digest";
        if (start.paths.size() == 2) {
            start.digest = start.paths.back();
            start.paths.pop_back();
        }
    }
    return start;
}

}  // namespace velmar
