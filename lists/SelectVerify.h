// The check a select-verify pass makes of the rows the user selected, run
// as a job so that a large file never holds the shell. The list's entries
// were read before (ReadListEntries), into rows the user chooses among.
#pragma once

#include <string>
#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"

namespace velmar {

struct SelectedRows {
    std::string listPath;
    std::string listDirectory;
    std::vector<int> rows;              // the rows selected, in row order
    std::vector<std::string> names;     // each one's name, as listed
    std::vector<std::string> expected;  // each one's listed digest; "" never matches
    ListSignature signature;            // the list's, as its load found it
};

// Each selected row's file, in the list's folder, against its expected
// digest; the files are read again on every pass. Rows are marked by their
// numbers in `selected.rows`. The list's signature is not checked again.
void CheckSelectedRows(JobFrame& frame, const ListKind& kind, const SelectedRows& selected);

}  // namespace velmar
