# Drives orvxml through its commands: exit codes, the printed lines, and the
# bytes that format writes in each encoding (read back with check).
#   cmake -DORVXML=program -DDATA=testdata-dir -DWORK=scratch-dir -P OrvXmlTest.cmake
cmake_minimum_required(VERSION 3.25)

# Failures are counted in a global property, so that every check runs and
# all failures are listed.
function(fail message)
    message(SEND_ERROR "${message}")
    set_property(GLOBAL APPEND PROPERTY orvxml_failures "${message}")
endfunction()

# Runs orvxml with the arguments in the working directory DATA; sets rc, out
# and err.
function(run)
    execute_process(COMMAND "${ORVXML}" ${ARGN} WORKING_DIRECTORY "${DATA}"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error)
    set(rc "${result}" PARENT_SCOPE)
    set(out "${output}" PARENT_SCOPE)
    set(err "${error}" PARENT_SCOPE)
endfunction()

function(expect_rc expected what)
    if(NOT "${rc}" STREQUAL "${expected}")
        fail("${what}: exit code ${rc}, expected ${expected} (stdout: ${out}, stderr: ${err})")
    endif()
endfunction()

function(expect_match variable pattern what)
    if(NOT "${${variable}}" MATCHES "${pattern}")
        fail("${what}: '${${variable}}' does not match '${pattern}'")
    endif()
endfunction()

set(bad_line "bad\\.xml:4:14: Overlapping tags detected\\. Found \"SymbolData\" but needed to find \"Pair\"\\. \\[tag: Pair\\]")

# --- check ---
run(check good.xml)
expect_rc(0 "check good.xml")
expect_match(out "^good\\.xml: OK\n$" "check good.xml output")

run(check bad.xml)
expect_rc(1 "check bad.xml")
expect_match(out "^${bad_line}\n$" "check bad.xml output")

# Every file is reported, in order, and one failure fails the run.
run(check good.xml bad.xml good.xml)
expect_rc(1 "check good bad good")
expect_match(out "^good\\.xml: OK\n${bad_line}\ngood\\.xml: OK\n$" "check good bad good output")

# An unreadable file is a usage error, reported on stderr; the others are
# still checked.
run(check missing.xml good.xml)
expect_rc(2 "check missing.xml")
expect_match(err "cannot open missing\\.xml" "check missing.xml stderr")
expect_match(out "^good\\.xml: OK\n$" "check missing.xml good.xml output")

run(check)
expect_rc(2 "check without files")
expect_match(err "usage: orvxml" "check without files stderr")

run()
expect_rc(2 "no command")
run(frobnicate good.xml)
expect_rc(2 "unknown command")
expect_match(err "unknown command 'frobnicate'" "unknown command stderr")

# --- format ---
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# Writes good.xml in an encoding to WORK/NAME.xml; checks the first bytes
# (hexadecimal) and that check reads the result back.
function(format_as encoding prefix)
    set(output "${WORK}/${encoding}.xml")
    execute_process(COMMAND "${ORVXML}" format --encoding ${encoding} good.xml WORKING_DIRECTORY "${DATA}"
        RESULT_VARIABLE result OUTPUT_FILE "${output}" ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        fail("format --encoding ${encoding}: exit code ${result}: ${error}")
        return()
    endif()
    file(READ "${output}" hex HEX)
    string(LENGTH "${prefix}" length)
    string(SUBSTRING "${hex}" 0 ${length} head)
    if(NOT head STREQUAL prefix)
        fail("format --encoding ${encoding}: starts with ${head}, expected ${prefix}")
    endif()
    execute_process(COMMAND "${ORVXML}" check "${output}" RESULT_VARIABLE result OUTPUT_VARIABLE checked)
    if(NOT result EQUAL 0 OR NOT checked MATCHES ": OK\n$")
        fail("format --encoding ${encoding}: the output does not read back: ${checked}")
    endif()
endfunction()

# '<' is 0x3C; UTF-16 starts with its byte-order mark.
format_as(ascii "3c3f786d6c")
format_as(utf16le "fffe3c003f00")
format_as(utf16be "feff003c003f")
format_as(ucs4-1234 "0000003c0000003f")
format_as(ucs4-4321 "3c0000003f000000")
format_as(ucs4-2143 "00003c0000003f00")
format_as(ucs4-3412 "003c0000003f0000")

# The single-byte form keeps markup and references as they were read.
file(READ "${WORK}/ascii.xml" ascii)
expect_match(ascii "<Pair symbol=\"EUR/USD\" base=\"EUR\" quote=\"USD\"/>" "format ascii")
expect_match(ascii "<Note>fish &amp; chips</Note>" "format ascii")

# Automatic indentation: each level of elements starts a new line, indented
# by the count more than its parent.
run(format --indent 3 good.xml)
expect_rc(0 "format --indent 3")
expect_match(out "\n   <SymbolData>\r?\n      <Pair " "format --indent 3 output")
expect_match(out "\n      <Note>fish &amp; chips</Note>" "format --indent 3 output")
run(format good.xml)
expect_rc(0 "format")
if(out MATCHES "\n      <Pair ")
    fail("format without --indent indents: ${out}")
endif()

run(format --encoding ebcdic good.xml)
expect_rc(2 "format --encoding ebcdic")
expect_match(err "unknown encoding 'ebcdic'" "format --encoding ebcdic stderr")
run(format --indent many good.xml)
expect_rc(2 "format --indent many")
run(format good.xml bad.xml)
expect_rc(2 "format with two files")
run(format)
expect_rc(2 "format without a file")
run(format missing.xml)
expect_rc(2 "format missing.xml")

# A file that does not parse: nothing on stdout, the error on stderr.
run(format bad.xml)
expect_rc(1 "format bad.xml")
expect_match(err "^${bad_line}\n$" "format bad.xml stderr")
if(NOT out STREQUAL "")
    fail("format bad.xml wrote output: ${out}")
endif()

get_property(failures GLOBAL PROPERTY orvxml_failures)
list(LENGTH failures count)
if(count GREATER 0)
    message(FATAL_ERROR "${count} orvxml checks failed")
endif()
message(STATUS "orvxml: all checks passed")
