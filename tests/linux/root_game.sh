#!/bin/sh
# Starts the Linux archive's program ($TARNWICK_LINUX_GAME, a path inside the system) inside
# another Debian system ($TARNWICK_LINUX_ROOT), from its /, in place of this build's game, for the
# end-to-end tests' RealGame. The game reaches the tests' virtual display through its abstract
# socket, which a chroot shares.
exec chroot "${TARNWICK_LINUX_ROOT:?the Debian system to start the game in}" \
  "${TARNWICK_LINUX_GAME:?the path of the program inside that system}"
