# Fails unless CheckIncludes.cmake finds an include that runs back up a layer in each of its
# spellings: in angle brackets, indented with blanks after the "#", and relative to the file's
# folder. Each is put alone into a small tree of its own below WORK_DIR.
# Run as: cmake -DCHECK=<CheckIncludes.cmake> -DWORK_DIR=<folder> -P CheckUpwardIsFound.cmake
set(spellings "#include <form/CrdForm.h>" "  #  include \"form/CrdForm.h\""
              "#include \"../form/CrdForm.h\"")
set(index 0)
foreach(spelling IN LISTS spellings)
    math(EXPR index "${index} + 1")
    set(tree "${WORK_DIR}/upward-${index}")
    file(REMOVE_RECURSE "${tree}")
    file(WRITE "${tree}/form/CrdForm.h" "\n")
    file(WRITE "${tree}/crd/Upward.cpp" "${spelling}\n")
    execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${tree} -P "${CHECK}"
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
    if(result EQUAL 0 OR NOT error MATCHES "crd/Upward.cpp includes form/CrdForm.h")
        message(FATAL_ERROR "the include check let ${spelling} pass:\n${error}")
    endif()
endforeach()
