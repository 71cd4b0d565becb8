# What `cmake --install` puts under the prefix, and the Debian package made
# from it with `cpack -G DEB` (scripts/package). The editor finds its shared
# files at NEG_SHARE_FROM_BIN, relative to its own folder, so any prefix works.

if(NEG_BUILD_GUI)
  install(TARGETS Nimbra_Engine_Glow RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/nimbra-engine-glow.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/nimbra-engine-glow.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The OPT file type; Debian's triggers update the MIME database and the
  # desktop entries' cache when these land.
  install(FILES data/nimbra-engine-glow.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  # What software centres show of the editor (AppStream), made in data/.
  install(FILES ${CMAKE_BINARY_DIR}/data/nimbra-engine-glow.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
install(TARGETS optglow RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/Colors.dat DESTINATION ${NEG_SHARE_DIR})
install(FILES ${NEG_OUT_DIR}/Samples/demo.opt DESTINATION ${NEG_SHARE_DIR}/Samples)

# The documents Debian looks for beside every package, compressed as it
# expects (-n: no time stamp, so the same input gives the same bytes).
find_program(NEG_GZIP gzip REQUIRED)
set(NEG_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/nimbra-engine-glow)
set(NEG_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${NEG_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E copy ${NEG_CHANGELOG} ${CMAKE_BINARY_DIR}/doc/changelog
  COMMAND ${NEG_GZIP} -9nf ${CMAKE_BINARY_DIR}/doc/changelog
  DEPENDS ${NEG_CHANGELOG}
  COMMENT "Writing changelog.gz"
  VERBATIM)
add_custom_target(changelog_gz ALL DEPENDS ${NEG_CHANGELOG_GZ})
install(FILES ${NEG_CHANGELOG_GZ} data/copyright DESTINATION ${NEG_DOC_DIR})

# The manual pages, made from the programs' --help with the sections of
# data/PROGRAM.h2m around it, so that no option is left out of them. A
# section generator, when given, writes more sections first: the editor's
# KEYS AND MOUSE, from the table that Help > Keys and Mouse shows.
find_program(NEG_HELP2MAN help2man)
function(neg_man_page target summary)
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1)
  set(includes --include ${CMAKE_SOURCE_DIR}/data/${target}.h2m)
  set(depends ${target} ${CMAKE_SOURCE_DIR}/data/${target}.h2m)
  set(generate)
  if(ARGC GREATER 2)
    set(sections ${CMAKE_BINARY_DIR}/man/${target}-sections.h2m)
    set(generate COMMAND ${ARGV2} ${sections})
    set(includes --include ${sections} ${includes})
    list(APPEND depends ${ARGV2})
  endif()
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    ${generate}
    COMMAND ${NEG_HELP2MAN} --no-info --version-string=${PROJECT_VERSION} ${includes}
            --name ${summary} --output ${page} $<TARGET_FILE:${target}>
    COMMAND ${NEG_GZIP} -9nf ${page}
    DEPENDS ${depends}
    COMMENT "Writing ${target}.1.gz"
    VERBATIM)
  add_custom_target(${target}_man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
if(NEG_HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
  neg_man_page(optglow "read and patch the engine glows of OPT model files")
  if(NEG_BUILD_GUI)
    neg_man_page(Nimbra_Engine_Glow "edit the engine glows of OPT model files" neg_keys_man)
  endif()
endif()

set(CPACK_PACKAGE_NAME nimbra-engine-glow)
set(CPACK_PACKAGE_VENDOR "Nimbra_Engine_Glow")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the engine glows of OPT model files")
# The extended description, the same text as the AppStream description. Set
# for the Debian generator itself: through CPACK_PACKAGE_DESCRIPTION_FILE
# CPack escapes the text for XML, and an apostrophe reached the package as
# "&apos;".
file(READ ${CMAKE_SOURCE_DIR}/data/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_HOMEPAGE_URL "https://nimbra-engine-glow.example.org")
set(CPACK_PACKAGE_CONTACT "Nimbra_Engine_Glow maintainers <maintainers@nimbra-engine-glow.invalid>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY nimbra-engine-glow)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its X11 plugin and Mesa's drivers at run time: no library links them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
# What turns the file type and the menu entry into "open OPT files with it".
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
