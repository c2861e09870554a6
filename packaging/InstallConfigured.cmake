# Runs at install time: writes the files that name installed paths (the systemd unit, the
# desktop entry) for the prefix being installed to, and installs the service's settings file,
# so that `cpack` packs /usr paths whatever prefix the build folder was configured with.
# /usr keeps its settings in /etc, any other prefix in PREFIX/etc.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(TARVINE_SYSCONFDIR /etc)
else()
  set(TARVINE_SYSCONFDIR ${CMAKE_INSTALL_PREFIX}/etc)
endif()
set(TARVINE_BINDIR ${CMAKE_INSTALL_PREFIX}/bin)
set(written ${TARVINE_BINARY_DIR}/installed)
configure_file(${TARVINE_PACKAGING_DIR}/tarvine-serve.service.in ${written}/tarvine-serve.service
               @ONLY)
file(INSTALL ${written}/tarvine-serve.service
     DESTINATION ${CMAKE_INSTALL_PREFIX}/${TARVINE_SYSTEMD_UNIT_DIR})
file(INSTALL ${TARVINE_PACKAGING_DIR}/tarvine-serve.default DESTINATION ${TARVINE_SYSCONFDIR}/default
     RENAME tarvine-serve)
if(TARVINE_WITH_QT)
  configure_file(${TARVINE_PACKAGING_DIR}/tarvine.desktop.in ${written}/tarvine.desktop @ONLY)
  file(INSTALL ${written}/tarvine.desktop DESTINATION ${CMAKE_INSTALL_PREFIX}/${TARVINE_DATADIR}/applications)
endif()
