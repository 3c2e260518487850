# Runs inside `cmake --install` (and cpack): writes the files that name installed paths for
# the prefix of this installation, then installs them. file(INSTALL) puts DESTDIR in front of
# each destination itself, so DESTDIR never reaches a file's content.

set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${prefix}")
  get_filename_component(prefix "${prefix}" ABSOLUTE)
endif()
set(KESTRUM_FULL_BINDIR "${prefix}/${KESTRUM_BINDIR}")
set(KESTRUM_FULL_LIBDIR "${prefix}/${KESTRUM_LIBDIR}")
set(KESTRUM_FULL_DATADIR "${prefix}/${KESTRUM_DATADIR}")

# A folder of its own per installation target, so installs of one build tree into several
# places never share their intermediate files.
string(MD5 target "$ENV{DESTDIR}|${prefix}")
set(work "${KESTRUM_PACKAGING_WORK}/${target}")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/man" "${work}/pkgconfig" "${work}/registry" "${work}/doc")

function(kestrum_gzip from to)
  execute_process(COMMAND "${KESTRUM_GZIP}" -9 -n -c "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${from}")
  endif()
endfunction()

# Manual pages, compressed as man-db reads them. A long path may break after any slash.
foreach(dir BINDIR LIBDIR DATADIR)
  string(REPLACE "/" "/\\:" KESTRUM_FULL_${dir} "${KESTRUM_FULL_${dir}}")
endforeach()
foreach(page IN LISTS KESTRUM_MANUAL_PAGES)
  configure_file("${KESTRUM_PACKAGING_SOURCE}/man/${page}.1.in" "${work}/man/${page}.1" @ONLY)
  kestrum_gzip("${work}/man/${page}.1" "${work}/man/${page}.1.gz")
  file(INSTALL "${work}/man/${page}.1.gz" DESTINATION "${prefix}/${KESTRUM_MANDIR}/man1")
endforeach()

set(KESTRUM_FULL_BINDIR "${prefix}/${KESTRUM_BINDIR}")
set(KESTRUM_FULL_LIBDIR "${prefix}/${KESTRUM_LIBDIR}")
set(KESTRUM_FULL_DATADIR "${prefix}/${KESTRUM_DATADIR}")

kestrum_gzip("${KESTRUM_PACKAGING_SOURCE}/debian/changelog" "${work}/doc/changelog.gz")
file(INSTALL "${work}/doc/changelog.gz" DESTINATION "${prefix}/${KESTRUM_DATADIR}/doc/kestrum")

# pkg-config files.
set(libdir "\${prefix}/${KESTRUM_LIBDIR}")
set(includedir "\${prefix}/${KESTRUM_INCLUDEDIR}")
foreach(pc IN LISTS KESTRUM_PKGCONFIG_FILES)
  configure_file("${KESTRUM_PACKAGING_SOURCE}/pkgconfig/${pc}.pc.in" "${work}/pkgconfig/${pc}.pc" @ONLY)
  file(INSTALL "${work}/pkgconfig/${pc}.pc" DESTINATION "${prefix}/${KESTRUM_LIBDIR}/pkgconfig")
endforeach()

# The machine-wide registry: the engine server registered as a user would register it, by its
# own DllRegisterServer (through the build tree's kestrum-regsvr, into a file of its own), with
# the build tree's folder replaced by the folder the server is installed in.
set(registry "${work}/registry/classes.reg")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "KESTRUM_REGISTRY=${registry}"
          "KESTRUM_MACHINE_REGISTRY=${work}/registry/none.reg" "${KESTRUM_REGSVR}" "${KESTRUM_SERVER}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Registering ${KESTRUM_SERVER} for the machine-wide registry failed: ${out}${err}")
endif()
get_filename_component(built "${KESTRUM_SERVER}" DIRECTORY)
file(REAL_PATH "${built}" built)
file(READ "${registry}" entries)
string(REPLACE "${built}/" "${KESTRUM_FULL_LIBDIR}/kestrum/" entries "${entries}")
string(REPLACE "\"${built}\"" "\"${KESTRUM_FULL_LIBDIR}/kestrum\"" entries "${entries}")
string(FIND "${entries}" "${built}" leftover)
if(NOT leftover EQUAL -1)
  message(FATAL_ERROR "The machine-wide registry still names the build tree (${built})")
endif()
file(WRITE "${registry}" "${entries}")
file(INSTALL "${registry}" DESTINATION "${prefix}/${KESTRUM_LIBDIR}/kestrum"
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
