# Debian's hardening in the optimised builds, the package's among them: the flags dpkg-buildflags
# gives with every hardening feature on (stack protector, fortified functions, format checks,
# relro and immediate binding; the compiler makes position-independent executables by default).
# The optimisation level and the debug information stay the build type's. The debug builds are
# left alone: fortification needs optimisation, and the sanitizers bring their own checks.
option(VSOLO_HARDENING
  "Build the optimised configurations with the hardening flags of dpkg-buildflags" ON)

set(VSOLO_HARDENING_CXXFLAGS "")
set(VSOLO_HARDENING_LDFLAGS "")
if(VSOLO_HARDENING AND NOT VSOLO_SANITIZE)
  find_program(VSOLO_DPKG_BUILDFLAGS dpkg-buildflags)
  if(VSOLO_DPKG_BUILDFLAGS)
    foreach(kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
      # Run in the source folder, so that the file prefix map it gives makes the paths in the
      # objects relative to it and the build reproducible wherever it is made.
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
          ${VSOLO_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
      endif()
      separate_arguments(flags UNIX_COMMAND "${flags}")
      list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9sgz]?)$")
      if(kind STREQUAL "LDFLAGS")
        list(APPEND VSOLO_HARDENING_LDFLAGS ${flags})
      else()
        list(APPEND VSOLO_HARDENING_CXXFLAGS ${flags})
      endif()
    endforeach()
    list(JOIN VSOLO_HARDENING_CXXFLAGS " " shown)
    list(JOIN VSOLO_HARDENING_LDFLAGS " " shown_ld)
    message(STATUS "Hardening the optimised builds with: ${shown} ${shown_ld}")
  else()
    message(STATUS "No dpkg-buildflags: the optimised builds are not hardened")
  endif()
endif()

set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
target_compile_options(vsolo_options INTERFACE "$<${optimised}:${VSOLO_HARDENING_CXXFLAGS}>")
target_link_options(vsolo_options INTERFACE "$<${optimised}:${VSOLO_HARDENING_LDFLAGS}>")
unset(optimised)
