#!/usr/bin/env bash
# Sourced by everything that builds with Debian's emscripten (the web build's libraries, its
# benchmark library and the game's own tree): the environment emcc needs and how to configure a
# CMake project with it.

# emcc finds Debian's acorn only there.
export NODE_PATH=/usr/share/nodejs
# emcmake would run the configure checks' programs under node with --experimental-wasm-threads,
# which Node 20 refuses: every check then fails and CMake reads every type's size as 9.
CONFIGURE=(emcmake cmake -DCMAKE_CROSSCOMPILING_EMULATOR="/usr/bin/node;--no-experimental-fetch")
