#include "checksum/FileReading.h"

#include <algorithm>

#include "checksum/Blake3File.h"
#include "platform/SeekCost.h"
#include "platform/UsableCpus.h"

namespace velmar {
namespace {

constexpr std::uint64_t DiskAllowance = 131072;
constexpr int PageCacheSample = 16;

}  // namespace

EngineOptions EngineOptionsFor(const std::string& folder, EngineOptions options, int rows,
                               const std::function<std::string(int row)>& pathOf, const SystemTree& tree) {
    const int cpus = UsableCpus();
    if (options.blake3Helpers < 0) options.blake3Helpers = cpus - 1;
    if (options.workers > 0) return options;
    options.workers = cpus;
    options.diskInTurn = DeviceKindOf(folder.empty() ? "/" : folder, tree) != DeviceKind::Solid;
    if (options.diskInTurn && pathOf && cpus > 1) {
        const auto seek = MeasureSeek(rows, pathOf);
        options.diskInTurn = !seek || *seek > CheapSeek;
    }
    return options;
}

bool ReadsInBatches(const EngineOptions& options) { return options.batchedReads && !options.diskInTurn; }

bool AsksPageCache(std::uint64_t size, int row) { return size > DiskAllowance || row % PageCacheSample == 0; }

bool ThroughDiskReader(std::uint64_t size, std::uint64_t uncached) {
    return size > DiskAllowance && uncached > DiskAllowance && size > AnnouncedFileSize;
}

int SplitHelpers(DigestAlgorithm algorithm, const InputFile& file, const ReadingHelp& help) {
    const std::uint64_t size = file.OpenedSize();
    if (algorithm != DigestAlgorithm::Blake3 || !help.pool || help.helpers <= 0 || size < Blake3SplitSize ||
        help.UncachedBytes(file) > size / 8)
        return 0;
    const std::uint64_t pieces = (size + Blake3SplitPiece - 1) / Blake3SplitPiece;
    return static_cast<int>(std::min<std::uint64_t>(pieces - 1, static_cast<std::uint64_t>(help.helpers)));
}

int EachWayThreads(std::size_t algorithms, const InputFile& file, const ReadingHelp& help) {
    if (!help.pool || algorithms < 2 || file.OpenedSize() < EachWaySpreadSize) return 1;
    return static_cast<int>(std::min<std::size_t>(algorithms, static_cast<std::size_t>(1 + help.helpers)));
}

bool ReadsAhead(DigestAlgorithm algorithm, const ReadingHelp& help) {
    const bool outrunsCopy = algorithm == DigestAlgorithm::Crc32 || algorithm == DigestAlgorithm::Xxh3 ||
                             algorithm == DigestAlgorithm::Xxh128;
    return !outrunsCopy && help.pool;
}

}  // namespace velmar
