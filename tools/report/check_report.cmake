# Runs ondavia-report as an office would: a PDF for every sample recording
# of a folder, spans chosen by time of day, and every kind of refusal with
# its exit status, reading the PDFs back with the poppler tools.
#   cmake -DGENERATOR=... -DREPORT=... -DPDFINFO=... -DPDFTOTEXT=... -DOUTDIR=... -P check_report.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${OUTDIR}")
file(MAKE_DIRECTORY "${OUTDIR}/pdf")
execute_process(COMMAND "${GENERATOR}" "${OUTDIR}/samples" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the sample generator failed: ${rc}")
endif()

function(report expected_rc)
  execute_process(COMMAND "${REPORT}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "ondavia-report ${ARGN}: exit ${rc}, expected ${expected_rc}\n${err}")
  endif()
  set(report_err "${err}" PARENT_SCOPE)
endfunction()

function(pdf_text pdf var)
  execute_process(COMMAND "${PDFTOTEXT}" -layout "${pdf}" - RESULT_VARIABLE rc OUTPUT_VARIABLE text)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pdftotext cannot read ${pdf}")
  endif()
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

function(expect_text pdf)
  pdf_text("${pdf}" text)
  foreach(want IN LISTS ARGN)
    string(FIND "${text}" "${want}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${pdf} lacks \"${want}\":\n${text}")
    endif()
  endforeach()
endfunction()

# Every file of the folder, the whole file each: one A4 landscape page.
file(GLOB samples "${OUTDIR}/samples/*.TXT")
list(LENGTH samples count)
if(count LESS 6)
  message(FATAL_ERROR "only ${count} samples written")
endif()
foreach(sample IN LISTS samples)
  get_filename_component(name "${sample}" NAME_WE)
  set(pdf "${OUTDIR}/pdf/${name}.pdf")
  report(0 "${sample}" -o "${pdf}")
  execute_process(COMMAND "${PDFINFO}" "${pdf}" OUTPUT_VARIABLE info RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT info MATCHES "Pages: +1\n" OR NOT info MATCHES "Page size: +84[12][.0-9]* x 595[.0-9]* pts \\(A4\\)")
    message(FATAL_ERROR "${pdf} is not one A4 landscape page:\n${info}")
  endif()
  expect_text("${pdf}" "운행기록 분석" "차량번호 : " "출력시간 : ")
endforeach()

file(GLOB one_second "${OUTDIR}/samples/20261210-ONT10001-S-01-*.TXT")
file(GLOB hundredths "${OUTDIR}/samples/20261210-ONT10001-C-02-*.TXT")
expect_text("${OUTDIR}/pdf/20261210-ONT10001-S-01-0630000.pdf" "운행기록 분석 (1초)"
            "출력시간 : 2026-12-10 06:30:00 ~ 2026-12-10 16:29:59")

# Spans by time of day, hundredths included.
report(0 "${one_second}" -o "${OUTDIR}/span.pdf" --from 08:00:00 --to 09:00:00)
expect_text("${OUTDIR}/span.pdf" "출력시간 : 2026-12-10 08:00:00 ~ 2026-12-10 09:00:00")
report(0 "${hundredths}" --from 10:10:03.01 -o "${OUTDIR}/hundredths.pdf")
expect_text("${OUTDIR}/hundredths.pdf" "운행기록 분석 (0.01초)" "출력시간 : 2026-12-10 10:10:03.01 ~ ")

# Usage errors: 2 and the usage line.
foreach(args IN ITEMS
    "" "${one_second}" "-o;x.pdf" "${one_second};-o" "${one_second};-o;x.pdf;--from;8:00:00"
    "${one_second};-o;x.pdf;--to;24:00:00" "${one_second};-o;x.pdf;--from;08:00:00.1"
    "${one_second};-o;x.pdf;--page;2" "${one_second};${one_second};-o;x.pdf"
    "${one_second};-o;x.pdf;-o;y.pdf")
  report(2 ${args})
  if(NOT report_err MATCHES "^usage: ondavia-report")
    message(FATAL_ERROR "no usage line for '${args}': ${report_err}")
  endif()
endforeach()

# Refusals: 1 with the reason, and a PDF already there stays as it was.
set(kept "${OUTDIR}/kept.pdf")
file(WRITE "${kept}" "an earlier report")
report(1 "${OUTDIR}/samples/MISSING.TXT" -o "${kept}")
report(1 "${one_second}" -o "${kept}" --from 05:00:00)
if(NOT report_err MATCHES "--from 05:00:00")
  message(FATAL_ERROR "the refusal does not name the time: ${report_err}")
endif()
report(1 "${one_second}" -o "${kept}" --from 10:00:00 --to 09:00:00)
file(WRITE "${OUTDIR}/samples/20261210-ONT10001-S-01-0630001.TXT" "not a recording")
report(1 "${OUTDIR}/samples/20261210-ONT10001-S-01-0630001.TXT" -o "${kept}")
file(READ "${kept}" content)
if(NOT content STREQUAL "an earlier report")
  message(FATAL_ERROR "a refused report replaced the earlier file")
endif()
report(1 "${one_second}" -o "${OUTDIR}/no/such/folder/out.pdf")
if(NOT report_err MATCHES "PDF")
  message(FATAL_ERROR "no reason for the unwritable output: ${report_err}")
endif()

# Nothing half-written is left beside the PDFs.
file(GLOB leftovers "${OUTDIR}/.*" "${OUTDIR}/*.tmp*" "${OUTDIR}/pdf/.*" "${OUTDIR}/pdf/*.tmp*")
if(leftovers)
  message(FATAL_ERROR "temporary files left: ${leftovers}")
endif()
