/* Starts a program and prints, in milliseconds, how long it took until the
 * X server mapped its first top-level window. Usage: first_frame PROGRAM */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char *argv[]) {
    if (argc < 2) {
        fputs("usage: first_frame PROGRAM [ARGS]\n", stderr);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(connection)) {
        fputs("first_frame: no display\n", stderr);
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const double started = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    xcb_generic_event_t *event;
    while ((event = xcb_wait_for_event(connection)) != NULL) {
        const int type = event->response_type & 0x7f;
        free(event);
        if (type == XCB_MAP_NOTIFY) {
            printf("%.1f %d\n", now_ms() - started, (int)child);
            fflush(stdout);
            break;
        }
    }
    xcb_disconnect(connection);
    return 0;
}
