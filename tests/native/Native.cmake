# The parsers of outside input built natively (Linux, clang, sanitizers) as a host project,
# their seed corpus, and the ctest entries: the native unit tests and a short run of each
# fuzz target. Included from tests/CMakeLists.txt.
include(ExternalProject)

set(native_src ${CMAKE_CURRENT_LIST_DIR})
set(native_dir ${CMAKE_BINARY_DIR}/host-native)
set(ORV_FUZZ_CORPUS ${CMAKE_BINARY_DIR}/fuzz-corpus)
set(native_launcher)
if(ORV_CCACHE)
  set(native_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${ORV_CCACHE})
endif()

ExternalProject_Add(native_parsers
  SOURCE_DIR ${native_src}
  BINARY_DIR ${native_dir}
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=clang++ ${native_launcher}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)

file(GLOB_RECURSE native_seeds CONFIGURE_DEPENDS ${native_src}/seeds/*)
add_custom_command(
  OUTPUT ${ORV_FUZZ_CORPUS}/.made
  COMMAND ${Python3_EXECUTABLE} ${native_src}/make_seed_corpus.py --archive ${ORV_PAYLOAD_ARCHIVE}
          --seeds ${native_src}/seeds --out ${ORV_FUZZ_CORPUS}
  COMMAND ${CMAKE_COMMAND} -E touch ${ORV_FUZZ_CORPUS}/.made
  DEPENDS ${ORV_PAYLOAD_ARCHIVE} ${native_src}/make_seed_corpus.py ${native_seeds}
  COMMENT "Making the fuzz targets' seed corpus"
  VERBATIM)
add_custom_target(fuzz_corpus ALL DEPENDS ${ORV_FUZZ_CORPUS}/.made)
# The archive is another directory's output: a file dependency alone does not order the
# two targets, so a fresh parallel build would look for it before it is packed.
add_dependencies(fuzz_corpus orv_payload_archive)

add_test(NAME native_parser_tests COMMAND ${native_dir}/native_parser_tests --gtest_color=no)
set_tests_properties(native_parser_tests PROPERTIES LABELS "host;native")

# Runs per target: seconds each, enough to pass every seed and a few thousand mutations.
foreach(pair archive:3000 update_log:5000 command_line:10000 size_format:20000 dest_dir:20000 uninstall_log:2000)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 target)
  list(GET pair 1 runs)
  add_test(NAME fuzz_${target}
    COMMAND ${native_src}/run-fuzz.sh ${native_dir}/fuzz_${target} ${ORV_FUZZ_CORPUS}/${target} ${runs})
  set_tests_properties(fuzz_${target} PROPERTIES LABELS "host;fuzz" TIMEOUT 300)
endforeach()
