# What a host application's developers get: the shared add-on library with its
# public headers and data folder, the tools, a CMake package and a pkg-config
# file; the stand-in host as an optional component. Components:
#   runtime  library, data folder, kiro and kiro-sandbox with their data (package qzkiro)
#   dev      headers, CMake package, pkg-config file        (package qzkiro-dev)
#   refhost  the stand-in host library and its headers     (package qzkiro-dev)
include(CMakePackageConfigHelpers)

set(QZKIRO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QZKiroIM)

install(TARGETS qzkiro_condivisa EXPORT QZKiroIMTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/qzkiro
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev FILES_MATCHING PATTERN "*.h")
# The data folder without the test PKI script, which only the sandbox uses.
install(DIRECTORY ${QZKIRO_DATA_DIR}/ DESTINATION ${QZKIRO_CARTELLA_DATI} COMPONENT runtime
  PATTERN pki EXCLUDE)

if(QZKIRO_REFHOST)
  install(TARGETS kiro kiro-sandbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  install(PROGRAMS ${QZKIRO_DATA_DIR}/pki/crea_pki.sh
    DESTINATION ${QZKIRO_CARTELLA_DATI_SANDBOX} COMPONENT runtime)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/refhost/dati/ DESTINATION ${QZKIRO_CARTELLA_DATI_HOST}
    COMPONENT runtime)
  install(TARGETS qzkiro_refhost EXPORT QZKiroIMRefhostTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT refhost NAMELINK_COMPONENT refhost)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/refhost/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/refhost
    COMPONENT refhost FILES_MATCHING PATTERN "*.h" PATTERN dati EXCLUDE)
  install(EXPORT QZKiroIMRefhostTargets NAMESPACE QZKiroIM:: DESTINATION ${QZKIRO_CMAKE_DIR}
    COMPONENT refhost)
endif()

install(EXPORT QZKiroIMTargets NAMESPACE QZKiroIM:: DESTINATION ${QZKIRO_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QZKiroIMConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QZKiroIMConfig.cmake
  INSTALL_DESTINATION ${QZKIRO_CMAKE_DIR} PATH_VARS QZKIRO_CARTELLA_DATI)
# Same major version, same or newer minor: what the SONAME promises.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QZKiroIMConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QZKiroIMConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/QZKiroIMConfigVersion.cmake
  DESTINATION ${QZKIRO_CMAKE_DIR} COMPONENT dev)

file(RELATIVE_PATH QZKIRO_PC_RISALITA ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/qzkiro.pc.in ${CMAKE_CURRENT_BINARY_DIR}/qzkiro.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qzkiro.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

include(${CMAKE_CURRENT_LIST_DIR}/Pacchetti.cmake)
