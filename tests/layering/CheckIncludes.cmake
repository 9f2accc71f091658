# Fails when a file of the module includes a header of a layer above its own. The layers, from
# the top: the module's entry (the exported function and the host's signals), the window
# (form/), the subsystems (crd/, buffer/, run/, gcode/, which may use one another), the
# controller's interface (controller/), and the module's state (the rest of module/).
# Run as: cmake -DSOURCE_DIR=<tree> -P CheckIncludes.cmake
if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

function(layer_of file result)
    if(file MATCHES "^module/(HostSignal|KdvSignal)\\.")
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
foreach(folder module form crd buffer run gcode controller)
    file(GLOB sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
                                             ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(source ${sources})
        layer_of(${source} own)
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line ${includes})
            header_of("${line}" ${folder} header)
            layer_of(${header} theirs)
            math(EXPR checked "${checked} + 1")
            if(NOT theirs STREQUAL "" AND theirs LESS own)
                list(APPEND upward "${source} includes ${header}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(upward)
    list(JOIN upward "\n  " lines)
    message(FATAL_ERROR "Includes that run back up a layer:\n  ${lines}")
endif()
message(STATUS "${checked} includes of the module's code look down or across")
