// Records, as the X server receives them, the requests that change a window's
// _NET_WM_WINDOW_OPACITY: one line each, with the server's time in
// milliseconds and the value set ("deleted" where the property goes), the
// same moment at which a compositor hears of the change. The requests are
// taken by the server's RECORD extension, so a spy that runs late still sees
// every value in its order. With --pointer it records too each move of the
// pointer that a client makes (a warp, as xdotool's, or XTest's motion), as
// "TIME pointer X Y": the moment the pointer crossed whatever edge the move
// took it over. Prints "ready" once recording has
// begun; runs until it is ended.
#include <X11/Xlib.h>
#include <X11/extensions/record.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint8_t kChangeProperty = 18;
constexpr std::uint8_t kDeleteProperty = 19;
constexpr std::uint8_t kWarpPointer = 41;
constexpr std::uint8_t kFakeInput = 2;  // XTest's request
constexpr std::uint8_t kMotionNotify = 6;

struct Watch {
    std::uint32_t window;
    std::uint32_t opacity;
    int xtest;  // XTest's major opcode; 0 when moves are not recorded
};

std::int16_t half(const unsigned char *request, std::size_t offset) {
    std::int16_t value = 0;
    std::memcpy(&value, request + offset, sizeof value);
    return value;
}

std::uint32_t word(const unsigned char *request, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, request + offset, sizeof value);
    return value;
}

void recorded(XPointer closure, XRecordInterceptData *data) {
    const auto *watch = reinterpret_cast<const Watch *>(closure);
    if (data->category == XRecordStartOfData) {
        std::puts("ready");
    } else if (data->category == XRecordFromClient && !data->client_swapped &&
               data->data_len * 4 >= 12) {
        const unsigned char *request = data->data;
        if (watch->xtest != 0 && request[0] == kWarpPointer && data->data_len * 4 >= 24) {
            std::printf("%lu pointer %d %d\n", data->server_time, half(request, 20),
                        half(request, 22));
        } else if (watch->xtest != 0 && request[0] == watch->xtest && request[1] == kFakeInput) {
            if (request[4] == kMotionNotify && data->data_len * 4 >= 28) {
                std::printf("%lu pointer %d %d\n", data->server_time, half(request, 24),
                            half(request, 26));
            }
        } else if (word(request, 4) == watch->window && word(request, 8) == watch->opacity) {
            if (request[0] == kDeleteProperty) {
                std::printf("%lu deleted\n", data->server_time);
            } else if (request[0] == kChangeProperty && data->data_len * 4 >= 28 &&
                       request[16] == 32) {
                std::printf("%lu %u\n", data->server_time, word(request, 24));
            }
        }
    }
    std::fflush(stdout);
    XRecordFreeData(data);
}

}  // namespace

int main(int argc, char *argv[]) {
    const bool pointer = argc == 3 && std::strcmp(argv[2], "--pointer") == 0;
    if (argc != 2 && !pointer) {
        std::fputs("usage: x_opacity_spy WINDOW-ID [--pointer]\n", stderr);
        return 2;
    }
    Display *control = XOpenDisplay(nullptr);
    Display *data = XOpenDisplay(nullptr);
    int major = 0;
    int minor = 0;
    if (control == nullptr || data == nullptr || !XRecordQueryVersion(control, &major, &minor)) {
        std::fputs("x_opacity_spy: no display with the RECORD extension\n", stderr);
        return 1;
    }
    Watch watch{static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 0)),
                static_cast<std::uint32_t>(XInternAtom(control, "_NET_WM_WINDOW_OPACITY", False)),
                0};
    int event = 0;
    int error = 0;
    if (pointer && !XQueryExtension(control, "XTEST", &watch.xtest, &event, &error)) {
        std::fputs("x_opacity_spy: no XTest to record\n", stderr);
        return 1;
    }
    XRecordRange *range = XRecordAllocRange();
    range->core_requests.first = kChangeProperty;
    range->core_requests.last = pointer ? kWarpPointer : kDeleteProperty;
    if (pointer) {
        range->ext_requests.ext_major.first = static_cast<unsigned char>(watch.xtest);
        range->ext_requests.ext_major.last = static_cast<unsigned char>(watch.xtest);
        range->ext_requests.ext_minor.first = kFakeInput;
        range->ext_requests.ext_minor.last = kFakeInput;
    }
    XID clients = XRecordAllClients;  // every client, now and later
    const XRecordContext context =
        XRecordCreateContext(control, XRecordFromServerTime, &clients, 1, &range, 1);
    XSync(control, False);
    if (context == 0 ||
        !XRecordEnableContext(data, context, recorded, reinterpret_cast<XPointer>(&watch))) {
        std::fputs("x_opacity_spy: cannot record the server's requests\n", stderr);
        return 1;
    }
    return 0;
}
