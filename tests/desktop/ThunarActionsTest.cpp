#include "desktop/ThunarActions.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using Outcome = ThunarActionsResult::Outcome;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(ThunarActions, AddsWhatIsMissingOnceAndKeepsTheRest) {
    // As Thunar writes the file, with an action of the user's own.
    const std::string users = "<?xml encoding=\"UTF-8\" version=\"1.0\"?>\n<actions>\n<action>\n"
                              "\t<name>Terminal</name>\n\t<unique-id>1-1</unique-id>\n\t<command>xterm %f</command>\n"
                              "\t<patterns>*</patterns>\n\t<directories/>\n</action>\n</actions>\n";
    const std::string withOneOfOurs = std::string(users).insert(
        users.rfind("</actions>"), "<action><unique-id> velmar-verify </unique-id></action>\n");
    const struct {
        const char* name;
        const char* existing;  // nullptr: no uca.xml
        Outcome outcome;
        int added;
    } cases[] = {
        {"no file", nullptr, Outcome::Added, 4},
        {"the user's own actions", users.c_str(), Outcome::Added, 4},
        {"one of ours already", withOneOfOurs.c_str(), Outcome::Added, 3},
        {"an empty actions element", "<?xml version=\"1.0\"?>\n<actions/>\n", Outcome::Added, 4},
        {"no actions element", "<something-else/>\n", Outcome::NotWritten, 0},
        // A file where the config folder should be: nothing can be made under it.
        {"an unwritable folder", "", Outcome::NotWritten, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        DesktopPlaces places;
        places.configHome = dir.File("config");
        const std::string path = ThunarActionsPath(places);
        if (c.existing && !*c.existing) {
            dir.Write("config", "not a folder");
        } else if (c.existing) {
            std::filesystem::create_directories(dir.File("config/Thunar"));
            dir.Write("config/Thunar/uca.xml", c.existing);
        }

        const ThunarActionsResult result = AddThunarActions(places);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.added, c.added);
        EXPECT_NE(ThunarActionsMessage(result).find(path), std::string::npos) << ThunarActionsMessage(result);
        const std::string text = test::ReadAll(path);
        if (c.outcome == Outcome::NotWritten) {
            EXPECT_EQ(text, c.existing && *c.existing ? c.existing : "");
            continue;
        }
        for (const char* id : {"velmar-create<", "velmar-create-folder", "velmar-verify", "velmar-check"})
            EXPECT_EQ(Count(text, id), 1u) << id;
        if (c.existing) {  // everything that was there stays as it was
            const std::string before(c.existing);
            const auto head = before.find("<actions"), first = before.find("<action>"), last = before.rfind("</action>");
            EXPECT_EQ(text.substr(0, head), before.substr(0, head));
            if (first != std::string::npos) {
                EXPECT_NE(text.find(before.substr(first, last - first)), std::string::npos);
            }
        }
        const ThunarActionsResult again = AddThunarActions(places);
        EXPECT_EQ(again.outcome, Outcome::AlreadyThere);
        EXPECT_EQ(test::ReadAll(path), text);
    }
}

}  // namespace
}  // namespace velmar
