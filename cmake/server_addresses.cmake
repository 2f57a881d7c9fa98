# The six server addresses written into the launcher files: VORLANE_LIVE_SERVERS (five, the
# first a host name, the others dotted IPv4) and VORLANE_EXPERIENCE_SERVER (dotted IPv4).
# vorlane_check_server_addresses() stops the configure step on an address the launcher
# could not use, naming the variable and the value, and sets VORLANE_DOCUMENTATION_SERVERS
# to the variables that still hold documentation addresses, which reach no server.
#
# Script mode checks given values, for the tests:
#   cmake -DVORLANE_LIVE_SERVERS="a;b;c;d;e" -DVORLANE_EXPERIENCE_SERVER=f -P cmake/server_addresses.cmake
cmake_policy(VERSION 3.25)

# Four decimal numbers 0-255; no leading zeros, which some readers take for octal.
function(_vorlane_is_ipv4 value out)
    set(${out} FALSE PARENT_SCOPE)
    if(NOT value MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        return()
    endif()
    foreach(part ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
        string(LENGTH "${part}" digits)
        if(digits GREATER 3 OR part MATCHES "^0." OR part GREATER 255)
            return()
        endif()
    endforeach()
    set(${out} TRUE PARENT_SCOPE)
endfunction()

# Dot-separated labels of letters, digits and inner hyphens (at most 63 characters each, 253
# in all); the last label is not all digits, so a dotted IPv4 address is no host name.
function(_vorlane_is_host_name value out)
    set(${out} FALSE PARENT_SCOPE)
    string(LENGTH "${value}" length)
    if(length GREATER 253 OR NOT value MATCHES "^[A-Za-z0-9.-]+$")
        return()
    endif()
    string(REPLACE "." ";" labels "${value}")
    foreach(label IN LISTS labels)
        string(LENGTH "${label}" length)
        if(length GREATER 63 OR NOT label MATCHES "^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?$")
            return()
        endif()
    endforeach()
    list(GET labels -1 last)
    if(last MATCHES "^[0-9]+$")
        return()
    endif()
    set(${out} TRUE PARENT_SCOPE)
endfunction()

# RFC 5737 networks, and names reserved so that they never reach anyone (RFC 2606).
function(_vorlane_is_documentation value out)
    string(TOLOWER "${value}" name)
    if(name MATCHES "^(192\\.0\\.2|198\\.51\\.100|203\\.0\\.113)\\."
       OR name MATCHES "(^|\\.)(invalid|test|example|localhost|example\\.com|example\\.net|example\\.org)$")
        set(${out} TRUE PARENT_SCOPE)
    else()
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

function(vorlane_check_server_addresses)
    list(LENGTH VORLANE_LIVE_SERVERS count)
    if(NOT count EQUAL 5)
        message(FATAL_ERROR "VORLANE_LIVE_SERVERS must list five addresses separated by ';', "
                            "not ${count}: \"${VORLANE_LIVE_SERVERS}\"")
    endif()
    set(documentation "")
    set(position 0)
    foreach(address IN LISTS VORLANE_LIVE_SERVERS)
        math(EXPR position "${position} + 1")
        if(position EQUAL 1)
            _vorlane_is_host_name("${address}" good)
            set(form "a host name")
        else()
            _vorlane_is_ipv4("${address}" good)
            set(form "a dotted IPv4 address")
        endif()
        if(NOT good)
            message(FATAL_ERROR "VORLANE_LIVE_SERVERS: address ${position}, \"${address}\", is not ${form}")
        endif()
        _vorlane_is_documentation("${address}" reserved)
        if(reserved)
            set(documentation VORLANE_LIVE_SERVERS)
        endif()
    endforeach()
    _vorlane_is_ipv4("${VORLANE_EXPERIENCE_SERVER}" good)
    if(NOT good)
        message(FATAL_ERROR "VORLANE_EXPERIENCE_SERVER: \"${VORLANE_EXPERIENCE_SERVER}\" is not a dotted IPv4 address")
    endif()
    _vorlane_is_documentation("${VORLANE_EXPERIENCE_SERVER}" reserved)
    if(reserved)
        list(APPEND documentation VORLANE_EXPERIENCE_SERVER)
    endif()
    set(VORLANE_DOCUMENTATION_SERVERS "${documentation}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    vorlane_check_server_addresses()
    message("documentation addresses in: ${VORLANE_DOCUMENTATION_SERVERS}")
endif()
