# Runs the stamp preview program under Wine, once per settings file, each time
# from a folder of its own holding a copy of the program and the file, and
# checks the one line it prints. The Wine prefix pins the short date to
# dd.MM.yyyy and the time picture to HH:mm:ss.
#   cmake -DPROGRAM=... -DRUNNER=wine-run.sh -DPREFIX=... -DSCRATCH=... -P stamp_preview.cmake

set(failures 0)

# Runs the program copied into SCRATCH/name beside `settings` (no file when
# "-") with `args`, and sets rc, out (without the line end) and err.
function(run_preview name settings)
    set(dir ${SCRATCH}/${name})
    file(REMOVE_RECURSE ${dir})
    file(MAKE_DIRECTORY ${dir})
    file(COPY ${PROGRAM} DESTINATION ${dir})
    if(NOT settings STREQUAL "-")
        file(WRITE ${dir}/Chronoquill.ini "${settings}")
    endif()
    get_filename_component(exe ${PROGRAM} NAME)
    # Output into files, never a pipe: a persistent wineserver would hold it open.
    execute_process(COMMAND ${RUNNER} ${PREFIX} ${dir}/${exe} ${ARGN}
                    OUTPUT_FILE ${dir}/out.txt ERROR_FILE ${dir}/err.txt
                    RESULT_VARIABLE code TIMEOUT 120)
    file(READ ${dir}/out.txt text)
    string(REGEX REPLACE "\r?\n$" "" text "${text}")
    file(READ ${dir}/err.txt errors)
    set(rc ${code} PARENT_SCOPE)
    set(out "${text}" PARENT_SCOPE)
    set(err "${errors}" PARENT_SCOPE)
endfunction()

function(expect_stamp name settings expected)
    run_preview(${name} "${settings}" --kind --at 2026-12-06T09:05:07)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
        message(SEND_ERROR "${name}: exit ${rc}, printed [${out}], expected [${expected}]\n${err}")
        math(EXPR failures "${failures} + 1")
        set(failures ${failures} PARENT_SCOPE)
    else()
        message(STATUS "${name}: [${out}]")
    endif()
endfunction()

function(expect_usage name)
    run_preview(${name} - ${ARGN})
    if(NOT rc EQUAL 2 OR NOT err MATCHES "^usage: chronoquill-stamp" OR NOT out STREQUAL "")
        message(SEND_ERROR "${name}: exit ${rc}, printed [${out}], stderr [${err}]")
        math(EXPR failures "${failures} + 1")
        set(failures ${failures} PARENT_SCOPE)
    else()
        message(STATUS "${name}: usage, exit 2")
    endif()
endfunction()

expect_stamp(defaults - "0\t06.12.2026 09:05")
expect_stamp(time "format=time\r\n" "2\t09:05")
expect_stamp(timedate "format=timedate\r\ntimeformat=systemlong\r\n" "3\t09:05:07 06.12.2026")
expect_stamp(date "format=date\r\ndateformat=yyyy-MM-dd\r\n" "1\t2026-12-06")
# UTF-8 with a byte-order mark and LF line ends; the picture's text crosses
# the ANSI code page and comes back.
string(ASCII 239 187 191 bom)
expect_stamp(utf8 "${bom}; Stempel\nformat=date\ndateformat=d. MMMM yyyy 'Grüße'\n"
             "1\t6. December 2026 Grüße")

# Literals outside the ANSI code page (1252 in the prefix), in a file saved as
# UTF-8 without a byte-order mark: printed as UTF-8 to a file.
expect_stamp(hangul "format=date\r\ndateformat=yyyy'년' M'월' d'일'\r\n" "1\t2026년 12월 6일")
# A rendering that needs more than the picture's length plus 256 characters
# fails like a rejected picture; the unit tests show that rule. Wine's
# wide-character date functions cut their output at 255 characters instead
# of failing, so a preview under Wine cannot show it.

expect_usage(unknown_option --bogus)
expect_usage(missing_moment --kind --at)
expect_usage(no_such_day --at 2026-02-29T10:00:00)

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} case(s) failed")
endif()
