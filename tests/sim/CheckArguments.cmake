# cmake -DBOARD_SIM=<path> -DMODULE_SIM=<path> -P CheckArguments.cmake
# Each command line below must end within the time-out (a bound: they end at
# once, while a simulator that serves never ends by itself) with the exit
# status and the output given.
set(TIME_OUT_SECONDS 30)

function(expect_ending status pattern)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output
        TIMEOUT ${TIME_OUT_SECONDS})
    if(NOT result STREQUAL status OR NOT output MATCHES "${pattern}")
        message(SEND_ERROR "${ARGN}\n  ended with: ${result} (expected ${status})\n  said: ${output}"
            "  (expected to match: ${pattern})")
    endif()
endfunction()

expect_ending(0 "^usage: board_sim \\[SIGNATURE\\]\n\nServes the development board" ${BOARD_SIM} --help)
expect_ending(2 "^board_sim: 'XYZ' is no signature: one to six hex digits, such as 1E950F\nusage: board_sim"
    ${BOARD_SIM} XYZ)
expect_ending(2 "^board_sim: '1E950F0' is no signature" ${BOARD_SIM} 1E950F0)
expect_ending(2 "^board_sim: one argument at most\nusage: board_sim" ${BOARD_SIM} 1E950F 1E9514)
expect_ending(0 "^usage: module_sim .*\n\nServes a microcontroller module.*\nEnter in its terminal or kill -USR1 <pid> presses it" ${MODULE_SIM} --help)
expect_ending(2 "^usage: module_sim " ${MODULE_SIM} --bogus)
