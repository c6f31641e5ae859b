# Installs the build into a fresh prefix, then configures, builds and runs the
# consumer project against that prefix alone.
file(REMOVE_RECURSE ${KIV_WORK_DIR})
set(prefix ${KIV_WORK_DIR}/prefix)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${KIV_BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install into ${prefix} failed")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${KIV_CONSUMER_SOURCE} -B ${KIV_WORK_DIR}/build
  -G ${KIV_GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_CXX_FLAGS=${KIV_CONSUMER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${KIV_CONSUMER_FLAGS}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the consumer project failed")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${KIV_WORK_DIR}/build -j2 RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the consumer project failed")
endif()

file(READ ${KIV_WORK_DIR}/build/programs.txt programs)
foreach(program ${programs})
  execute_process(COMMAND ${KIV_WORK_DIR}/build/${program} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message(STATUS "${program}: ${out}${err}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} failed (${rc})")
  endif()
endforeach()
