# plotview --export-csv writes the fixture record as the expected CSV files, byte for byte, and
# fails with its message on a channel the record does not have.
file(MAKE_DIRECTORY ${OUT})
function(expect_export expected)
    execute_process(COMMAND ${PLOTVIEW} ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "plotview ${ARGN} failed: ${error}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/out.csv ${FIXTURE}/${expected}
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "plotview ${ARGN} did not write ${expected}")
    endif()
endfunction()

expect_export(Small_00001.csv --export-csv ${OUT}/out.csv ${FIXTURE}/Small_00001.hdr)
expect_export(Small_00001_part.csv --export-csv ${OUT}/out.csv ${FIXTURE}/Small_00001.dat
              --channels "(M)Load" --channels 2 --from 0 --to 0.01 --wall-clock)

execute_process(COMMAND ${PLOTVIEW} --export-csv ${OUT}/bad.csv ${FIXTURE}/Small_00001.hdr
                        --channels Flow
                RESULT_VARIABLE result ERROR_VARIABLE error)
if(result EQUAL 0 OR NOT error STREQUAL "plotview: The record has no channel \"Flow\".\n")
    message(FATAL_ERROR "an unknown channel gave ${result}: ${error}")
endif()
if(EXISTS ${OUT}/bad.csv)
    message(FATAL_ERROR "a failed export left a file")
endif()
