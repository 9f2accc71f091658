# Fails unless CheckIncludes.cmake finds an include that runs back up a layer in each of its
# spellings (in angle brackets, indented with blanks after the "#", relative to the file's
# folder), and the planner, the shop floor or the workbench reaching into the window, a host
# layer above its own or the module's state. Each is put alone into a small tree of its own below
# WORK_DIR.
# Run as: cmake -DCHECK=<CheckIncludes.cmake> -DWORK_DIR=<folder> -P CheckUpwardIsFound.cmake
# Each case: the including file, how it spells the include, and the header it names.
set(cases
    "crd/Upward.cpp|#include <form/CrdForm.h>|form/CrdForm.h"
    "crd/Upward.cpp|  #  include \"form/CrdForm.h\"|form/CrdForm.h"
    "crd/Upward.cpp|#include \"../form/CrdForm.h\"|form/CrdForm.h"
    "planner/Upward.cpp|#include \"form/CrdForm.h\"|form/CrdForm.h"
    "planner/Upward.cpp|#include \"workbench/Workbench.h\"|workbench/Workbench.h"
    "planner/Upward.cpp|#include \"shopfloor/ShopFloor.h\"|shopfloor/ShopFloor.h"
    "shopfloor/Upward.cpp|#include \"workbench/MachineWatch.h\"|workbench/MachineWatch.h"
    "workbench/Upward.cpp|#include \"form/WidgetNames.h\"|form/WidgetNames.h"
    "workbench/Upward.cpp|#include \"module/ModuleState.h\"|module/ModuleState.h")
set(index 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 file)
    list(GET parts 1 spelling)
    list(GET parts 2 header)
    math(EXPR index "${index} + 1")
    set(tree "${WORK_DIR}/upward-${index}")
    file(REMOVE_RECURSE "${tree}")
    file(WRITE "${tree}/${header}" "\n")
    file(WRITE "${tree}/${file}" "${spelling}\n")
    execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${tree} -P "${CHECK}"
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
    if(result EQUAL 0 OR NOT error MATCHES "${file} includes ${header}")
        message(FATAL_ERROR "the include check let ${spelling} in ${file} pass:\n${error}")
    endif()
endforeach()
