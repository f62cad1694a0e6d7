# Turns the string table of a resource script into a C++ table for the
# native build, so that the texts are written once, in the .rc file.
#
#   cmake -DRC=Strings.rc -DHEADER=resource.h -DOUTPUT=LibraryStrings.cpp -P StringTable.cmake
#
# HEADER holds "#define NAME number" lines. Inside STRINGTABLE ... BEGIN ...
# END, every entry is one line: an identifier (a name from HEADER or a
# number), an optional comma and one quoted text in which "" stands for a
# double quote. Any other line there, an unknown name or a repeated
# identifier stops the build with a message naming the line.

foreach(var RC HEADER OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "StringTable.cmake: ${var} is not set")
    endif()
endforeach()

# List-safe lines: CMake lists split at ";" and treat brackets specially, so
# those characters travel as placeholders until a text is written out.
function(read_lines path result)
    file(READ "${path}" content)
    string(REPLACE "\r" "" content "${content}")
    string(REPLACE ";" "@SEMI@" content "${content}")
    string(REPLACE "[" "@LBR@" content "${content}")
    string(REPLACE "]" "@RBR@" content "${content}")
    string(REPLACE "\n" ";" content "${content}")
    set(${result} "${content}" PARENT_SCOPE)
endfunction()

read_lines("${HEADER}" header_lines)
foreach(line IN LISTS header_lines)
    if(line MATCHES "^[ \t]*#[ \t]*define[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+([0-9]+)[ \t]*$")
        set(ID_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    endif()
endforeach()

read_lines("${RC}" rc_lines)
set(state outside)
set(number 0)
set(entries "")
set(count 0)
foreach(line IN LISTS rc_lines)
    math(EXPR number "${number} + 1")
    string(STRIP "${line}" stripped)
    if(state STREQUAL "outside")
        if(stripped MATCHES "^STRINGTABLE")
            set(state header)
        endif()
        continue()
    endif()
    if(stripped STREQUAL "" OR stripped MATCHES "^//")
        continue()
    endif()
    if(state STREQUAL "header")
        if(stripped STREQUAL "BEGIN" OR stripped STREQUAL "{")
            set(state inside)
        endif()
        continue()
    endif()
    if(stripped STREQUAL "END" OR stripped STREQUAL "}")
        set(state outside)
        continue()
    endif()
    if(NOT stripped MATCHES "^([A-Za-z_][A-Za-z0-9_]*|[0-9]+)[ \t]*,?[ \t]*\"(.*)\"$")
        message(FATAL_ERROR "${RC}:${number}: not a one-line string entry: ${stripped}")
    endif()
    set(name "${CMAKE_MATCH_1}")
    set(text "${CMAKE_MATCH_2}")
    if(name MATCHES "^[0-9]+$")
        set(id ${name})
    elseif(DEFINED ID_${name})
        set(id ${ID_${name}})
    else()
        message(FATAL_ERROR "${RC}:${number}: ${name} is not defined in ${HEADER}")
    endif()
    if(DEFINED seen_${id})
        message(FATAL_ERROR "${RC}:${number}: string ${id} is given twice")
    endif()
    set(seen_${id} 1)
    # A lone quote inside the text would end it early in the resource compiler.
    string(REPLACE "\"\"" "@QUOTE@" text "${text}")
    if(text MATCHES "\"")
        message(FATAL_ERROR "${RC}:${number}: a double quote inside a text must be doubled")
    endif()
    string(REPLACE "@QUOTE@" "\\\"" text "${text}")
    string(REPLACE "@SEMI@" ";" text "${text}")
    string(REPLACE "@LBR@" "[" text "${text}")
    string(REPLACE "@RBR@" "]" text "${text}")
    string(APPEND entries "    {${id}, \"${text}\"},\n")
    math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
    message(FATAL_ERROR "${RC}: no string table entries")
endif()

get_filename_component(rc_name "${RC}" NAME)
set(code "// Generated from ${rc_name} by tools/StringTable.cmake; do not edit.
#include \"platform/StringTable.h\"

namespace platform {

const StringTableEntry kLibraryStrings[] = {
${entries}};
const int kLibraryStringCount = ${count};

} // namespace platform
")
# Rewritten only when it changes, so an unchanged table compiles nothing.
set(previous "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL code)
    file(WRITE "${OUTPUT}" "${code}")
endif()
