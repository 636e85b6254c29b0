# Sound effects and streams: OpenAL Soft for the sound device, vorbisfile for Ogg Vorbis decoding.
pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
target_link_libraries(vorta5_platform PRIVATE PkgConfig::OPENAL PkgConfig::VORBISFILE)
