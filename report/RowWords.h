// The words a result row is told in: its mark, the sum tools' line for it,
// and the lines of its tooltip.
#pragma once

#include <string>
#include <string_view>

#include "jobs/JobEvents.h"
#include "jobs/RowDetails.h"

namespace velmar {

// The summary's words for a mark: "OK", "BAD", "N/A", "NEW", "MOVED", and
// "NOT CHECKED" for a row still pending.
const char* StatusWord(StatusIcon icon);

// The name a row was listed under: a moved row reads "OLD -> NEW".
std::string_view ListedName(std::string_view text, StatusIcon icon, const RowDetails& details);

// The line md5sum -c writes for the row ("NAME: OK", "NAME: FAILED", "NAME:
// FAILED open or read"), an audit's "NAME: NEW" and "OLD: MOVED -> NEW",
// and "NAME: NOT CHECKED"; a name holding a line feed escaped as md5sum -c
// escapes it. No line end.
std::string SumToolLine(std::string_view text, StatusIcon icon, const RowDetails& details);

// The row's tooltip: the file's whole path, the digests, the size and why
// it is marked as it is, a line each.
std::string DetailsText(std::string_view text, StatusIcon icon, const RowDetails& details);

}  // namespace velmar
