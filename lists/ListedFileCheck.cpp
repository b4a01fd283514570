#include "lists/ListedFileCheck.h"

#include "checksum/DigestText.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace velmar {

RowFiles ListedFiles(const ListKind& kind, ListedFileFinder& finder, std::function<std::string_view(int row)> nameOf) {
    return {.algorithm = kind.algorithm,
            .folder = finder.Directory(),
            .pathOf = [&finder, nameOf](int row) { return finder.ListedPath(nameOf(row)); },
            .fallbackOf = [&finder, nameOf](int row, bool missing) { return finder.Fallback(nameOf(row), missing); }};
}

StatusIcon JudgeListedFile(JobFrame& frame, const ListKind& kind, const FileDigest& digest,
                           std::string_view expected) {
    switch (digest.status) {
        case FileDigestStatus::Stopped: return IconPending;
        case FileDigestStatus::OpenFailed: return IconNA;
        case FileDigestStatus::ReadFailed:
            if (kind.readFailureIsFatal) frame.Fatal(FatalError::ErrorReadingFile);
            break;
        case FileDigestStatus::Ok: break;
    }
    return DigestTextsMatch(digest.Digits(), expected, kind.Digits()) ? IconOk : IconBad;
}

namespace {

std::string WhyMarked(const FileDigest& digest, StatusIcon icon) {
    switch (digest.status) {
        case FileDigestStatus::Stopped: return "not checked";
        case FileDigestStatus::OpenFailed:
            if (digest.missing) return "missing";
            if (digest.error == FileDigest::NotRegularFile) return "no regular file";
            return "cannot be opened: " + SystemErrorText(digest.error);
        case FileDigestStatus::ReadFailed:
            return "failed at byte " + std::to_string(digest.length) + ": " + SystemErrorText(digest.error);
        case FileDigestStatus::Ok: break;
    }
    return icon == IconOk ? "matches" : icon == IconNew ? "new" : "differs";
}

}  // namespace

RowDetails CheckedFileDetails(std::string path, std::string_view expected, const FileDigest& digest, StatusIcon icon) {
    RowDetails details;
    details.path = AbsolutePath(path);
    details.expected = LowerCaseDigits(expected);
    details.computed = digest.Text();
    if (digest.status == FileDigestStatus::Ok || digest.status == FileDigestStatus::ReadFailed)
        details.size = digest.length;
    details.reason = WhyMarked(digest, icon);
    return details;
}

RowDetails ListedFileDetails(ListedFileFinder& finder, std::string_view name, std::string_view expected,
                             const FileDigest& digest, StatusIcon icon) {
    RowDetails details = CheckedFileDetails(finder.ListedPath(name), expected, digest, icon);
    if (digest.status == FileDigestStatus::Ok && icon == IconBad) {
        const auto file = ModifiedAt(finder.PathOf(name)), list = ModifiedAt(finder.ListPath());
        if (file && list) {
            details.corrupt = *file <= *list;
            details.reason += details.corrupt ? "; corrupt: not written since the list was" : "; changed after the list was written";
        }
    }
    if (digest.foundElsewhere)
        if (auto found = finder.FoundBy(name)) {
            const std::string below = PathBelowFolder(finder.Directory(), found->path).value_or(found->path);
            details.path = AbsolutePath(found->path);
            details.reason += "; found as " + below + " " + found->way;
        }
    return details;
}

}  // namespace velmar
