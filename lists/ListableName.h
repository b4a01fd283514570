// Whether a list can carry a row's name so that the list reads back with
// that name, and the message go! refuses a creation with when it cannot.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ListKind.h"

namespace velmar {

// A carriage return or a line feed.
bool HoldsLineEnd(std::string_view name);

// `name` as md5sum escapes it: "\\", "\n" and "\r" for a backslash, a line
// feed and a carriage return. A line holding an escaped name begins with a
// backslash (every escape is longer than its character).
std::string SumToolEscaped(std::string_view name);

// Why a list of `kind` cannot carry `name`, as the end of a sentence, or
// nullptr when it can: the kind's own reason, a Ctrl-Z (every list's text
// ends there), or an entry line longer than a list line may be.
const char* WhyNameDoesNotFit(const ListKind& kind, std::string_view name);

// "Cannot add 'Icon\r' to file: <why>." when a list of `kind` cannot carry
// `row`, each control character in it shown as an escape; empty when it can.
std::string UnlistableRowMessage(const ListKind& kind, std::string_view row);

// The bytes the entries of `rows` take in a list of `kind`, its CR LF line
// ends included, or nothing when the list cannot carry one of them.
std::optional<std::uint64_t> ListableEntriesSize(const ListKind& kind, const std::vector<std::string>& rows);

}  // namespace velmar
