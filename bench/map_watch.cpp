// Watches an X display for the first top-level window to be mapped and then
// painted, for the start-up benchmark: prints "ready" once it listens, then
// "mapped NS painted NS" in CLOCK_MONOTONIC nanoseconds, the clock bench/run
// reads before it starts the program under test.
//
// A window counts as painted once a pixel near its bottom-left corner is no
// longer black; the X server must be started with a black root window (-br)
// so that an unpainted window reads as black.
//
// usage: map_watch [TIMEOUT_SECONDS]   (DISPLAY names the server)
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace {

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

// The pixel at (x, y) of `window`, or -1 when it cannot be read yet.
long Pixel(xcb_connection_t* c, xcb_window_t window, int x, int y) {
  xcb_get_image_cookie_t cookie =
      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, static_cast<std::int16_t>(x),
                    static_cast<std::int16_t>(y), 1, 1, ~0U);
  xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
  if (reply == nullptr) return -1;
  long value = 0;
  const int length = xcb_get_image_data_length(reply);
  const std::uint8_t* data = xcb_get_image_data(reply);
  for (int i = 0; i < length && i < 3; ++i) value |= static_cast<long>(data[i]) << (8 * i);
  std::free(reply);
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  const double timeout = argc > 1 ? std::atof(argv[1]) : 30.0;
  const long long deadline = NowNs() + static_cast<long long>(timeout * 1e9);
  // A server that has only just started may not take connections yet.
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  for (int attempt = 0; xcb_connection_has_error(c) && attempt < 50; ++attempt) {
    xcb_disconnect(c);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    c = xcb_connect(nullptr, nullptr);
  }
  if (xcb_connection_has_error(c)) {
    std::fputs("map_watch: cannot open the display\n", stderr);
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_void_cookie_t selected =
      xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask);
  if (xcb_generic_error_t* error = xcb_request_check(c, selected)) {
    std::free(error);
    std::fputs("map_watch: cannot watch the root window\n", stderr);
    return 2;
  }
  std::puts("ready");
  std::fflush(stdout);

  xcb_window_t window = 0;
  long long mapped = 0;
  while (window == 0) {
    xcb_generic_event_t* event = xcb_poll_for_event(c);
    if (event == nullptr) {
      if (xcb_connection_has_error(c) || NowNs() > deadline) {
        std::fputs("map_watch: no window was mapped\n", stderr);
        return 1;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
      const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
      if (map->event == root && !map->override_redirect) {
        window = map->window;
        mapped = NowNs();
      }
    }
    std::free(event);
  }

  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
  if (geometry == nullptr) {
    std::fputs("map_watch: the window went away\n", stderr);
    return 1;
  }
  const int x = 3;
  const int y = geometry->height > 4 ? geometry->height - 4 : 0;
  std::free(geometry);
  long long painted = 0;
  while (painted == 0) {
    const long pixel = Pixel(c, window, x, y);
    if (pixel > 0) {
      painted = NowNs();
    } else if (NowNs() > deadline) {
      std::fputs("map_watch: the window was never painted\n", stderr);
      return 1;
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  }
  std::printf("mapped %lld painted %lld\n", mapped, painted);
  xcb_disconnect(c);
  return 0;
}
