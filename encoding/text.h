// The two byte-string types every layer passes around.
//
// Text is code page 936 text that ends at its first NUL: it can never hold a
// NUL byte, and "absent" and "empty" are the same value. Bytes is a counted
// string that may hold anything, NUL bytes included. The types do not convert
// into each other implicitly; TextToBytes and BytesToText are the only bridges,
// and neither converts or checks a single byte.
#ifndef ZEMBROLT_ENCODING_TEXT_H_
#define ZEMBROLT_ENCODING_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace zembrolt {

class Text {
 public:
  Text() = default;
  // A C string; a null pointer is the empty text.
  Text(const char* s);  // NOLINT(google-explicit-constructor): C strings are texts.
  // The bytes before the first NUL of `bytes`, or all of them.
  explicit Text(std::string_view bytes);

  const char* c_str() const { return bytes_.c_str(); }
  const char* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  std::string_view view() const { return bytes_; }
  unsigned char operator[](std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  friend bool operator==(const Text&, const Text&) = default;
  friend Text operator+(const Text& a, const Text& b);

 private:
  std::string bytes_;
};

class Bytes {
 public:
  Bytes() = default;
  // Every byte of `bytes`, NUL bytes included.
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
  explicit Bytes(std::string&& bytes) : bytes_(std::move(bytes)) {}

  const char* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  std::string_view view() const { return bytes_; }
  unsigned char operator[](std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::string bytes_;
};

// The bytes of `text`, without a terminating NUL.
Bytes TextToBytes(const Text& text);

// The bytes of `input` before its first NUL byte, or all of them when it has
// none; the empty Text when `input` is empty or starts with NUL.
Text BytesToText(const Bytes& input);

}  // namespace zembrolt

#endif  // ZEMBROLT_ENCODING_TEXT_H_
