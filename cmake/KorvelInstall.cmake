# Where `cmake --install` puts Korvel under its prefix (GNU directory names):
#   bin/korvel, bin/korvel-check
#   libexec/korvel/korvel-deleter, libexec/korvel/marketplace-sim
#   share/applications/korvel.desktop, share/icons/hicolor/{scalable,256x256}/apps/
#   share/doc/korvel/ (README, copyright, changelog), share/man/man1/
#   lib/systemd/user/korvel-check@.service and .timer, korvel-serve.service
# KORVEL_INSTALL_FULL_HELPERDIR is defined before the tree is read (the
# program compiles its path to the deleter in); the rules come after it.
set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_docdir ${CMAKE_INSTALL_DATADIR}/doc/korvel)

if(TARGET korvel)
    install(TARGETS korvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${_packaging}/korvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${_packaging}/icons/korvel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${_packaging}/icons/korvel-256.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME korvel.png)
endif()
install(TARGETS korvel-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS korvel-deleter marketplace-sim RUNTIME DESTINATION ${KORVEL_INSTALL_HELPERDIR})

# Debian keeps a native package's changelog and the manual pages compressed,
# without a time stamp.
function(korvel_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
        COMMAND gzip -9 -n -c ${source} > ${output}
        DEPENDS ${source} VERBATIM)
endfunction()
set(_gz ${PROJECT_BINARY_DIR}/packaging)
korvel_gzip(${_packaging}/changelog ${_gz}/changelog.gz)
korvel_gzip(${_packaging}/korvel.1 ${_gz}/korvel.1.gz)
korvel_gzip(${_packaging}/korvel-check.1 ${_gz}/korvel-check.1.gz)
add_custom_target(korvel_packaging_files ALL
    DEPENDS ${_gz}/changelog.gz ${_gz}/korvel.1.gz ${_gz}/korvel-check.1.gz)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${_packaging}/copyright ${_gz}/changelog.gz
    DESTINATION ${_docdir})
install(FILES ${_gz}/korvel-check.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET korvel)
    install(FILES ${_gz}/korvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The services name the installed korvel-check, so they are written at
# install time, when the prefix (and a packager's DESTDIR) is known.
install(FILES ${PROJECT_SOURCE_DIR}/docs/korvel-check@.timer DESTINATION lib/systemd/user)
install(CODE "
    set(_unit_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/user\")
    set(KORVEL_CHECK_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/korvel-check\")
    file(MAKE_DIRECTORY \"\${_unit_dir}\")
    foreach(_unit korvel-check@.service korvel-serve.service)
        configure_file(\"${_packaging}/\${_unit}.in\" \"\${_unit_dir}/\${_unit}\" @ONLY)
        message(STATUS \"Installing: \${_unit_dir}/\${_unit}\")
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_unit_dir}/\${_unit}\")
    endforeach()
")
