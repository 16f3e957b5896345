# somnar_include_rule(<target> FOLDERS <folders under src> [EXCEPT <files>] MAY_INCLUDE <entries>)
# The build of <target> fails when a header or source in FOLDERS includes one outside
# MAY_INCLUDE: folders under src ending in "/", or "seams" for the headers of src/platform.
# So an include against the direction of the layers is refused before anything links.
function(somnar_include_rule target)
    cmake_parse_arguments(RULE "" "" "FOLDERS;EXCEPT;MAY_INCLUDE" ${ARGN})
    set(files "")
    foreach(folder IN LISTS RULE_FOLDERS)
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp
                                          ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
        list(APPEND files ${found})
    endforeach()
    foreach(except IN LISTS RULE_EXCEPT)
        list(REMOVE_ITEM files ${PROJECT_SOURCE_DIR}/src/${except})
    endforeach()
    string(REPLACE ";" "|" file_list "${files}")
    string(REPLACE ";" "|" allowed "${RULE_MAY_INCLUDE}")
    string(REPLACE ";" "|" layer "${RULE_FOLDERS}")
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.includes-checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DLAYER=${layer} -DFILES=${file_list} -DALLOWED=${allowed}
                -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
        DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
        COMMENT "Checking the includes of ${target}" VERBATIM)
    add_custom_target(${target}_includes DEPENDS ${stamp})
    add_dependencies(${target} ${target}_includes)
endfunction()
