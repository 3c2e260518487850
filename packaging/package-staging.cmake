# cpack runs this on the staged tree before it builds the package: the working database
# Unit_Database.xml is created and kept by the maintainer scripts, not owned by the package.
file(GLOB_RECURSE working "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/${CPACK_KESTRUM_DATADIR}/kestrum/Unit_Database.xml")
if(NOT working)
  message(FATAL_ERROR "package-staging: no staged ${CPACK_KESTRUM_DATADIR}/kestrum/Unit_Database.xml below ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
file(REMOVE ${working})
