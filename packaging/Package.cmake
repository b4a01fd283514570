# The Debian package: `sh scripts/package.sh` builds it with CPack's DEB
# generator. Its dependencies are worked out from the binaries, plus what
# Velmar loads itself when first needed (libcrypto for the SHA and BLAKE2
# digests; GPGME and gpg for signed lists, which Velmar does without).
include(GNUInstallDirs)

# What Debian's policy asks of every package: the copyright and changelog
# under /usr/share/doc, the manual pages compressed.
set(VELMAR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/velmar)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${VELMAR_DOC_DIR})
set(VELMAR_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${VELMAR_CHANGELOG}
                   COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/changelog > ${VELMAR_CHANGELOG}
                   DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(package_changelog ALL DEPENDS ${VELMAR_CHANGELOG})
install(FILES ${VELMAR_CHANGELOG} DESTINATION ${VELMAR_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Velmar developers <velmar@velmar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "create and verify checksum lists (SFV, MD5, SHA-256, BLAKE3)")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmar creates and verifies checksum lists for sets of files: SFV lists
(CRC-32), md5sum-style MD5 lists, M3U playlists whose entries carry MD5
digests, and the SHA-1, SHA-256, SHA-512, SHA3, BLAKE2, BLAKE3 and XXH3 lists
of the sum tools. It tells, file by file, whether a copy of music, archive
volumes or disc images is intact, and can rename the bad ones.
.
The package holds the window (velmar), the command line (velmar-cli), the
desktop's types for every kind of list, and actions for the file managers.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMAR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libssl3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgpgme11, gnupg, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-nautilus")
set(CPACK_STRIP_FILES ON)
# Every folder the package owns is made by it with the usual modes.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
