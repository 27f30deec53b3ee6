# Installs headers, the library, a CMake package (veltcore::veltcore) and veltcore.pc.
include(CMakePackageConfigHelpers)

install(TARGETS veltcore EXPORT veltcoreTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/veltcore DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(VELTCORE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/veltcore)
install(EXPORT veltcoreTargets NAMESPACE veltcore:: DESTINATION ${VELTCORE_CMAKE_DIR})
configure_package_config_file(cmake/veltcoreConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/veltcoreConfig.cmake
  INSTALL_DESTINATION ${VELTCORE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/veltcoreConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/veltcoreConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/veltcoreConfigVersion.cmake
  DESTINATION ${VELTCORE_CMAKE_DIR})

# The .pc file finds its prefix from its own place, so `cmake --install --prefix P` works.
file(RELATIVE_PATH VELTCORE_PC_UP /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
configure_file(cmake/veltcore.pc.in ${CMAKE_CURRENT_BINARY_DIR}/veltcore.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/veltcore.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
