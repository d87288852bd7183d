# Tests of the Windows build: GoogleTest built from Debian's packaged source
# with the cross compiler, and every test executable run under Wine in a
# prefix of this build tree.
set(ZEMBROLT_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources to build with the cross compiler (Debian package googletest)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZEMBROLT_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest makes the GTest:: names itself.
foreach(target gtest gtest_main gmock gmock_main)
  # Its own code is not held to this project's warnings.
  target_compile_options(${target} PRIVATE -w)
endforeach()

set(ZEMBROLT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine/wine_run.sh
    ${ZEMBROLT_WINEPREFIX})
# Listing the cases starts Wine; doing it when the tests run keeps the build
# itself free of Wine.
set(ZEMBROLT_DISCOVERY_OPTIONS DISCOVERY_MODE PRE_TEST)

# The prefix is made once, by the build, so that no test waits for it.
add_custom_command(OUTPUT ${ZEMBROLT_WINEPREFIX}/.made
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --version
  COMMENT "Wine prefix for the tests"
  VERBATIM
)
add_custom_target(wine_prefix ALL DEPENDS ${ZEMBROLT_WINEPREFIX}/.made)

# The demo stand-in's CA, trusted inside this prefix only (never by the host).
add_executable(trust_ca tools/wine/trust_ca.cpp)
target_link_libraries(trust_ca PRIVATE crypt32)
set(ZEMBROLT_TRUST_STAMP ${CMAKE_BINARY_DIR}/wineprefix-trusts-standin-ca)
add_custom_command(OUTPUT ${ZEMBROLT_TRUST_STAMP}
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:trust_ca> ${CMAKE_BINARY_DIR}/standin/ca.pem
  COMMAND ${CMAKE_COMMAND} -E touch ${ZEMBROLT_TRUST_STAMP}
  DEPENDS trust_ca ${ZEMBROLT_WINEPREFIX}/.made ${CMAKE_BINARY_DIR}/standin/ca.pem
  COMMENT "Trusting the stand-in's CA in the Wine prefix"
  VERBATIM
)
add_custom_target(wine_trusts_standin ALL DEPENDS ${ZEMBROLT_TRUST_STAMP})
add_dependencies(wine_trusts_standin standin_certs)
