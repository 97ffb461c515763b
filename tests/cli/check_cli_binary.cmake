# Runs the veltrix-cli binary given as CLI and checks what it prints and returns.

execute_process(COMMAND ${CLI} --format json
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "default run failed: status ${rc}, stderr: ${err}")
endif()

function(expect_json expected)
    string(JSON actual ERROR_VARIABLE parse_error GET "${out}" ${ARGN})
    if(parse_error)
        message(FATAL_ERROR "JSON: ${parse_error}\n${out}")
    endif()
    if(NOT actual STREQUAL expected)
        message(FATAL_ERROR "${ARGN}: expected '${expected}', got '${actual}'")
    endif()
endfunction()

expect_json("0" status)
expect_json("3DR25-1000/U20 - 1.8" part_number)
expect_json("61" sweep count)
expect_json("940" sweep start)
expect_json("1060" sweep stop)
expect_json("Leadless Surface Mount - Orbis" outline title)
expect_json("0.56" outline dimensions 1 0 text)
expect_json("124" outline dimensions 1 0 x)
string(JSON points LENGTH "${out}" sweep attenuation_db)
if(NOT points EQUAL 61)
    message(FATAL_ERROR "expected 61 sweep points, got ${points}")
endif()

# The plus-minus sign reaches a script as UTF-8.
execute_process(COMMAND ${CLI} --mounting tab --units mm --format json
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "tab in mm failed: status ${rc}, stderr: ${err}")
endif()
expect_json("0.81 ±0.08" outline dimensions 14 0 text)

execute_process(COMMAND ${CLI} --mounting sideways
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "drop-in, pin, tab, tessel, orbis")
    message(FATAL_ERROR "usage error: status ${rc}, stdout '${out}', stderr '${err}'")
endif()

execute_process(COMMAND ${CLI} find --f0 1500 --bw 30 --reject 1400:40 --reject 1620:35 --format json
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "find failed: status ${rc}, stderr: ${err}")
endif()
expect_json("4DL33-1500/U30 - 1.8" parts 0 part_number)
expect_json("tab" parts 0 mounting)
expect_json("No DL Parts for Drop-in Mounting" misses 0 reason)
