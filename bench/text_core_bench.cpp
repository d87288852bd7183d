// The text core against the memory-speed floor of the same work, measured in
// the same run: the eight extractions of one query against plain memmem
// searches for the same markers, the reply conversion against one raw iconv
// call, and the escaping of a long hero name.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "encoding/convert_encoding.h"
#include "encoding/url_escape.h"
#include "query/extract_between.h"

namespace zembrolt {
namespace {

// The query flow's markers, in its order.
struct Markers {
  const char* start;
  const char* end;
};
constexpr Markers kFields[] = {
    {"guobiao\":\"", "\",\"stamp"},      {"provincePower\":\"", "\",\"guobiao"},
    {"cityPower\":\"", "\",\"province"}, {"areaPower\":\"", "\",\"city"},
    {"updatetime\":\"", "\"},\"msg"},    {"province\":\"", "\",\"provincePower"},
    {"city\":\"", "\",\"cityPower"},     {"area\":\"", "\",\"areaPower"},
};

// Mixed text as the service writes it: ASCII and Chinese in UTF-8.
constexpr char kMixedUtf8[] =
    "\xE6\x9C\xAC\xE5\x91\xA8\xE6\x8E\x92\xE8\xA1\x8C\xE5\xB7\xB2\xE6\x9B\xB4\xE6\x96\xB0"  // 本周排行已更新
    " rank list 2026-11 "
    "\xE6\xB5\x99\xE6\xB1\x9F\xE7\x9C\x81"  // 浙江省
    "\xEF\xBC\x8C";                         // ，

// `size` bytes of kMixedUtf8 repeated, cut at a whole repetition.
std::string MixedUtf8(std::size_t size) {
  std::string text;
  const std::size_t unit = sizeof kMixedUtf8 - 1;
  while (text.size() + unit <= size) text += kMixedUtf8;
  return text;
}

// A reply of the service as the query flow searches it, converted to
// GB18030 and about `size` bytes long: the members the tool reads come last,
// after a notice of mixed text, so that every search walks the whole reply.
Text ReplyText(std::size_t size) {
  const auto gb = [](const std::string& utf8) {
    return std::string(ConvertEncoding(Bytes(utf8), "UTF-8", "GB18030").view());
  };
  const std::string head =
      gb("{\"code\":0,\"data\":{\"uid\":3094021577,\"name\":\"Torvanel\",\"platform\":\"aqq\","
         "\"notice\":\"");
  const std::string tail = gb(
      "\",\"area\":\"\xE8\xA5\xBF\xE6\xB9\x96\xE5\x8C\xBA\",\"areaPower\":\"2873\","  // 西湖区
      "\"city\":\"\xE6\x9D\xAD\xE5\xB7\x9E\xE5\xB8\x82\",\"cityPower\":\"4012\","     // 杭州市
      "\"province\":\"\xE6\xB5\x99\xE6\xB1\x9F\xE7\x9C\x81\",\"provincePower\":\"5630\","  // 浙江省
      "\"guobiao\":\"7811\",\"stamp\":1793808720,\"updatetime\":\"2026-11-05 08:12:00\"},"
      "\"msg\":\"ok\"}");
  // Converting piece by piece gives the same bytes: neither encoding has a state.
  const std::string unit = gb(kMixedUtf8);
  std::string reply = head;
  while (reply.size() + unit.size() + tail.size() <= size) reply += unit;
  reply += tail;
  return Text(reply);
}

void ExtractEight(benchmark::State& state) {
  const Text reply = ReplyText(static_cast<std::size_t>(state.range(0)));
  for (const Markers& field : kFields) {
    if (ExtractBetween(reply, field.start, field.end, 0, false).empty()) {
      state.SkipWithError("a value is missing from the reply");
      return;
    }
  }
  for (auto _ : state) {
    for (const Markers& field : kFields) {
      Text value = ExtractBetween(reply, field.start, field.end, 0, false);
      benchmark::DoNotOptimize(value);
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(reply.size()));
  state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

// The floor: for each value, memmem for its start marker from the first byte
// and for its end marker after it, on the same reply.
void MemmemEight(benchmark::State& state) {
  const Text reply = ReplyText(static_cast<std::size_t>(state.range(0)));
  const char* const begin = reply.data();
  const char* const end = begin + reply.size();
  const auto searchAll = [&] {
    std::size_t found = 0;
    for (const Markers& field : kFields) {
      const std::size_t startSize = std::strlen(field.start);
      const auto* at =
          static_cast<const char*>(memmem(begin, reply.size(), field.start, startSize));
      if (at == nullptr) continue;
      at += startSize;
      const auto* stop = static_cast<const char*>(
          memmem(at, static_cast<std::size_t>(end - at), field.end, std::strlen(field.end)));
      benchmark::DoNotOptimize(stop);
      if (stop != nullptr) ++found;
    }
    return found;
  };
  if (searchAll() != std::size(kFields)) {
    state.SkipWithError("a value is missing from the reply");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(searchAll());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(reply.size()));
  state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

constexpr std::int64_t kRealisticReply = 600;
constexpr std::int64_t kLongReply = 100 * 1024;

BENCHMARK(ExtractEight)->Arg(kRealisticReply)->Arg(kLongReply);
BENCHMARK(MemmemEight)->Arg(kRealisticReply)->Arg(kLongReply);

constexpr std::size_t kConvertSize = 1024 * 1024;

void ConvertEncodingToGb18030(benchmark::State& state) {
  const Bytes input(MixedUtf8(kConvertSize));
  if (ConvertEncoding(input, "UTF-8", "GB18030").empty()) {
    state.SkipWithError("the text does not convert");
    return;
  }
  for (auto _ : state) {
    Bytes converted = ConvertEncoding(input, "UTF-8", "GB18030");
    benchmark::DoNotOptimize(converted);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input.size()));
}

// The floor: one iconv call over the same bytes into an area made once, with
// the descriptor opened once.
void RawIconvToGb18030(benchmark::State& state) {
  const std::string input = MixedUtf8(kConvertSize);
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv does not know GB18030");
    return;
  }
  std::string area(input.size(), '\0');
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = area.data();
    std::size_t outLeft = area.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    if (result == static_cast<std::size_t>(-1)) {
      state.SkipWithError("iconv failed");
      break;
    }
    benchmark::DoNotOptimize(area.data());
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input.size()));
}

BENCHMARK(ConvertEncodingToGb18030);
BENCHMARK(RawIconvToGb18030);

// A 1 KiB hero name: mixed UTF-8, so that most bytes need escaping.
void EscapeLongName(benchmark::State& state) {
  std::string name = MixedUtf8(1024);
  name.resize(1024, 'a');
  const Bytes input(name);
  for (auto _ : state) {
    Text escaped = EscapeBytesForUrl(input, true);
    benchmark::DoNotOptimize(escaped);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 1024);
}

// The floor: copying the name once (1 KiB, read and written).
void CopyLongName(benchmark::State& state) {
  std::string name = MixedUtf8(1024);
  name.resize(1024, 'a');
  for (auto _ : state) {
    std::string copy = name;
    benchmark::DoNotOptimize(copy);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 1024);
}

BENCHMARK(EscapeLongName);
BENCHMARK(CopyLongName);

}  // namespace
}  // namespace zembrolt

BENCHMARK_MAIN();
