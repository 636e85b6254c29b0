# 7z archives for the data pack: libarchive.
pkg_check_modules(LIBARCHIVE REQUIRED IMPORTED_TARGET libarchive)
target_link_libraries(vorta5_platform PRIVATE PkgConfig::LIBARCHIVE)
