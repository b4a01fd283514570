// The dialogs of a download's checks: Check File (the file, and the digest
// its web page shows or the list beside it) and Compare Files (two files).
// Each takes files dropped on it as well as picked.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/MainWindow.h"

class QWidget;

namespace velmar {

// What `given` holds fills the boxes; else `clipboard` fills the digest box
// when it holds a digest.
std::optional<FileCheckRequest> AskFileCheck(QWidget* parent, const std::string& clipboard,
                                             const FileCheckRequest& given);

std::optional<std::array<std::string, 2>> AskFilesToCompare(QWidget* parent);

}  // namespace velmar
