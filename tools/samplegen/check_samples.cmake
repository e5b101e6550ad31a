# Writes the sample set into a scratch folder and opens every file with the
# command-line reader, as a user of the viewer would.
#   cmake -DGENERATOR=... -DCLI=... -DOUTDIR=... -P check_samples.cmake
cmake_minimum_required(VERSION 3.25)

# name pattern | layout mode | 0.01-second | locked | gaps filled
set(expected
  "20261210-ONT10001-S-01-0630000|2|false|false|yes"
  "20261210-ONT10001-C-02-[0-9][0-9][0-9][0-9][0-9][0-9]0|2|true|false|no"
  "20261210_ONT10001_03|2|true|false|no"
  "20261209_ONT20002_S_01_0900000|1|false|false|no"
  "20261210-ONT20002-01|0|false|false|no"
  "20261211-ONT20002-X-01-0700000|0|false|true|no")

file(REMOVE_RECURSE "${OUTDIR}")
execute_process(COMMAND "${GENERATOR}" "${OUTDIR}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${rc}")
endif()

execute_process(COMMAND "${CLI}" list "${OUTDIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE listing)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "list failed: ${rc}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" listed "${listing}")
file(GLOB written RELATIVE "${OUTDIR}" "${OUTDIR}/*")
list(LENGTH written writtenCount)
list(LENGTH listed listedCount)
list(LENGTH expected expectedCount)
if(NOT writtenCount EQUAL expectedCount OR NOT listedCount EQUAL expectedCount)
  message(FATAL_ERROR "${writtenCount} files written, ${listedCount} listed, ${expectedCount} expected:\n${listing}")
endif()

foreach(row IN LISTS expected)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 pattern)
  list(GET fields 1 want_mode)
  list(GET fields 2 want_hundredths)
  list(GET fields 3 want_locked)
  list(GET fields 4 gaps)

  set(match "")
  foreach(entry IN LISTS listed)
    if(entry MATCHES "^(${pattern})\t([0-9])$")
      if(match)
        message(FATAL_ERROR "${pattern} matches more than one listed file")
      endif()
      set(match "${CMAKE_MATCH_1}")
      set(listedMode "${CMAKE_MATCH_2}")
    endif()
  endforeach()
  if(NOT match)
    message(FATAL_ERROR "no listed file matches ${pattern}:\n${listing}")
  endif()
  if(NOT listedMode STREQUAL want_mode)
    message(FATAL_ERROR "${match} listed with mode ${listedMode}, expected ${want_mode}")
  endif()

  execute_process(COMMAND "${CLI}" info "${OUTDIR}/${match}.TXT"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE info ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "info ${match} failed (${rc}): ${err}")
  endif()
  foreach(key mode hundredths locked)
    string(JSON got GET "${info}" ${key})
    if(NOT key STREQUAL "mode")
      # JSON true and false come back as ON and OFF
      if(got)
        set(got true)
      else()
        set(got false)
      endif()
    endif()
    if(NOT got STREQUAL want_${key})
      message(FATAL_ERROR "${match}: ${key} is ${got}, expected ${want_${key}}")
    endif()
  endforeach()
  string(JSON rows GET "${info}" rows)
  string(JSON records GET "${info}" tableRecords)
  if(gaps STREQUAL "yes" AND NOT records GREATER rows)
    message(FATAL_ERROR "${match}: the missing seconds were not filled (${rows} rows, ${records} records)")
  endif()
  if(gaps STREQUAL "no" AND NOT records EQUAL rows)
    message(FATAL_ERROR "${match}: ${rows} rows became ${records} records")
  endif()
endforeach()

execute_process(COMMAND "${CLI}" list "${OUTDIR}" --date 20261210 OUTPUT_VARIABLE dated)
string(REGEX MATCHALL "\n" lines "${dated}")
list(LENGTH lines datedCount)
if(NOT datedCount EQUAL 4)
  message(FATAL_ERROR "work date 20261210 lists ${datedCount} files, expected 4:\n${dated}")
endif()
