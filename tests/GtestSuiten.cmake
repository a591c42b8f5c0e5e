# One ctest test per GoogleTest suite instead of one per test: a test
# program whose every process pays for a costly start (an application object,
# fonts, Qt's translations) runs each suite in one process, with the gtest
# filter "Suite.*". ctest names the test after the suite, so `ctest -R` still
# selects suites; the gtest output in the log names the test that failed.
#
# Like gtest_discover_tests, the list is read from the built program after
# every build; the file it writes is included when ctest runs.
#
#   zw_gtest_suiten(<target> [LABELS <label>...] [ENVIRONMENT <VAR=wert>...])
#
# A suite whose every test skipped ends with 77 (see tests/ui/main.cpp) and is
# shown as skipped; a suite with a failure fails, even if others skipped.

if(CMAKE_SCRIPT_MODE_FILE)
    # Script mode: PROGRAMM, AUSGABE and EIGENSCHAFTEN (a file that holds
    # the properties, which may contain semicolons) come with -D.
    cmake_policy(VERSION 3.25)
    file(READ "${EIGENSCHAFTEN}" eigenschaften)
    execute_process(
        COMMAND "${PROGRAMM}" --gtest_list_tests
        OUTPUT_VARIABLE liste
        ERROR_VARIABLE fehler
        RESULT_VARIABLE rc
        TIMEOUT 60)
    if(NOT rc EQUAL 0)
        file(REMOVE "${AUSGABE}")
        message(FATAL_ERROR "${PROGRAMM} --gtest_list_tests: ${rc}\n${liste}\n${fehler}")
    endif()
    string(REPLACE ";" "," liste "${liste}")
    string(REPLACE "\n" ";" zeilen "${liste}")
    set(inhalt "")
    set(gesehen "")
    foreach(zeile IN LISTS zeilen)
        # Suites stand at the start of a line, their tests indented below.
        if(zeile MATCHES "^([A-Za-z0-9_/]+)\\.")
            set(suite "${CMAKE_MATCH_1}")
            if(suite IN_LIST gesehen)
                continue()
            endif()
            list(APPEND gesehen "${suite}")
            string(APPEND inhalt
                   "add_test([==[${suite}]==] [==[${PROGRAMM}]==] [==[--gtest_filter=${suite}.*]==])\n"
                   "set_tests_properties([==[${suite}]==] PROPERTIES ${eigenschaften})\n")
        endif()
    endforeach()
    if(NOT gesehen)
        message(FATAL_ERROR "${PROGRAMM} nennt keine Tests:\n${liste}")
    endif()
    file(WRITE "${AUSGABE}" "${inhalt}")
    return()
endif()

function(zw_gtest_suiten ziel)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LABELS;ENVIRONMENT")
    set(eigenschaften "SKIP_RETURN_CODE 77 WORKING_DIRECTORY [==[${CMAKE_CURRENT_BINARY_DIR}]==]")
    if(arg_LABELS)
        string(APPEND eigenschaften " LABELS [==[${arg_LABELS}]==]")
    endif()
    if(arg_ENVIRONMENT)
        string(APPEND eigenschaften " ENVIRONMENT [==[${arg_ENVIRONMENT}]==]")
    endif()
    set(datei "${CMAKE_CURRENT_BINARY_DIR}/${ziel}_suiten_eigenschaften.txt")
    file(WRITE "${datei}" "${eigenschaften}")
    set(tests "${CMAKE_CURRENT_BINARY_DIR}/${ziel}_suiten_tests.cmake")
    set(einbinden "${CMAKE_CURRENT_BINARY_DIR}/${ziel}_suiten_include.cmake")
    add_custom_command(
        TARGET ${ziel} POST_BUILD
        BYPRODUCTS "${tests}"
        COMMAND "${CMAKE_COMMAND}"
                -D "PROGRAMM=$<TARGET_FILE:${ziel}>"
                -D "AUSGABE=${tests}"
                -D "EIGENSCHAFTEN=${datei}"
                -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
        VERBATIM)
    file(WRITE "${einbinden}"
         "if(EXISTS \"${tests}\")\n"
         "  include(\"${tests}\")\n"
         "else()\n"
         "  add_test(${ziel}_NICHT_GEBAUT ${ziel}_NICHT_GEBAUT)\n"
         "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${einbinden}")
endfunction()
