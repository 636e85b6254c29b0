# Puts the game's default settings (config.txt) beside the program when there is none, so that a
# player's own settings survive every build. Run with -DSOURCE=... -DTARGET=...
if(NOT EXISTS "${TARGET}")
    file(COPY_FILE "${SOURCE}" "${TARGET}")
    message(STATUS "Wrote the default settings into ${TARGET}")
endif()
