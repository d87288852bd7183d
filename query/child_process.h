// A child process that the tests talk to over its stdin and stdout, one line
// at a time. Test support only.
#ifndef ZEMBROLT_QUERY_CHILD_PROCESS_H_
#define ZEMBROLT_QUERY_CHILD_PROCESS_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zembrolt {

class ChildProcess {
 public:
  // Starts `argv[0]` (looked up in PATH) with `argv`; its stderr is the test's.
  // Throws std::runtime_error when it cannot be started.
  explicit ChildProcess(const std::vector<std::string>& argv);
  // Closes its stdin, which tells it to end; kills it if it has not ended soon.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Writes `line` and a line feed to its stdin; false when it is gone.
  bool WriteLine(const std::string& line);
  // The next line of its stdout without the line feed; nullopt when it ends
  // its output or `timeout` passes first.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);

 private:
  // Appends what the child has written to pending_, waiting at most
  // `timeout`; false when it has ended its output or nothing came in time.
  bool ReadMore(std::chrono::milliseconds timeout);

#ifdef _WIN32
  std::uintptr_t socket_ = ~std::uintptr_t{0};  // the test's end of the child's stdin and stdout
  void* process_ = nullptr;
#else
  int pid_ = -1;
  int in_ = -1;
  int out_ = -1;
#endif
  std::string pending_;
};

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_CHILD_PROCESS_H_
