# velmar_checksum_lists(<types_var> <names_var>): the checksum lists the file
# managers offer "Verify Checksum List" on. <types_var> gets their MIME types,
# as Velmar's shared-mime-info package declares them, and <names_var> the
# names that package gives them, each ended by a semicolon as the action
# formats write their lists. Thunar matches names only, so its actions take
# the names; every other file manager takes the types. M3U playlists are left
# out: a playlist is most often just music.
function(velmar_checksum_lists types_var names_var)
  set(lists
    "text/x-sfv         *.sfv"
    "text/x-md5sum      *.md5 MD5SUMS"
    "text/x-sha1sum     *.sha1 SHA1SUMS"
    "text/x-sha256sum   *.sha256 SHA256SUMS"
    "text/x-sha512sum   *.sha512 SHA512SUMS"
    "text/x-sha3-256sum *.sha3-256 SHA3-256SUMS"
    "text/x-sha3-512sum *.sha3-512 SHA3-512SUMS"
    "text/x-b2sum       *.b2 B2SUMS"
    "text/x-b3sum       *.b3 B3SUMS"
    "text/x-xxh3sum     *.xxh3 XXH3SUMS"
    "text/x-xxh128sum   *.xxh128 XXH128SUMS"
  )
  set(types "")
  set(names "")
  foreach(row IN LISTS lists)
    string(REGEX MATCHALL "[^ ]+" words "${row}")
    list(POP_FRONT words type)
    list(APPEND types ${type})
    list(APPEND names ${words})
  endforeach()
  set(${types_var} "${types};" PARENT_SCOPE)
  set(${names_var} "${names};" PARENT_SCOPE)
endfunction()
