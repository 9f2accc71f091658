# cmake -DSOURCE=... -DTARGET=... -P CopyIfMissing.cmake: copies SOURCE to TARGET unless TARGET
# exists, so that a user's own file is never overwritten.
if(NOT EXISTS "${TARGET}")
    configure_file("${SOURCE}" "${TARGET}" COPYONLY)
endif()
