# cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake: installs the build into PREFIX, checks
# the layout a host expects, and starts the installed workbench offscreen until it has taken a
# picture of its window. A box in the way (a sample program that does not open) would hold it
# until the time-out.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
file(GLOB module "${PREFIX}/*/kurvo/modules/*Kurvo*")
file(GLOB settings "${PREFIX}/*/kurvo/modules/Crd.ini")
file(GLOB examples "${PREFIX}/share/kurvo/examples/*.nc")
list(LENGTH examples exampleCount)
if(NOT module OR NOT settings OR NOT exampleCount EQUAL 2)
    message(FATAL_ERROR "layout: module '${module}', settings '${settings}', examples '${examples}'")
endif()
execute_process(COMMAND "${PREFIX}/bin/kurvo-workbench" --lang en
                        --screenshot "${PREFIX}/workbench.png" -platform offscreen
                RESULT_VARIABLE started TIMEOUT 60)
if(NOT started EQUAL 0 OR NOT EXISTS "${PREFIX}/workbench.png")
    message(FATAL_ERROR "the installed workbench did not take its picture: ${started}")
endif()
