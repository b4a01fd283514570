#include "desktop/DesktopFiles.h"

#include <set>

#include "kinds/ListKinds.h"

namespace velmar {

std::string MimePackageXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    std::set<std::string> globbed;
    for (const ListKind* kind : ListKinds()) {
        const KindTexts& texts = TextsOf(*kind);
        if (!texts.declaresMimeType) continue;
        xml += "  <mime-type type=\"" + std::string(texts.mimeType) + "\">\n";
        xml += "    <comment>" + std::string(kind->name) + " checksum list</comment>\n";
        xml += "    <sub-class-of type=\"text/plain\"/>\n";
        for (const char* pattern : kind->namePatterns)
            if (pattern && globbed.insert(pattern).second)
                xml += "    <glob pattern=\"" + std::string(pattern) + "\"/>\n";
        xml += "  </mime-type>\n";
    }
    return xml + "</mime-info>\n";
}

std::string DesktopEntry() {
    std::string types, actions, actionGroups;
    for (const ListKind* kind : ListKinds()) {
        types += std::string(TextsOf(*kind).mimeType) + ";";
        if (TextsOf(*kind).menuGroup) continue;
        const std::string shortName = KindShortName(*kind);
        actions += "create-" + shortName + ";";
        actionGroups += "\n[Desktop Action create-" + shortName + "]\n"
                        "Name=Create " + kind->name + " List...\n"
                        "Exec=velmar --create --kind " + shortName + "\n";
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmar\n"
           "GenericName=Checksum Lists\n"
           "Comment=Create and verify SFV, MD5, SHA-256 and other checksum lists\n"
           "Keywords=checksum;hash;verify;sfv;crc;md5;sha256;blake3;\n"
           "Exec=velmar --verify %F\n"
           "Icon=velmar\n"
           "Terminal=false\n"
           "Categories=Utility;Qt;\n"
           "MimeType=" + types + "\n"
           "Actions=" + actions + "check;\n" + actionGroups +
           "\n[Desktop Action check]\n"
           "Name=Check a Download...\n"
           "Exec=velmar --check\n";
}

std::vector<std::string> ChecksumListTypes() {
    std::vector<std::string> types;
    for (const ListKind* kind : ListKinds())
        if (TextsOf(*kind).declaresMimeType) types.push_back(TextsOf(*kind).mimeType);
    return types;
}

std::vector<std::string> ChecksumListNames() {
    std::vector<std::string> names;
    for (const ListKind* kind : ListKinds())
        if (TextsOf(*kind).declaresMimeType)
            for (const char* pattern : kind->namePatterns)
                if (pattern) names.push_back(pattern);
    return names;
}

std::string WithChecksumListTypes(std::string text) {
    constexpr std::string_view Placeholder = "@VELMAR_CHECKSUM_LIST_TYPES@";
    std::string types;
    for (const std::string& type : ChecksumListTypes()) types += type + ";";
    for (auto at = text.find(Placeholder); at != std::string::npos; at = text.find(Placeholder, at + types.size()))
        text.replace(at, Placeholder.size(), types);
    return text;
}

}  // namespace velmar
