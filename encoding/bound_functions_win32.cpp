#include "encoding/bound_functions_win32.h"

namespace zembrolt::win32 {
namespace {

// The libraries loaded to bind the functions, released when the process ends.
class Libraries {
 public:
  ~Libraries() {
    for (HMODULE& module : modules_) {
      if (module != nullptr) FreeLibrary(module);
    }
  }

  FARPROC Find(int index, const char* library, const char* name) {
    HMODULE& module = modules_[index];
    if (module == nullptr) module = LoadLibraryA(library);
    return module == nullptr ? nullptr : GetProcAddress(module, name);
  }

 private:
  HMODULE modules_[3] = {};
};

enum { kKernel32, kMsvcrt, kNtdll };

Libraries& Loaded() {
  static Libraries libraries;
  return libraries;
}

// GetProcAddress hands back a generic pointer; the declared type is the one
// the library documents for that name.
template <typename Fn>
Fn Bind(int index, const char* library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(Loaded().Find(index, library, name)));
}

}  // namespace

MultiByteToWideCharFn BoundMultiByteToWideChar() {
  static const auto fn =
      Bind<MultiByteToWideCharFn>(kKernel32, "kernel32.dll", "MultiByteToWideChar");
  return fn;
}

WideCharToMultiByteFn BoundWideCharToMultiByte() {
  static const auto fn =
      Bind<WideCharToMultiByteFn>(kKernel32, "kernel32.dll", "WideCharToMultiByte");
  return fn;
}

LstrlenWFn BoundLstrlenW() {
  static const auto fn = Bind<LstrlenWFn>(kKernel32, "kernel32.dll", "lstrlenW");
  return fn;
}

StrlenFn BoundStrlen() {
  static const auto fn = Bind<StrlenFn>(kMsvcrt, "msvcrt.dll", "strlen");
  return fn;
}

SprintfFn BoundSprintf() {
  static const auto fn = Bind<SprintfFn>(kNtdll, "ntdll.dll", "sprintf");
  return fn;
}

}  // namespace zembrolt::win32
