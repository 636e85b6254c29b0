# Packs a data folder into a 7z archive with the real 7z command, the members named "data/...", as the
# game looks them up. Run as: cmake -DSEVEN_ZIP=7z -DRUNTIME_DIR=<folder holding data/> -DPACK=<archive> -P pack.cmake
if(NOT IS_DIRECTORY "${RUNTIME_DIR}/data")
    message(FATAL_ERROR "no data folder in ${RUNTIME_DIR}")
endif()
file(REMOVE "${PACK}")
execute_process(COMMAND "${SEVEN_ZIP}" a -t7z -bd -bso0 -bsp0 -mx=7 "${PACK}" data
                WORKING_DIRECTORY "${RUNTIME_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE "${PACK}")
    message(FATAL_ERROR "7z could not pack ${RUNTIME_DIR}/data (${result})")
endif()
