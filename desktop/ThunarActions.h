// Velmar's four entries in Thunar's menu for selected files. Thunar reads its
// custom actions from the user's own Thunar/uca.xml only, so a package cannot
// install them: velmar --add-thunar-actions adds them there.
#pragma once

#include <string>

#include "platform/DesktopFileType.h"

namespace velmar {

struct ThunarActionsResult {
    enum class Outcome { Added, AlreadyThere, NotWritten };
    Outcome outcome = Outcome::NotWritten;
    int added = 0;             // how many of the four were added
    std::string path;          // the uca.xml
    std::string why;           // for NotWritten: what stopped it
};

std::string ThunarActionsPath(const DesktopPlaces& places);

// `ucaText` with each of Velmar's actions it lacks (told by its unique-id)
// added at the end of the <actions> element, everything else as it was, and
// `added` set to how many; empty text counts as no actions. False, with
// nothing changed, when the text holds no <actions> element to add to.
bool WithThunarActions(std::string& ucaText, int& added);

// Reads the user's uca.xml, adds what is missing and writes it back whole
// (or writes a new one), creating the Thunar folder if need be.
ThunarActionsResult AddThunarActions(const DesktopPlaces& places);

// The one line the command line prints for `result`.
std::string ThunarActionsMessage(const ThunarActionsResult& result);

}  // namespace velmar
