# ombrel-printctl.exe run as a script runs it on a Windows machine without the farm product
# (Wine is one): --help answers, a command that needs the farm ends with the tool's own
# message for a farm library that is not registered, and --farm, which names a simulated farm,
# is refused. Run with
#   cmake -DPROGRAM=<ombrel-printctl.exe> [-DEMULATOR=<wine64>] -P PrintctlWithoutFarmProduct.cmake
# Windows' text mode ends lines with CR LF; the texts are compared with plain line feeds.

function(run_printctl out_rc out_stdout out_stderr)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr
                  TIMEOUT 120)
  string(REPLACE "\r\n" "\n" stdout "${stdout}")
  string(REPLACE "\r\n" "\n" stderr "${stderr}")
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_stdout} "${stdout}" PARENT_SCOPE)
  set(${out_stderr} "${stderr}" PARENT_SCOPE)
endfunction()

set(faults "")
function(expect what actual expected)
  if(NOT actual STREQUAL expected)
    set(faults "${faults}\n${what}:\n  expected [${expected}]\n  got      [${actual}]" PARENT_SCOPE)
  endif()
endfunction()

run_printctl(rc stdout stderr --help)
expect("--help exit code" "${rc}" "0")
expect("--help errors" "${stderr}" "")
string(FIND "${stdout}" "\n\nSubcommands:\n" subcommands)
string(SUBSTRING "${stdout}" 0 120 opening)
expect("--help opening" "${opening}"
       "The printing settings of a farm's servers, for scripts and fleets.\nUsage: ombrel-printctl [OPTIONS] SUBCOMMAND\n\nOptions:")
if(subcommands LESS 0)
  set(faults "${faults}\n--help lists no subcommands:\n${stdout}")
endif()

run_printctl(rc stdout stderr servers)
expect("servers exit code" "${rc}" "2")
expect("servers output" "${stdout}" "")
expect("servers errors" "${stderr}"
       "ombrel-printctl: Can't create VexaroFarm object  429 ActiveX component can't create object\n")

run_printctl(rc stdout stderr --farm C:\\farm servers)
expect("--farm exit code" "${rc}" "2")
expect("--farm errors" "${stderr}"
       "ombrel-printctl: --farm names a simulated farm, which this build for Windows cannot open: it works on the farm of the machine it runs on\n")

if(NOT faults STREQUAL "")
  message(FATAL_ERROR "ombrel-printctl.exe:${faults}")
endif()
