# Sprite batch buffers are OpenGL buffers; GL functions come through libepoxy.
pkg_check_modules(QUAD_EPOXY REQUIRED IMPORTED_TARGET epoxy)
target_link_libraries(vorta5_platform PUBLIC PkgConfig::QUAD_EPOXY)
