#include "jobs/ProgressMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmar {
namespace {

// Opening a file and marking its row costs about what reading this many
// bytes does.
constexpr double BytesPerFile = 64 * 1024;
// The rates are taken over this many seconds...
constexpr double SmoothingSeconds = 5;
// ...and shown once the job has run this long.
constexpr double FirstRateSeconds = 1;

std::string SpeedText(double bytesPerSecond) {
    const double mb = bytesPerSecond / 1e6;
    char text[32];
    std::snprintf(text, sizeof text, mb < 10 ? "%.1f MB/s" : "%.0f MB/s", mb);
    return text;
}

// Nothing for a job that has all but halted.
std::string TimeLeftText(double seconds) {
    if (!(seconds < 360000)) return "";
    const long whole = std::lround(seconds);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld left", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld left", whole / 60, whole % 60);
    return text;
}

}  // namespace

ProgressReading ProgressMeter::Read(double seconds, const JobProgress& progress) {
    const double rows = std::max(progress.rows, 1);
    const double rowsDone = progress.rowsDone.load();
    const double rowsSized = std::min<double>(progress.rowsSized.load(), rows);
    const bool totalKnown = rowsSized > 0;
    const double bytes = static_cast<double>(progress.bytesDone.load());
    const double work = bytes + rowsDone * BytesPerFile;
    // The rows not sized yet are taken to be as large as those sized so far
    // on average: exact once the engine has looked up every file.
    const double totalWork = totalKnown ? static_cast<double>(progress.bytesSized.load()) * rows / rowsSized +
                                              rows * BytesPerFile
                                        : 0;

    // A file that grew while it was read may take the work past its total.
    const double fraction = std::clamp(totalKnown ? work / totalWork : rowsDone / rows, 0.0, 1.0);
    position_ = std::max(position_, static_cast<int>(fraction * ProgressScale));
    ProgressReading reading;
    reading.position = position_;
    reading.text = std::to_string(position_ * 100 / ProgressScale) + "%";

    if (start_ < 0) start_ = seconds;
    samples_.push_back({seconds, work, bytes});
    while (samples_.size() > 2 && samples_[1].seconds <= seconds - SmoothingSeconds) samples_.pop_front();
    const Sample& first = samples_.front();
    const double span = seconds - first.seconds;
    if (!totalKnown || seconds - start_ < FirstRateSeconds || span <= 0) return reading;

    reading.text += "  " + SpeedText((bytes - first.bytes) / span);
    const double workRate = (work - first.work) / span;
    const std::string left = workRate > 0 ? TimeLeftText(std::max(totalWork - work, 0.0) / workRate) : "";
    if (!left.empty()) reading.text += "  " + left;
    return reading;
}

}  // namespace velmar
