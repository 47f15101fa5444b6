# Read by CPack for each generator: the Debian package installs below /usr, the portable
# archive holds bin/, lib/ and share/ directly below its top folder.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
endif()
