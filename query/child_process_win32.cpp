// The child's stdin and stdout are one end of a loopback TCP connection rather
// than pipes: Wine hands a socket, but not a pipe, to a child that is a
// native program of the host, such as the stand-in's Python.
// winsock2.h goes before windows.h, which would bring the older winsock.h.
#include <winsock2.h>

#include <windows.h>

#include <stdexcept>

#include "query/child_process.h"

namespace zembrolt {
namespace {

SOCKET AsSocket(std::uintptr_t s) { return static_cast<SOCKET>(s); }

void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("winsock does not start");
}

// Two connected loopback sockets; false when any step fails.
bool SocketPair(SOCKET& mine, SOCKET& theirs) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  mine = theirs = INVALID_SOCKET;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      listen(listener, 1) == 0 &&
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    mine = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (mine != INVALID_SOCKET &&
        connect(mine, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      theirs = accept(listener, nullptr, nullptr);
    }
  }
  closesocket(listener);
  if (theirs == INVALID_SOCKET) {
    if (mine != INVALID_SOCKET) closesocket(mine);
    return false;
  }
  return true;
}

// One argument as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(2 * backslashes, '\\');
  out.push_back('"');
  return out;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  StartWinsock();
  SOCKET mine, theirs;
  if (!SocketPair(mine, theirs)) throw std::runtime_error("no socket pair for " + argv[0]);
  SetHandleInformation(reinterpret_cast<HANDLE>(mine), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(reinterpret_cast<HANDLE>(theirs), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

  std::string commandLine;
  for (const std::string& arg : argv) {
    if (!commandLine.empty()) commandLine.push_back(' ');
    commandLine += Quoted(arg);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = reinterpret_cast<HANDLE>(theirs);
  startup.hStdOutput = reinterpret_cast<HANDLE>(theirs);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  closesocket(theirs);
  if (!started) {
    closesocket(mine);
    throw std::runtime_error("cannot start " + argv[0]);
  }
  CloseHandle(process.hThread);
  process_ = process.hProcess;
  socket_ = static_cast<std::uintptr_t>(mine);
}

ChildProcess::~ChildProcess() {
  // The end of its stdin tells it to end.
  shutdown(AsSocket(socket_), SD_BOTH);
  closesocket(AsSocket(socket_));
  if (process_ != nullptr) {
    if (WaitForSingleObject(process_, 2000) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    CloseHandle(process_);
  }
}

bool ChildProcess::WriteLine(const std::string& line) {
  const std::string data = line + "\n";
  std::size_t written = 0;
  while (written < data.size()) {
    const int n =
        send(AsSocket(socket_), data.data() + written, static_cast<int>(data.size() - written), 0);
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

bool ChildProcess::ReadMore(std::chrono::milliseconds timeout) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(AsSocket(socket_), &readable);
  timeval wait{static_cast<long>(timeout.count() / 1000),
               static_cast<long>(timeout.count() % 1000 * 1000)};
  if (select(0, &readable, nullptr, nullptr, &wait) <= 0) return false;
  char buffer[65536];
  const int n = recv(AsSocket(socket_), buffer, sizeof buffer, 0);
  if (n <= 0) return false;
  pending_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace zembrolt
