# Fails when a file includes a header of a layer above its own, or one it may not see. The
# module's layers, from the top: its entry (the exported function and the host's signals), the
# window (form/), the subsystems (crd/, buffer/, run/, gcode/, which may use one another), the
# controller's interface (controller/), and the module's state (the rest of module/). Beside
# them, the planner (planner/) builds on the subsystems and never sees the window or the entry;
# the shop floor's protocols (shopfloor/) build on the planner; the workbench (workbench/) builds
# on both and sees the module only through the header the module publishes for its hosts.
# Run as: cmake -DSOURCE_DIR=<tree> -P CheckIncludes.cmake
if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

function(layer_of file result)
    if(file MATCHES "^workbench/")
        set(${result} -3 PARENT_SCOPE)
    elseif(file MATCHES "^shopfloor/")
        set(${result} -2 PARENT_SCOPE)
    elseif(file MATCHES "^planner/")
        set(${result} -1 PARENT_SCOPE)
    elseif(file MATCHES "^module/(HostSignal|KdvSignal)\\.")
        set(${result} 0 PARENT_SCOPE)
    elseif(file MATCHES "^form/")
        set(${result} 1 PARENT_SCOPE)
    elseif(file MATCHES "^(crd|buffer|run|gcode)/")
        set(${result} 2 PARENT_SCOPE)
    elseif(file MATCHES "^controller/")
        set(${result} 3 PARENT_SCOPE)
    elseif(file MATCHES "^module/")
        set(${result} 4 PARENT_SCOPE)
    else()
        set(${result} "" PARENT_SCOPE)
    endif()
endfunction()

# An include as any of its spellings names it: in quotes or angle brackets, indented, with
# blanks after the "#", and relative to the including file's folder ("../form/CrdForm.h",
# "CrdForm.h" beside it) or to the tree.
function(header_of line folder result)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header
           "${line}")
    if(NOT header MATCHES "/")
        set(header "${folder}/${header}")
    elseif(header MATCHES "^\\.\\./")
        get_filename_component(header "${SOURCE_DIR}/${folder}/${header}" ABSOLUTE)
        file(RELATIVE_PATH header "${SOURCE_DIR}" "${header}")
    endif()
    set(${result} "${header}" PARENT_SCOPE)
endfunction()

set(upward "")
set(checked 0)
# Whether a file of layer `own` may include `header` of layer `theirs`: the module's layers look
# down; the host's layers (planner, shop floor, workbench) look into their own folder, down into
# the host's layers below them and into the subsystems and below, and at the module's state only
# through the headers it publishes for its hosts.
function(may_include own theirs header result)
    set(allowed FALSE)
    if(theirs STREQUAL "")
        set(allowed TRUE)
    elseif(own GREATER_EQUAL 0)
        if(NOT theirs LESS own)
            set(allowed TRUE)
        endif()
    elseif(theirs EQUAL own OR theirs GREATER_EQUAL 2 OR (theirs LESS 0 AND theirs GREATER own))
        set(allowed TRUE)
    endif()
    if(own LESS -1 AND header MATCHES "^module/"
       AND NOT header MATCHES "^module/(KurvoHost|HostTypes|FileAccess)\\.h$")
        set(allowed FALSE)
    endif()
    set(${result} ${allowed} PARENT_SCOPE)
endfunction()

foreach(folder module form crd buffer run gcode controller planner shopfloor workbench)
    file(GLOB sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
                                             ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(source ${sources})
        layer_of(${source} own)
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line ${includes})
            header_of("${line}" ${folder} header)
            layer_of(${header} theirs)
            math(EXPR checked "${checked} + 1")
            may_include("${own}" "${theirs}" "${header}" allowed)
            if(NOT allowed)
                list(APPEND upward "${source} includes ${header}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(upward)
    list(JOIN upward "\n  " lines)
    message(FATAL_ERROR "Includes that run back up a layer:\n  ${lines}")
endif()
message(STATUS "${checked} includes look down or across")
