# cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake: installs the build into PREFIX as a
# package lays it out, checks the files a host and a desktop expect (the desktop entry, the
# AppStream metadata and the manual page validated, the manual page naming every option the
# workbench's --help names), then starts the installed workbench offscreen through its launcher
# until it has taken a picture of its window, twice: the operator's host folder is prepared once
# and their settings stay. A box in the way (a sample program that does not open) would hold it
# until the time-out.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(host "${PREFIX}/lib/kurvo/host")
foreach(file bin/kurvo-workbench lib/kurvo/host/kurvo-workbench lib/kurvo/host/librvAPI.so
             lib/kurvo/host/modules/libKurvo.so lib/kurvo/host/modules/Crd.ini
             share/applications/org.kurvo.workbench.desktop
             share/metainfo/org.kurvo.workbench.metainfo.xml
             share/icons/hicolor/scalable/apps/kurvo-workbench.svg
             share/icons/hicolor/48x48/apps/kurvo-workbench.png
             share/icons/hicolor/256x256/apps/kurvo-workbench.png
             share/man/man1/kurvo-workbench.1.gz share/doc/kurvo/copyright
             share/doc/kurvo/changelog.gz share/kurvo/examples/square.nc
             share/kurvo/examples/contour.nc)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

function(run_checked)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN}: ${result}\n${output}")
    endif()
endfunction()
run_checked(desktop-file-validate "${PREFIX}/share/applications/org.kurvo.workbench.desktop")
run_checked(appstreamcli validate --no-net --pedantic
            "${PREFIX}/share/metainfo/org.kurvo.workbench.metainfo.xml")

execute_process(COMMAND gzip -dc "${PREFIX}/share/man/man1/kurvo-workbench.1.gz"
                OUTPUT_VARIABLE manual RESULT_VARIABLE unpacked)
execute_process(COMMAND "${host}/kurvo-workbench" --help OUTPUT_VARIABLE help)
string(REGEX MATCHALL "--[a-z-]+" options "${help}")
string(REPLACE "\\-" "-" manual "${manual}")
foreach(option IN LISTS options)
    if(NOT unpacked EQUAL 0 OR NOT manual MATCHES "${option}")
        message(FATAL_ERROR "the manual page does not name ${option}")
    endif()
endforeach()

# The launcher prepares the operator's own host folder, here below PREFIX.
set(ENV{XDG_DATA_HOME} "${PREFIX}/home")
set(settings "${PREFIX}/home/kurvo/host/modules/Crd.ini")
file(SHA256 "${host}/modules/Crd.ini" sample)
foreach(start first second)
    execute_process(COMMAND "${PREFIX}/bin/kurvo-workbench" --lang en
                            --screenshot "${PREFIX}/workbench.png" -platform offscreen
                    RESULT_VARIABLE started TIMEOUT 60)
    if(NOT started EQUAL 0 OR NOT EXISTS "${PREFIX}/workbench.png" OR NOT EXISTS "${settings}")
        message(FATAL_ERROR "the ${start} start of the installed workbench: ${started}")
    endif()
    file(REMOVE "${PREFIX}/workbench.png")
    if(start STREQUAL "first")
        file(READ "${settings}" text)
        string(REPLACE "synVelMax=1000" "synVelMax=777" text "${text}")
        file(WRITE "${settings}" "${text}")
    endif()
endforeach()
file(READ "${settings}" kept)
file(SHA256 "${host}/modules/Crd.ini" sampleAfter)
if(NOT kept MATCHES "synVelMax=777" OR NOT sample STREQUAL sampleAfter)
    message(FATAL_ERROR "the operator's settings were not kept, or the sample changed")
endif()

# Launches at once on a fresh home, as a session restoring its windows makes them: every one
# runs the operator's own copy (none falls back), and the installed files stay as installed.
# Also with a relative XDG_DATA_HOME, which the XDG rules ignore.
file(GLOB_RECURSE installedFiles LIST_DIRECTORIES false "${PREFIX}/bin/*" "${PREFIX}/lib/*")
function(checksums result)
    set(sums "")
    foreach(file IN LISTS installedFiles)
        file(SHA256 "${file}" sum)
        list(APPEND sums "${file}=${sum}")
    endforeach()
    set(${result} "${sums}" PARENT_SCOPE)
endfunction()
checksums(before)
set(launcher "${PREFIX}/bin/kurvo-workbench")
foreach(round RANGE 1 4)
    set(ENV{XDG_DATA_HOME} "${PREFIX}/home-${round}")
    set(ENV{HOME} "${PREFIX}/home-${round}/user")
    if(round EQUAL 4)
        set(ENV{XDG_DATA_HOME} "relative/data")
    endif()
    # Started together in the background; each one's exit code counts.
    set(arguments --version)
    set(count 6)
    if(round GREATER_EQUAL 3)
        set(arguments --lang en -platform offscreen --screenshot "${PREFIX}/parallel.png")
        set(count 3)
    endif()
    execute_process(
        COMMAND sh -c [[count=$1; shift; pids=
                        for i in $(seq "$count"); do "$@" > /dev/null & pids="$pids $!"; done
                        failed=0; for pid in $pids; do wait "$pid" || failed=$?; done
                        exit "$failed"]]
                sh ${count} "${launcher}" ${arguments}
        RESULT_VARIABLE result ERROR_VARIABLE errors TIMEOUT 120)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "a parallel launch (round ${round}) ended with ${result}: ${errors}")
    endif()
    if(errors MATCHES "cannot prepare")
        message(FATAL_ERROR "a parallel launch (round ${round}) fell back: ${errors}")
    endif()
    set(own "$ENV{HOME}/.local/share/kurvo/host")
    if(round LESS 4)
        set(own "${PREFIX}/home-${round}/kurvo/host")
    endif()
    file(SHA256 "${own}/kurvo-workbench" copied)
    file(SHA256 "${host}/kurvo-workbench" original)
    file(GLOB leftovers "${own}/kurvo-workbench.*" "${own}/modules/Crd.ini.*")
    if(NOT copied STREQUAL original OR leftovers OR NOT EXISTS "${own}/modules/Crd.ini")
        message(FATAL_ERROR "round ${round}: the host folder ${own} is not as prepared: ${leftovers}")
    endif()
endforeach()
checksums(after)
if(NOT before STREQUAL after)
    message(FATAL_ERROR "the installed files changed")
endif()
