# Authenticode signing of what the build publishes: orv.exe before it is packed into the
# archive, the setup once its resources are final (tools/release/sign.sh says where the
# certificate comes from).
option(ORV_SIGN "Sign orv.exe and OrvanelSetup.exe (with a test certificate unless one is given)" ON)
set(ORV_SIGN_SCRIPT ${PROJECT_SOURCE_DIR}/tools/release/sign.sh)
set(ORV_TEST_CERT_DIR ${CMAKE_BINARY_DIR}/signing)
set(ORV_UNSIGNED_DIR ${CMAKE_BINARY_DIR}/unsigned)
if(ORV_SIGN)
  find_program(ORV_OSSLSIGNCODE osslsigncode)
  find_program(ORV_OPENSSL openssl)
  if(NOT ORV_OSSLSIGNCODE OR NOT ORV_OPENSSL)
    message(FATAL_ERROR "Signing needs osslsigncode and openssl (scripts/bootstrap.sh installs them); "
                        "-DORV_SIGN=OFF builds without signing")
  endif()
endif()

# orv_sign_after_link(TARGET): the target's file is signed in place after every link; the
# unsigned file is kept in build/unsigned/. A failed signing removes the file, so the next
# build links it again instead of taking an unsigned file for a signed one.
function(orv_sign_after_link target)
  if(ORV_SIGN)
    set(unsigned ${ORV_UNSIGNED_DIR}/$<TARGET_FILE_NAME:${target}>)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ORV_UNSIGNED_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${unsigned}
      COMMAND ${ORV_SIGN_SCRIPT} ${unsigned} $<TARGET_FILE:${target}> ${ORV_TEST_CERT_DIR}
      COMMENT "Signing the executable of ${target}"
      VERBATIM)
  endif()
endfunction()
