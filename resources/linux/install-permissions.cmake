# Run by "cmake --install" as its last step. When installing for real as root (not into
# a DESTDIR for packaging), it grants what waking the machine needs:
#  - CAP_WAKE_ALARM on the program, for the wake-up from standby (kernel alarm timer);
#  - the group somnar-wake and write access for it to the real-time clock's wake alarm,
#    for the wake-up from hibernation.
set(program "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/somnar-scheduler")
execute_process(COMMAND id -u OUTPUT_VARIABLE user_id OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT user_id STREQUAL "0")
    message(STATUS "Not root: the wake-up permissions are left for an administrator (see README)")
    return()
endif()
execute_process(COMMAND setcap cap_wake_alarm+ep "${program}" RESULT_VARIABLE capability_result)
if(capability_result EQUAL 0)
    message(STATUS "Granted CAP_WAKE_ALARM to ${program}")
else()
    message(WARNING "Could not grant CAP_WAKE_ALARM to ${program} (is setcap installed?)")
endif()
if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()
execute_process(COMMAND groupadd --force --system somnar-wake)
message(STATUS "Group somnar-wake ready; add the program's users with: adduser USER somnar-wake")
find_program(udevadm udevadm)
if(udevadm)
    execute_process(COMMAND "${udevadm}" control --reload)
    execute_process(COMMAND "${udevadm}" trigger --subsystem-match=rtc --action=add)
endif()
