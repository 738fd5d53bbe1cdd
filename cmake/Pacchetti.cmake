# Two Debian packages: qzkiro (library, data folder, tools) and qzkiro-dev
# (headers, CMake and pkg-config files, the stand-in host). `cpack -G DEB` in
# the build folder makes them; their library dependencies come from
# dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME qzkiro)
set(CPACK_PACKAGE_VENDOR "QZKiroIM")
set(CPACK_PACKAGE_CONTACT "QZKiroIM <qzkiro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Add-on of the GP record application for the regional and national e-health services")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev refhost)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_COMPONENT_RUNTIME_GROUP runtime)
set(CPACK_COMPONENT_DEV_GROUP dev)
set(CPACK_COMPONENT_REFHOST_GROUP dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME qzkiro)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME qzkiro-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qzkiro (= ${PROJECT_VERSION})")
# qzkiro's shlibs file lets other packages depend on the library's version.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The stand-in host links libqzkiro.so.1, which dpkg-shlibdeps must find in
# the runtime package's staging tree beside the dev one (the working folder);
# the dependency itself is the explicit one above.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "../runtime/usr/${CMAKE_INSTALL_LIBDIR}")
include(CPack)
