// The platform functions the text encoding uses, declared by library and name
// and bound at their first call rather than linked, so that the executable
// imports nothing of them. Windows build only.
#ifndef ZEMBROLT_ENCODING_BOUND_FUNCTIONS_WIN32_H_
#define ZEMBROLT_ENCODING_BOUND_FUNCTIONS_WIN32_H_

#include <windows.h>

#include <cstddef>

namespace zembrolt::win32 {

using MultiByteToWideCharFn = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
using WideCharToMultiByteFn = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
using LstrlenWFn = int(WINAPI*)(LPCWSTR);
using StrlenFn = std::size_t(__cdecl*)(const char*);
using SprintfFn = int(__cdecl*)(char*, const char*, ...);

// Each is the function of that name in its library (kernel32, msvcrt,
// ntdll), looked up at the first call and kept; null when the library or the
// name cannot be found. The libraries stay loaded until the process ends.
MultiByteToWideCharFn BoundMultiByteToWideChar();
WideCharToMultiByteFn BoundWideCharToMultiByte();
LstrlenWFn BoundLstrlenW();
StrlenFn BoundStrlen();
SprintfFn BoundSprintf();

}  // namespace zembrolt::win32

#endif  // ZEMBROLT_ENCODING_BOUND_FUNCTIONS_WIN32_H_
