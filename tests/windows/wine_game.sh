#!/bin/sh
# Starts the Windows build's tarnwick.exe ($TARNWICK_WINDOWS_GAME) under wine, in place of the
# Linux game, for the end-to-end tests' RealGame. The tests ask SDL for its X11 driver; on
# Windows SDL picks its own.
unset SDL_VIDEODRIVER
exec wine "${TARNWICK_WINDOWS_GAME:?the path of the tarnwick.exe to start}"
