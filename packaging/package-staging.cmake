# cpack runs this on the staged tree before it builds the package.
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")

# The working database Unit_Database.xml is created and kept by the maintainer scripts, not
# owned by the package.
file(GLOB_RECURSE working "${staged}/*/${CPACK_KESTRUM_DATADIR}/kestrum/Unit_Database.xml")
if(NOT working)
  message(FATAL_ERROR "package-staging: no staged ${CPACK_KESTRUM_DATADIR}/kestrum/Unit_Database.xml below ${staged}")
endif()
file(REMOVE ${working})

# Stripped as Debian strips its packages: programs and shared objects of everything but their
# symbols for linking, static libraries of their debugging information.
file(GLOB_RECURSE files LIST_DIRECTORIES false "${staged}/*")
foreach(f IN LISTS files)
  if(IS_SYMLINK "${f}")
    continue()
  endif()
  if(f MATCHES "\\.a$")
    set(options --strip-debug --enable-deterministic-archives)
  else()
    file(READ "${f}" magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
      continue()
    endif()
    set(options)
    if(f MATCHES "\\.so(\\.[0-9.]+)?$")
      set(options --strip-unneeded)
    endif()
  endif()
  execute_process(COMMAND "${CPACK_KESTRUM_STRIP}" ${options} --remove-section=.comment --remove-section=.note "${f}"
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "package-staging: strip failed on ${f}")
  endif()
endforeach()

# Why the remaining lintian warnings are meant.
file(MAKE_DIRECTORY "${staged}/usr/share/lintian/overrides")
file(COPY_FILE "${CPACK_KESTRUM_LINTIAN_OVERRIDES}" "${staged}/usr/share/lintian/overrides/kestrum")
