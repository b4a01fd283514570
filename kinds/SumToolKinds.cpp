#include "kinds/SumToolKinds.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <string>

#include "kinds/SumLine.h"
#include "lists/ListableName.h"

namespace velmar {
namespace {

// What tells the sum tools' kinds apart. Everything else is the same for all
// of them: their lines read and written as kinds/SumLine.h says, no header
// and no comments, a list without an entry refused, a listed file that
// fails part way fatal, the Create dialog offering disc images first, and
// every text built from the name ("Verify SHA256: Select SHA256 File to
// Verify").
struct SumTool {
    const char* name;              // "SHA256"
    DigestAlgorithm algorithm;
    const char* listName;          // the list's usual name, and its names begin so: "SHA256SUMS"
    const char* listNameFilter;    // how the dialogs offer those names: "SHA256SUMS (SHA256SUMS*)"
    const char* extension;         // its lists' other names end so, and "NAME.sha256" lists NAME alone
    const char* bsdTag;            // nullptr: none
    const char* opensslTag;        // nullptr: the BSD tag
    const char* menuCaption;       // "SHA&256"
    const char* menuGroup;         // nullptr: its own menu on the menu bar
    const char* keys[4];
    // An ending its lists share with another kind's (".sha3"), which the
    // lines tell apart; nullptr: none.
    const char* sharedExtension = nullptr;
    const char* digestPrefix = nullptr;  // before the digits where the digest comes first: "XXH3_"
    // For a kind whose tool reads less than md5sum does: why a name cannot
    // be listed, how the lines end, whether names are escaped and the
    // layout its entries are written in.
    const char* (*nameUnfit)(std::string_view name) = nullptr;
    LineEnd lineEnd = LineEnd::CrLf;
    bool escapesNames = true;
    std::string (*entryLines)(std::string_view name, const FileDigest& digest, const ListKind& kind,
                              const ListReadState& list) = SumEntryLines;
};

// b3sum reads the escapes of a backslash and a line feed but not md5sum's
// of a carriage return, and refuses the whole list over one; nor does it
// take a CR LF line end.
const char* Blake3NameUnfit(std::string_view name) {
    return name.find('\r') != std::string_view::npos
               ? "a BLAKE3 list has no way to write a carriage return in a name that b3sum reads"
               : nullptr;
}

// xxhsum before 0.8.2 reads a name as it stands up to the line feed, so
// that a name is written so too, and none with a line end can be; and it
// reads XXH3 only in the tagged layout, which every xxhsum since reads too.
const char* XxhsumNameUnfit(std::string_view name) {
    return HoldsLineEnd(name) ? "an xxhsum list has no way to write a line end in a name that every xxhsum reads"
                              : nullptr;
}

// MD5's list never takes its folder's name. F3 to F12 belong to the first
// three kinds of the menu; SHA256 takes Shift with the keys of the MD5 kind
// it mirrors; the rest share one menu, reached by letters and digits.
// SHA512, BLAKE2 and SHA3-512 have the same number of digits, as SHA256,
// BLAKE3 and SHA3-256 do, and MD5 and XXH128: the tags, or the first file,
// tell them apart (kinds/ListKinds.h).
constexpr SumTool SumTools[] = {
    {.name = "MD5", .algorithm = DigestAlgorithm::Md5, .listName = "md5sum", .listNameFilter = "MD5SUM (md5sum)",
     .extension = ".md5", .bsdTag = "MD5", .opensslTag = nullptr, .menuCaption = "&MD5", .menuGroup = nullptr,
     .keys = {"F6", "F7", "F8", "Ctrl+F6"}},
    {.name = "SHA256", .algorithm = DigestAlgorithm::Sha256, .listName = "SHA256SUMS",
     .listNameFilter = "SHA256SUMS (SHA256SUMS*)", .extension = ".sha256", .bsdTag = "SHA256", .opensslTag = "SHA2-256",
     .menuCaption = "SHA&256", .menuGroup = nullptr, .keys = {"Shift+F6", "Shift+F7", "Shift+F8", "Ctrl+Shift+F6"}},
    {.name = "SHA1", .algorithm = DigestAlgorithm::Sha1, .listName = "SHA1SUMS", .listNameFilter = "SHA1SUMS (SHA1SUMS*)",
     .extension = ".sha1", .bsdTag = "SHA1", .opensslTag = nullptr, .menuCaption = "SHA&1", .menuGroup = "&Other",
     .keys = {"", "", "", ""}},
    {.name = "SHA512", .algorithm = DigestAlgorithm::Sha512, .listName = "SHA512SUMS",
     .listNameFilter = "SHA512SUMS (SHA512SUMS*)", .extension = ".sha512", .bsdTag = "SHA512", .opensslTag = "SHA2-512",
     .menuCaption = "SHA&512", .menuGroup = "&Other", .keys = {"", "", "", ""}},
    {.name = "BLAKE2", .algorithm = DigestAlgorithm::Blake2b, .listName = "B2SUMS", .listNameFilter = "B2SUMS (B2SUMS*)",
     .extension = ".b2", .bsdTag = "BLAKE2b", .opensslTag = "BLAKE2B-512", .menuCaption = "&BLAKE2",
     .menuGroup = "&Other", .keys = {"", "", "", ""}},
    {.name = "BLAKE3", .algorithm = DigestAlgorithm::Blake3, .listName = "B3SUMS", .listNameFilter = "B3SUMS (B3SUMS*)",
     .extension = ".b3", .bsdTag = nullptr, .opensslTag = nullptr, .menuCaption = "BLAKE&3", .menuGroup = "&Other",
     .keys = {"", "", "", ""}, .nameUnfit = Blake3NameUnfit, .lineEnd = LineEnd::Lf},
    {.name = "XXH3", .algorithm = DigestAlgorithm::Xxh3, .listName = "XXH3SUMS",
     .listNameFilter = "XXH3SUMS (XXH3SUMS*)", .extension = ".xxh3", .bsdTag = "XXH3", .opensslTag = nullptr, .menuCaption = "&XXH3", .menuGroup = "&Other",
     .keys = {"", "", "", ""}, .digestPrefix = "XXH3_", .nameUnfit = XxhsumNameUnfit, .lineEnd = LineEnd::Lf,
     .escapesNames = false, .entryLines = SumTaggedEntryLines},
    {.name = "XXH128", .algorithm = DigestAlgorithm::Xxh128, .listName = "XXH128SUMS",
     .listNameFilter = "XXH128SUMS (XXH128SUMS*)", .extension = ".xxh128", .bsdTag = "XXH128", .opensslTag = nullptr,
     .menuCaption = "XXH12&8", .menuGroup = "&Other", .keys = {"", "", "", ""}, .nameUnfit = XxhsumNameUnfit,
     .lineEnd = LineEnd::Lf, .escapesNames = false},
    {.name = "SHA3-256", .algorithm = DigestAlgorithm::Sha3_256, .listName = "SHA3-256SUMS",
     .listNameFilter = "SHA3-256SUMS (SHA3-256SUMS*)", .extension = ".sha3-256", .bsdTag = "SHA3-256",
     .opensslTag = nullptr, .menuCaption = "SHA3-25&6", .menuGroup = "&Other", .keys = {"", "", "", ""},
     .sharedExtension = ".sha3"},
    {.name = "SHA3-512", .algorithm = DigestAlgorithm::Sha3_512, .listName = "SHA3-512SUMS",
     .listNameFilter = "SHA3-512SUMS (SHA3-512SUMS*)", .extension = ".sha3-512", .bsdTag = "SHA3-512",
     .opensslTag = nullptr, .menuCaption = "SHA3-51&2", .menuGroup = "&Other", .keys = {"", "", "", ""},
     .sharedExtension = ".sha3"},
    {.name = "SHA224", .algorithm = DigestAlgorithm::Sha224, .listName = "SHA224SUMS",
     .listNameFilter = "SHA224SUMS (SHA224SUMS*)", .extension = ".sha224", .bsdTag = "SHA224", .opensslTag = "SHA2-224",
     .menuCaption = "SHA22&4", .menuGroup = "&Other", .keys = {"", "", "", ""}},
    {.name = "SHA384", .algorithm = DigestAlgorithm::Sha384, .listName = "SHA384SUMS",
     .listNameFilter = "SHA384SUMS (SHA384SUMS*)", .extension = ".sha384", .bsdTag = "SHA384", .opensslTag = "SHA2-384",
     .menuCaption = "S&HA384", .menuGroup = "&Other", .keys = {"", "", "", ""}},
};

// The texts a row's kind is built with, kept for the program's life.
struct BuiltTexts {
    std::string namePattern, extensionPattern, sharedPattern, createCaption, verifyCaption, label, createTitle,
        folderTitle, verifyTitle, verifyFilter, creationComplete, listMessage, mimeType;
};

SumToolKind Built(const SumTool& tool, BuiltTexts& t) {
    const std::string name = tool.name;
    t.namePattern = std::string(tool.listName) + "*";
    t.extensionPattern = std::string("*") + tool.extension;
    if (tool.sharedExtension) t.sharedPattern = std::string("*") + tool.sharedExtension;
    // The dialogs offer the kind's endings as one entry: "*.sha3-256;*.sha3".
    const std::string extensionPatterns = t.extensionPattern + (tool.sharedExtension ? ";" + t.sharedPattern : "");
    t.createCaption = "&Create " + name;
    t.verifyCaption = "&Verify " + name;
    t.label = name + " Filename";
    t.createTitle = "Create " + name + ": Select Files You Want to Add";
    t.folderTitle = "Create " + name + ": Select Folder to Add";
    t.verifyTitle = "Verify " + name + ": Select " + name + " File to Verify";
    t.verifyFilter = std::string(tool.listNameFilter) + "|" + t.namePattern + "|" + name + " files (" +
                     extensionPatterns + ")|" + extensionPatterns + "|All files (*.*)|*.*";
    t.creationComplete = name + " file creation complete!";
    t.listMessage = "Error Reading " + name + " File.. Exiting";
    // Named after the tool's list, as a file manager shows it:
    // "SHA256SUMS" is text/x-sha256sum, "md5sum" text/x-md5sum.
    t.mimeType = "text/x-";
    for (const char c : std::string_view(tool.listName))
        t.mimeType += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (t.mimeType.back() == 's') t.mimeType.pop_back();
    return {
        .kind = {.name = tool.name,
                 .algorithm = tool.algorithm,
                 .namePatterns = {t.namePattern.c_str(), t.extensionPattern.c_str(),
                                  tool.sharedExtension ? t.sharedPattern.c_str() : nullptr},
                 .firstName = tool.listName,
                 .folderExtension = nullptr,
                 .readLine = ReadSumListLine,
                 .bsdTag = tool.bsdTag,
                 .opensslTag = tool.opensslTag,
                 .digestPrefix = tool.digestPrefix,
                 .sidecarExtensions = {tool.extension, tool.sharedExtension},
                 .listMissingMessage = t.listMessage.c_str(),
                 .listUnusableMessage = t.listMessage.c_str(),
                 .entriesRequired = true,
                 .retryWithoutLeadingBlanks = false,
                 .readFailureIsFatal = true,
                 .header = nullptr,
                 .comments = nullptr,
                 .entryLines = tool.entryLines,
                 .nameUnfit = tool.nameUnfit,
                 .lineEnd = tool.lineEnd,
                 .escapesNames = tool.escapesNames},
        .texts = {.menuCaption = tool.menuCaption,
                  .menuGroup = tool.menuGroup,
                  .itemCaptions = {t.createCaption.c_str(), t.verifyCaption.c_str(), "&Select Verify",
                                   "Create from &Folder..."},
                  .itemKeys = {tool.keys[0], tool.keys[1], tool.keys[2], tool.keys[3]},
                  .create = {.label = t.label.c_str(),
                             .winsfvOffered = false,
                             .comments = CreateTexts::CommentChoice::NotOffered,
                             .dialog = {.title = t.createTitle,
                                        .filter = "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*",
                                        .filterIndex = 2,
                                        .multiple = true},
                             .folderTitle = t.folderTitle.c_str()},
                  .verifyDialog = {.title = t.verifyTitle, .filter = t.verifyFilter, .filterIndex = 1, .multiple = false},
                  .creationComplete = t.creationComplete.c_str(),
                  .loadSetsProgressRange = false,
                  .mimeType = t.mimeType.c_str(),
                  .declaresMimeType = true},
    };
}

// Where the built kinds' texts live, for the program's life, and the kinds:
// both made before main, in this order.
std::array<BuiltTexts, std::size(SumTools)> builtTexts;

std::array<SumToolKind, std::size(SumTools)> BuiltKinds() {
    std::array<SumToolKind, std::size(SumTools)> kinds;
    for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i] = Built(SumTools[i], builtTexts[i]);
    return kinds;
}
const std::array<SumToolKind, std::size(SumTools)> kinds = BuiltKinds();

}  // namespace

std::span<const SumToolKind> SumToolKinds() { return kinds; }

const ListKind& SumToolKindNamed(std::string_view name) {
    for (const SumToolKind& each : kinds)
        if (name == each.kind.name) return each.kind;
    std::abort();
}

// Bound to their places before anything runs, so that a table elsewhere may
// name them; what they hold is there once main begins.
const ListKind& Md5Kind = kinds[0].kind;
const ListKind& Sha256Kind = kinds[1].kind;
const ListKind& Sha1Kind = kinds[2].kind;
const ListKind& Sha512Kind = kinds[3].kind;
const ListKind& Blake2Kind = kinds[4].kind;
const ListKind& Blake3Kind = kinds[5].kind;
const ListKind& Xxh3Kind = kinds[6].kind;
const ListKind& Xxh128Kind = kinds[7].kind;
const ListKind& Sha3_256Kind = kinds[8].kind;
const ListKind& Sha3_512Kind = kinds[9].kind;
const ListKind& Sha224Kind = kinds[10].kind;
const ListKind& Sha384Kind = kinds[11].kind;

}  // namespace velmar
