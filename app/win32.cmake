# The application on the Win32 interface: the same form table and query flow
# as the Qt window, with the window procedure of the platform.
add_library(app STATIC
  form.cpp
)
target_include_directories(app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(app PUBLIC query encoding)

zembrolt_test(app_tests
  form_test.cpp
  LIBS app
)
