# Shared compile settings and helpers for every target of the Windows build.

find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(ORV_ZLIB_STATIC /usr/x86_64-w64-mingw32/lib/libz.a)

# Settings every target of ours gets: warnings as errors, ANSI Win32 API, static runtime.
# Every link drops the sections nothing refers to, from our code and from the static C++
# runtime alike.
add_library(orv_settings INTERFACE)
target_compile_options(orv_settings INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(orv_settings INTERFACE
  _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX STRICT)
target_link_options(orv_settings INTERFACE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections
  $<$<CONFIG:Release>:-s>)

# Two builds of one commit give the same bytes wherever and whenever they run: the PE header
# gets no link time (ld writes the current time there unless told not to), and no folder
# of this machine reaches the code through __FILE__, an assertion or debug information.
target_link_options(orv_settings INTERFACE -Wl,--no-insert-timestamp)
target_compile_options(orv_settings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)

# orv_optimise_for_size(TARGET): for code whose speed nobody waits on (windows, registry,
# logs): a release build optimises it for size instead of speed.
function(orv_optimise_for_size target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Os>)
endfunction()

# The setup's own code gives each function and datum a section of its own, so that the link
# keeps only what the program can reach.
set(ORV_SECTION_FLAGS -ffunction-sections -fdata-sections)

# orv_layer(NAME DIR DEPS...): a static library of every .cpp in a source folder.
function(orv_layer name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_compile_options(${name} PRIVATE ${ORV_SECTION_FLAGS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC orv_settings ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE orv_settings ${ARGN})
  endif()
endfunction()

# orv_embed_resources(TARGET): gives an executable the setup's resources (icon, bitmaps,
# manifest, version information and the packed archive), rebuilt when the archive or the
# artwork changes; the archive and the compressed artwork are made before the resources.
function(orv_embed_resources target)
  target_sources(${target} PRIVATE ${ORV_SETUP_RC})
  file(GLOB artwork CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*.bmp
       ${PROJECT_SOURCE_DIR}/resources/*.ico ${PROJECT_SOURCE_DIR}/resources/*.manifest)
  set_source_files_properties(${ORV_SETUP_RC} PROPERTIES
    OBJECT_DEPENDS "${ORV_PAYLOAD_ARCHIVE};${ORV_COMPRESSED_ARTWORK};${artwork}")
  add_dependencies(${target} orv_payload_archive orv_compressed_artwork)
endfunction()
