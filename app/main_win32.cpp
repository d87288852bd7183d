#include <windows.h>

#include "app/run_application_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  return zembrolt::RunApplication(zembrolt::DefaultStartupHooks(instance));
}
