# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
# Installation: the library with its headers, help file and profile file, the
# kxsim program, the language files, a CMake package and a pkg-config file.
#
#   <prefix>/lib/libkxsimlib.so.31.0.0 (+ .so.31, .so)   the library
#   <prefix>/lib/kxhelpd.chm, kxmobil.ini                 beside it, where it looks for them
#   <prefix>/include/kxsimlib/*.h                         public headers with kxsimlib_export.h
#   <prefix>/bin/kxsim                                    finds the library through $ORIGIN/../lib
#   <prefix>/share/man/man1/kxsim.1                       its manual page, written by kxsim --man
#   <prefix>/share/bash-completion/completions/kxsim      its completion, written by kxsim --bash-completion
#   <prefix>/share/kxsimlib/lang/*.ini                    language files
#   <prefix>/share/kxsimlib/operators.ini                 operator names of the network list (kxsim card networks)
#   <prefix>/share/kxsimlib/samples/networks.ini          the network list kxsim network and the workbench show by default
#   <prefix>/lib/cmake/kxsimlib/                          find_package(kxsimlib) -> kxsim::kxsimlib
#   <prefix>/lib/pkgconfig/kxsimlib.pc
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KXSIM_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/kxsimlib)
set(KXSIM_INSTALL_LANGDIR ${CMAKE_INSTALL_DATADIR}/kxsimlib/lang)
set(KXSIM_QT_MIN_VERSION 6.4)

# Hosts compile the headers as C++20 and find them under <prefix>/include.
target_compile_features(kxsimlib PUBLIC cxx_std_20)
target_include_directories(kxsimlib PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS kxsimlib EXPORT kxsimlibTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kxsimlib
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
  FILES_MATCHING PATTERN "*.h")
install(FILES ${PROJECT_BINARY_DIR}/include/kxsimlib/kxsimlib_export.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kxsimlib COMPONENT development)

# The library looks for these in its own folder.
install(FILES ${PROJECT_SOURCE_DIR}/data/kxmobil.ini DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
file(GLOB KXSIM_LANGUAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/lang/*.ini)
install(FILES ${KXSIM_LANGUAGE_FILES} DESTINATION ${KXSIM_INSTALL_LANGDIR} COMPONENT runtime)
# The operator names of kxsim card networks (made by kxsim networks-ini).
install(FILES ${PROJECT_SOURCE_DIR}/data/operators.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/kxsimlib COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/samples/networks.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/kxsimlib/samples COMPONENT runtime)

if(TARGET kxsim)
  # Relative, so the installed tree can be moved as a whole.
  file(RELATIVE_PATH kxsim_to_lib
    ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(kxsim PROPERTIES INSTALL_RPATH "$ORIGIN/${kxsim_to_lib}")
  install(TARGETS kxsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  install(FILES ${KXSIM_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
  install(FILES ${KXSIM_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT runtime)
endif()

install(EXPORT kxsimlibTargets NAMESPACE kxsim::
  DESTINATION ${KXSIM_INSTALL_CMAKEDIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kxsimlibConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kxsimlibConfig.cmake
  INSTALL_DESTINATION ${KXSIM_INSTALL_CMAKEDIR}
  PATH_VARS CMAKE_INSTALL_LIBDIR KXSIM_INSTALL_LANGDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kxsimlibConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kxsimlibConfig.cmake ${PROJECT_BINARY_DIR}/kxsimlibConfigVersion.cmake
  DESTINATION ${KXSIM_INSTALL_CMAKEDIR} COMPONENT development)

# pkg-config: the prefix is found from the .pc file's own folder, so the file
# stays right for `cmake --install --prefix` and for a moved tree.
file(RELATIVE_PATH KXSIM_PC_UP
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" KXSIM_PC_UP "${KXSIM_PC_UP}")
set(KXSIM_PC_PREFIX "\${pcfiledir}/${KXSIM_PC_UP}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(KXSIM_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
endif()
foreach(kind LIBDIR INCLUDEDIR DATADIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(KXSIM_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(KXSIM_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/kxsimlib.pc.in ${PROJECT_BINARY_DIR}/kxsimlib.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kxsimlib.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
