#include "jobs/PackedDetails.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "jobs/PackedNumber.h"

namespace velmar {
namespace {

// The first byte says which fields follow and how; the fields follow in the
// order of RowDetails, each text as its length and its bytes.
enum Field : std::uint8_t {
    PathLeftOut = 1,
    ComputedAsExpected = 2,
    SizeGiven = 4,
    ExpectedAsBytes = 8,
    CommonReason = 16,  // the reason is one byte: its place in CommonReasons
    MovedToGiven = 32,
};

constexpr std::string_view CommonReasons[] = {"matches", "differs", "missing", "new", "not checked", "no regular file"};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Lower-case hex of whole bytes, which unpacks to the same text.
bool HexBytes(std::string_view text) {
    return !text.empty() && text.size() % 2 == 0 &&
           std::all_of(text.begin(), text.end(), [](char c) { return HexValue(c) >= 0; });
}

}  // namespace

void AppendPacked(std::string& out, const RowDetails& details) {
    const bool asExpected = !details.expected.empty() && details.computed == details.expected;
    const bool hex = HexBytes(details.expected);
    const auto common = std::find(std::begin(CommonReasons), std::end(CommonReasons), details.reason);
    const bool isCommon = common != std::end(CommonReasons);
    out.push_back(static_cast<char>((asExpected ? ComputedAsExpected : 0) | (details.size ? SizeGiven : 0) |
                                    (hex ? ExpectedAsBytes : 0) | (isCommon ? CommonReason : 0) |
                                    (details.movedTo.empty() ? 0 : MovedToGiven)));
    PutText(out, details.path);
    if (hex) {
        PutNumber(out, details.expected.size() / 2);
        for (std::size_t i = 0; i < details.expected.size(); i += 2)
            out.push_back(static_cast<char>(HexValue(details.expected[i]) << 4 | HexValue(details.expected[i + 1])));
    } else {
        PutText(out, details.expected);
    }
    if (!asExpected) PutText(out, details.computed);
    if (details.size) PutNumber(out, *details.size);
    if (isCommon) out.push_back(static_cast<char>(common - std::begin(CommonReasons)));
    else PutText(out, details.reason);
    if (!details.movedTo.empty()) PutText(out, details.movedTo);
}

std::string_view PackedPath(std::string_view packed) {
    if (packed.empty() || (packed.front() & PathLeftOut)) return {};
    packed.remove_prefix(1);
    return TakeText(packed);
}

void AppendWithoutPath(std::string& out, std::string_view packed) {
    out.push_back(static_cast<char>(packed.front() | PathLeftOut));
    packed.remove_prefix(1);
    TakeText(packed);
    out.append(packed);
}

RowDetails Unpacked(std::string_view packed, const std::string& usualPath) {
    RowDetails details;
    if (packed.empty()) return details;
    const auto fields = static_cast<std::uint8_t>(packed.front());
    packed.remove_prefix(1);
    details.path = fields & PathLeftOut ? usualPath : std::string(TakeText(packed));
    if (fields & ExpectedAsBytes) {
        static constexpr char Digits[] = "0123456789abcdef";
        for (const char byte : TakeText(packed)) {
            details.expected.push_back(Digits[static_cast<std::uint8_t>(byte) >> 4]);
            details.expected.push_back(Digits[byte & 0xF]);
        }
    } else {
        details.expected = TakeText(packed);
    }
    details.computed = fields & ComputedAsExpected ? details.expected : std::string(TakeText(packed));
    if (fields & SizeGiven) details.size = TakeNumber(packed);
    if (!(fields & CommonReason)) {
        details.reason = TakeText(packed);
    } else if (!packed.empty()) {
        const auto index = static_cast<std::uint8_t>(packed.front());
        packed.remove_prefix(1);
        if (index < std::size(CommonReasons)) details.reason = CommonReasons[index];
    }
    if (fields & MovedToGiven) details.movedTo = TakeText(packed);
    return details;
}

}  // namespace velmar
