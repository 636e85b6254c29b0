# The GPU layer: OpenGL through libepoxy, image files through stb_image and stb_image_write.
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
target_include_directories(vorta5_platform SYSTEM PRIVATE ${STB_INCLUDE_DIR})
target_link_libraries(vorta5_platform PUBLIC PkgConfig::EPOXY m)
