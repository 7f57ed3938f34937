# Starting the game on this desktop: sourced by ./play and by the installed
# launcher, so both behave the same.
#
# The game always draws a 320x240 screen. When sdl12-compat is installed the
# game runs on it, in a window three times that size with crisp
# nearest-neighbour pixels (a player's own SDL12COMPAT_WINDOW_SCALING wins);
# with classic SDL 1.2 the window is 320x240. The game itself reads no
# setting: the scaling is SDL's own business.

# need_display: without a display the game would open a window no one can
# see, so say so and end.
need_display() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "no display: set DISPLAY or WAYLAND_DISPLAY" >&2
        exit 1
    fi
}

# exec_game BINARY: replaces this shell with the game.
exec_game() {
    local lib compat=
    for lib in /usr/lib/*/sdl12-compat/libSDL-1.2.so.0 /usr/lib/sdl12-compat/libSDL-1.2.so.0; do
        if [ -e "$lib" ]; then
            compat=$(dirname "$lib")
            break
        fi
    done
    if [ -n "$compat" ]; then
        exec env LD_LIBRARY_PATH="$compat${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
            SDL12COMPAT_WINDOW_SCALING="${SDL12COMPAT_WINDOW_SCALING:-3}" \
            SDL12COMPAT_SCALE_METHOD=nearest \
            SDL_RENDER_SCALE_QUALITY=nearest \
            "$1"
    fi
    echo "sdl12-compat is not installed: playing in a 320x240 window."
    exec "$1"
}
