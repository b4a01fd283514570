#include "cli/CliOptions.h"

#include <algorithm>

#include "kinds/ListKinds.h"

namespace velmar {

std::string CliUsage() {
    std::string kinds;
    for (const ListKind* kind : ListKinds()) kinds += (kinds.empty() ? "" : "|") + KindShortName(*kind);
    return
    "usage: velmar-cli verify [OPTIONS] LIST...        check every file each list names\n"
    "       velmar-cli create --kind KIND [-o LIST] [OPTIONS] FILE...|FOLDER\n"
    "       velmar-cli audit [--update] [OPTIONS] LIST changed, missing, new and moved files\n"
    "       velmar-cli add [OPTIONS] LIST              add the files the list does not name\n"
    "       velmar-cli check FILE [DIGEST|--list LIST] check a file against a digest, or show its digests\n"
    "       velmar-cli compare FILE1 FILE2             whether two files are identical\n"
    "       velmar-cli --help | --version\n"
    "\n"
    "  --kind KIND        read or write the list as KIND (" + kinds + "),\n"
    "                     whatever its name and lines\n"
    "  -o LIST            the list create writes (default: the kind's usual name in the files' folder)\n"
    "  --comment file-info|none|text:TEXT|file:PATH   create's comments (default file-info)\n"
    "  --winsfv           create an SFV list as WinSFV writes it\n"
    "  --force            let create replace a list that is there\n"
    "  --rename-bad       rename each bad file to NAME.BAD (never replacing, never outside the list's folder)\n"
    "  --ignore-missing   verify: no row and no status for a listed file that is not there\n"
    "  --recursive        verify: every list below each FOLDER given, each against its own folder\n"
    "  --despite-bad-signature  check the files of a list whose signature is BAD\n"
    "  --update           write the audit's findings into the list\n"
    "  --quiet            print only the rows that are not OK\n"
    "  --status           print no rows\n"
    "  --json             print one JSON object per row and one for the summary\n"
    "  --list LIST        check the file against the entry of LIST that names it\n"
    "  --tag              check's digests as \"SHA256 (FILE) = DIGEST\"\n"
    "\n"
    "A list's signature beside it (LIST.gpg, .sig, .sign, .asc) or inside it (clearsigned) is checked\n"
    "against your GnuPG keyring first; a signature file given as a list stands for its list.\n"
    "\n"
    "Exit status: 0 all present and matching; 1 bad usage or a list that cannot be read or was not checked;\n"
    "else the sum of 2 (a file BAD, or two files different), 4 (a file missing or unreadable),\n"
    "8 (files new or moved), 16 (stopped), 32 (a list's signature BAD, by a key not in the keyring, or unusable),\n"
    "64 (a bad file not written since its list was: damaged in place, not edited).\n";
}

std::variant<CliOptions, std::string> ParseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions options;
    if (arguments.empty()) return std::string("no command given");
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h") {
        options.command = CliCommand::Help;
        return options;
    }
    if (command == "--version") {
        options.command = CliCommand::Version;
        return options;
    }
    const struct {
        const char* name;
        CliCommand command;
    } commands[] = {{"verify", CliCommand::Verify}, {"create", CliCommand::Create}, {"audit", CliCommand::Audit},
                    {"add", CliCommand::Add},
                    {"check", CliCommand::Check}, {"compare", CliCommand::Compare}};
    const auto known = std::find_if(std::begin(commands), std::end(commands),
                                    [&](const auto& each) { return command == each.name; });
    if (known == std::end(commands)) return "unknown command '" + command + "'";
    options.command = known->command;

    bool onlyPaths = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyPaths || argument.empty() || argument[0] != '-' || argument == "-") {
            options.paths.push_back(argument);
            continue;
        }
        const auto value = [&]() -> const std::string* {
            return i + 1 < arguments.size() ? &arguments[++i] : nullptr;
        };
        if (argument == "--") onlyPaths = true;
        else if (argument == "--kind") {
            const std::string* name = value();
            if (!name) return std::string("--kind needs a kind");
            options.kind = KindByShortName(*name);
            if (!options.kind) return "unknown kind '" + *name + "'";
        } else if (argument == "-o") {
            const std::string* list = value();
            if (!list || list->empty()) return std::string("-o needs a list");
            options.output = *list;
        } else if (argument == "--comment") {
            const std::string* mode = value();
            if (!mode) return std::string("--comment needs file-info, none, text:TEXT or file:PATH");
            if (*mode == "file-info") options.commentMode = CommentModeFileInfo;
            else if (*mode == "none") options.commentMode = CommentModeNone;
            else if (mode->starts_with("text:")) options.commentMode = CommentModeOneLine, options.commentText = mode->substr(5);
            else if (mode->starts_with("file:") && mode->size() > 5) options.commentMode = CommentModeFile, options.commentFile = mode->substr(5);
            else return "unknown comment '" + *mode + "'";
        } else if (argument == "--winsfv") options.winsfv = true;
        else if (argument == "--force") options.force = true;
        else if (argument == "--rename-bad") options.renameBad = true;
        else if (argument == "--ignore-missing") options.ignoreMissing = true;
        else if (argument == "--recursive") options.recursive = true;
        else if (argument == "--despite-bad-signature") options.despiteBadSignature = true;
        else if (argument == "--update") options.update = true;
        else if (argument == "--quiet") options.rows = RowOutput::Problems;
        else if (argument == "--status") options.rows = RowOutput::Nothing;
        else if (argument == "--json") options.rows = RowOutput::Json;
        else if (argument == "--tag") options.tag = true;
        else if (argument == "--list") {
            const std::string* list = value();
            if (!list || list->empty()) return std::string("--list needs a list");
            options.checkList = *list;
        }
        else return "unknown option '" + argument + "'";
    }

    const bool check = options.command == CliCommand::Check;
    if (check && (options.paths.empty() || options.paths.size() > (options.checkList.empty() ? 2u : 1u)))
        return std::string("check takes a file and a digest, or a file and --list LIST");
    if (options.command == CliCommand::Compare && options.paths.size() != 2)
        return std::string("compare takes two files");
    if (!check && (options.tag || !options.checkList.empty())) return std::string("--tag and --list are check's");
    const bool oneList = options.command == CliCommand::Audit || options.command == CliCommand::Add;
    if (options.paths.empty()) return command + " needs " + (options.command == CliCommand::Create ? "files or a folder" : "a list");
    if (oneList && options.paths.size() > 1) return command + " takes one list";
    if (options.command == CliCommand::Create && !options.kind) return std::string("create needs --kind");
    if (options.command != CliCommand::Create && (!options.output.empty() || options.winsfv || options.commentMode != CommentModeFileInfo))
        return "-o, --comment and --winsfv are create's";
    if (options.update && options.command != CliCommand::Audit) return std::string("--update is audit's");
    if (options.ignoreMissing && options.command != CliCommand::Verify) return std::string("--ignore-missing is verify's");
    if (options.recursive && (options.command != CliCommand::Verify || options.kind || options.ignoreMissing))
        return std::string("--recursive is verify's, and tells each list's kind itself");
    return options;
}

}  // namespace velmar
