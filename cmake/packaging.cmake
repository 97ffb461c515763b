# Installation (GNU directories) and the two Debian packages of one build: veltrix-cli (the companion, the
# engine's libraries only) and veltrix (the desktop program), which depends on it.
include(GNUInstallDirs)

set(VELTRIX_DEBIAN_REVISION 1)
set(VELTRIX_DEBIAN_VERSION ${PROJECT_VERSION}-${VELTRIX_DEBIAN_REVISION})
set(VELTRIX_DEBIAN_DIR ${CMAKE_CURRENT_LIST_DIR}/debian)
set(VELTRIX_PACKAGE_BUILD_DIR ${PROJECT_BINARY_DIR}/debian)
file(MAKE_DIRECTORY ${VELTRIX_PACKAGE_BUILD_DIR})

set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VENDOR "Norvane Microwave")
set(CPACK_PACKAGE_CONTACT "Norvane Microwave <sales@norvane.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY veltrix)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli gui)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELTRIX_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME veltrix-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SOURCE veltrix)
set(CPACK_DEBIAN_CLI_DESCRIPTION "ceramic bandpass filter selection from the command line
veltrix-cli judges a specification for a standard Veltrix ceramic
coaxial-resonator bandpass filter against the product line's limits and
prints the part number, the insertion loss, the stopband attenuations and
the tabular response as text, JSON or CSV. It writes the response as a
Touchstone file and finds every standard part that meets a requirement.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME veltrix)
# The libraries come from dpkg-shlibdeps and the companion from the component's dependency; what the
# program loads at run time without linking it (the fonts its pages are drawn in) is named here.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_GUI_DEPENDS cli)
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_GUI_DESCRIPTION "ceramic bandpass filter selection program
Veltrix helps an RF engineer choose a standard ceramic coaxial-resonator
bandpass filter: it judges an entry against the product line's limits and
shows the part number, the insertion loss, the stopband attenuation, a
response graph, a tabular report and the dimensioned outline drawing.
Every window prints and exports. The command-line companion is in the
package veltrix-cli.")
include(CPack)

# The release date (beside project()), for the changelog and the manual pages' footers.
execute_process(COMMAND date -u -R -d "${VELTRIX_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE VELTRIX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND date -u +%s -d "${VELTRIX_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE VELTRIX_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# The changelog, compressed without a name or time stamp so that two builds give the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
configure_file(${VELTRIX_DEBIAN_DIR}/changelog.in ${VELTRIX_PACKAGE_BUILD_DIR}/changelog.Debian @ONLY)
execute_process(COMMAND ${GZIP_PROGRAM} -9nc
  INPUT_FILE ${VELTRIX_PACKAGE_BUILD_DIR}/changelog.Debian
  OUTPUT_FILE ${VELTRIX_PACKAGE_BUILD_DIR}/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
foreach(_component_package IN ITEMS "cli;veltrix-cli" "gui;veltrix")
  list(GET _component_package 0 _component)
  list(GET _component_package 1 _package)
  install(FILES ${VELTRIX_DEBIAN_DIR}/copyright ${VELTRIX_PACKAGE_BUILD_DIR}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${_package} COMPONENT ${_component})
  install(FILES ${VELTRIX_DEBIAN_DIR}/${_package}.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${_package} COMPONENT ${_component})
endforeach()

# The manual pages are the programs' own --help, run at build time. The build directory goes first on
# PATH so that the pages name the command, not the path it was built at.
find_program(HELP2MAN help2man)
set(VELTRIX_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(VELTRIX_MAN_PAGES)
if(HELP2MAN)
  # The companion's subcommands have a help of their own, made into a section each.
  foreach(_page IN ITEMS "veltrix;gui;ceramic bandpass filter selection program;"
                          "veltrix-cli;cli;ceramic bandpass filter selection from the command line;find,compare")
    list(GET _page 0 _program)
    list(GET _page 1 _component)
    list(GET _page 2 _name)
    list(GET _page 3 _subcommands)
    set(_out ${VELTRIX_MAN_DIR}/${_program}.1)
    set(_help2man ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        "PATH=$<TARGET_FILE_DIR:${_program}>:/usr/bin:/bin" SOURCE_DATE_EPOCH=${VELTRIX_RELEASE_EPOCH}
        ASAN_OPTIONS=detect_leaks=0 LC_ALL=C.UTF-8
        ${HELP2MAN} --no-info --section=1 --name=${_name} --version-string=${PROJECT_VERSION})
    set(_include ${VELTRIX_DEBIAN_DIR}/${_program}.h2m)
    set(_subpages)
    if(_subcommands)
      set(_include ${VELTRIX_MAN_DIR}/${_program}.h2m)
      string(REPLACE "," ";" _each "${_subcommands}")
      foreach(_sub IN LISTS _each)
        list(APPEND _subpages COMMAND ${_help2man} "--help-option=${_sub} --help"
                                      --output=${VELTRIX_MAN_DIR}/${_sub}.1 ${_program})
      endforeach()
      list(APPEND _subpages COMMAND ${CMAKE_COMMAND} -DBASE=${VELTRIX_DEBIAN_DIR}/${_program}.h2m
                                    -DOUTPUT=${_include} -DSUBCOMMANDS=${_subcommands}
                                    -DPAGES_DIR=${VELTRIX_MAN_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/man_subcommands.cmake)
    endif()
    add_custom_command(OUTPUT ${_out}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VELTRIX_MAN_DIR}
      ${_subpages}
      COMMAND ${_help2man} --include=${_include} --output=${_out} ${_program}
      COMMAND ${GZIP_PROGRAM} -9nf ${_out}
      DEPENDS ${_program} ${VELTRIX_DEBIAN_DIR}/${_program}.h2m ${PROJECT_SOURCE_DIR}/cmake/man_subcommands.cmake
      COMMENT "Writing the manual page of ${_program}"
      VERBATIM)
    install(FILES ${_out}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${_component})
    list(APPEND VELTRIX_MAN_PAGES ${_out}.gz)
  endforeach()
  add_custom_target(veltrix_manual_pages ALL DEPENDS ${VELTRIX_MAN_PAGES})
else()
  message(WARNING "help2man not found: no manual pages (scripts/setup.sh installs it)")
endif()
