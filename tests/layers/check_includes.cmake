# Fails when a layer includes a header of a layer above it: engine/ may use
# only itself, host/ the engine and itself; neither sees the games.
#
#   cmake -DROOT=<source tree> -P check_includes.cmake
if(NOT ROOT)
    message(FATAL_ERROR "Give the source tree as -DROOT=<dir>")
endif()

set(forbidden_engine "host|games")
set(forbidden_host "games")

set(faults)
foreach(layer engine host)
    file(GLOB_RECURSE files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line ${includes})
            if(line MATCHES "include[ \t]*[<\"](${forbidden_${layer}})/")
                file(RELATIVE_PATH rel ${ROOT} ${file})
                string(STRIP "${line}" line)
                list(APPEND faults "${rel}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes that reach up a layer:\n  ${text}")
endif()
message(STATUS "Every include of engine/ and host/ stays in its layer")
