# The application on the Win32 interface: the same form table and query flow
# as the Qt window, with the window procedure of the platform.
add_library(app STATIC
  form.cpp
  main_window_win32.cpp
  run_application_win32.cpp
)
target_include_directories(app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(app PUBLIC query encoding user32 gdi32)

# The icon resource DEFAULT_ICON, made from the same picture as the Linux
# window's icon; windres finds the .ico through the include path.
find_program(ZEMBROLT_CONVERT convert REQUIRED)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icon)
add_custom_command(OUTPUT ${icon_dir}/zembrolt.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  COMMAND ${ZEMBROLT_CONVERT} ${CMAKE_CURRENT_SOURCE_DIR}/icons/default_icon.png
          -define icon:auto-resize=48,32,16 ${icon_dir}/zembrolt.ico
  DEPENDS icons/default_icon.png
  COMMENT "The window icon as a Windows .ico"
  VERBATIM
)
set_source_files_properties(zembrolt_win32.rc PROPERTIES
  OBJECT_DEPENDS ${icon_dir}/zembrolt.ico
  INCLUDE_DIRECTORIES ${icon_dir}
)

# A GUI-subsystem program: no console comes with it.
add_executable(zembrolt WIN32 main_win32.cpp zembrolt_win32.rc)
target_link_libraries(zembrolt PRIVATE app)

zembrolt_test(app_tests
  form_test.cpp
  main_window_win32_test.cpp
  run_application_win32_test.cpp
  LIBS app
)

# The real executable under Wine in a real X server: start, title, keys,
# Esc, a query of the stand-in service, and screenshots of the window.
if(ZEMBROLT_TESTS)
  add_test(NAME window_under_wine
    COMMAND ${ZEMBROLT_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/window_wine_test.py
            ${PROJECT_SOURCE_DIR}/tools/wine/wine_run.sh ${ZEMBROLT_WINEPREFIX}
            $<TARGET_FILE:zembrolt> ${CMAKE_CURRENT_BINARY_DIR}
            ${RANKING_SERVICE_BASE} ${ZEMBROLT_STANDIN_SCRIPT} ${ZEMBROLT_STANDIN_CERT_DIR})
  set_tests_properties(window_under_wine PROPERTIES TIMEOUT 240)
endif()

# The zip a Windows user unpacks: the program and the toolchain DLLs it needs
# (none while the runtime is linked in statically).
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(gcc_dll_dir ${libgcc} DIRECTORY)
set(ZEMBROLT_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/zembrolt-${PROJECT_VERSION}-win64.zip)
add_custom_command(OUTPUT ${ZEMBROLT_WINDOWS_ZIP}
  COMMAND ${ZEMBROLT_PYTHON3} ${PROJECT_SOURCE_DIR}/packaging/windows_zip.py ${CMAKE_OBJDUMP}
          $<TARGET_FILE:zembrolt> ${ZEMBROLT_WINDOWS_ZIP} ${gcc_dll_dir} ${CMAKE_FIND_ROOT_PATH}/lib
  DEPENDS zembrolt ${PROJECT_SOURCE_DIR}/packaging/windows_zip.py
  COMMENT "The Windows zip"
  VERBATIM
)
add_custom_target(windows_zip ALL DEPENDS ${ZEMBROLT_WINDOWS_ZIP})
if(ZEMBROLT_TESTS)
  add_test(NAME windows_zip
    COMMAND ${ZEMBROLT_PYTHON3} ${PROJECT_SOURCE_DIR}/packaging/windows_zip_test.py
            ${CMAKE_OBJDUMP} ${ZEMBROLT_WINDOWS_ZIP} ${ZEMBROLT_WINEPREFIX})
endif()
