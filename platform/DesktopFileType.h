// The tie between ".sfv" files and Velmar on a freedesktop.org desktop, for
// the current user: a shared-MIME-info package that gives "*.sfv" its MIME
// type, the desktop entry velmar.desktop whose Exec line starts this
// program with the file's path, and the default-application line for the
// type in mimeapps.list. The desktop entry's presence is what counts as
// "registered".
#pragma once

#include <string>
#include <vector>

namespace velmar {

struct DesktopPlaces {
    std::string dataHome;                // $XDG_DATA_HOME, else ~/.local/share
    std::string configHome;              // $XDG_CONFIG_HOME, else ~/.config
    std::vector<std::string> dataDirs;   // $XDG_DATA_DIRS, else /usr/local/share and /usr/share

    static DesktopPlaces FromEnvironment();

    std::string DesktopEntryPath() const { return dataHome + "/applications/velmar.desktop"; }
    std::string MimePackagePath() const { return dataHome + "/mime/packages/velmar-sfv.xml"; }
    std::string MimeAppsPath() const { return configHome + "/mimeapps.list"; }
};

// The MIME type the system's own databases give "*.sfv", if any, else
// "text/x-sfv".
std::string SfvMimeType(const DesktopPlaces& places);

// The program's own full path as the system reports it (/proc/self/exe).
std::string OwnProgramPath();

// The desktop entry's Exec line: the program path quoted and escaped as the
// desktop entry format wants it, then the file's path as the argument (%f).
std::string DesktopExecLine(const std::string& programPath);

// The text of velmar.desktop and of the MIME package.
std::string DesktopEntryText(const std::string& programPath, const std::string& mimeType);
std::string MimePackageText(const std::string& mimeType);

// mimeapps.list text with `mimeType`'s line in [Default Applications] set to
// `desktopId`, or taken out when `desktopId` is empty; every other line stays
// as it was.
std::string WithDefaultApplication(const std::string& mimeAppsText, const std::string& mimeType,
                                   const std::string& desktopId);

// The default application mimeapps.list text gives `mimeType`, "" for none.
std::string DefaultApplication(const std::string& mimeAppsText, const std::string& mimeType);

// Whether a package has installed velmar.desktop in the system's folders.
bool DesktopEntryInstalled(const DesktopPlaces& places);

// Registered: the user's own velmar.desktop is there, or the installed one
// is the user's default for the type.
bool SfvFileTypeRegistered(const DesktopPlaces& places);

// Where a package has installed velmar.desktop, only the default for the
// type is set to it; else each of the three is written, standing alone: one
// that fails is skipped and the next still runs. Nothing is reported.
void RegisterSfvFileType(const DesktopPlaces& places, const std::string& programPath);

// Deletes what registration writes, whatever it holds now.
void RemoveSfvFileType(const DesktopPlaces& places);

// Rebuilds the user's MIME and desktop-entry caches with
// update-mime-database and update-desktop-database where they are
// installed; without them, or when they fail, nothing is said.
void RefreshDesktopCaches(const DesktopPlaces& places);

}  // namespace velmar
