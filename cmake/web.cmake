# The browser build, made with emscripten by scripts/build_web.sh: tarnwick.js and tarnwick.wasm,
# the assets packed into tarnwick.data, for the page web/index.html. No threads, so that any
# static host can serve it.

# The game's loop waits for each frame inside the screens' own code (frames, fades, pictures held
# for a while); ASYNCIFY lets those waits hand the page back to the browser. The stack saved at a
# wait is a few kilobytes deep; the rest is room to spare.
#
# SDL, Box2D and the liquid never wait (nothing they call presents a frame), so they are left as
# they are: instrumented, they cost the frame benchmarks' liquid scene two thirds more time
# (12 % more than without ASYNCIFY as they are left).
set(TARNWICK_WEB_ASYNCIFY -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  "-sASYNCIFY_REMOVE=@${CMAKE_SOURCE_DIR}/cmake/web_asyncify_remove.json")
# SDL built from source calls these from its JavaScript (sound starts on the first key or click).
# Their names begin with "$", which the build tools would take for their own: read from a file.
set(TARNWICK_WEB_SDL_FUNCTIONS
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/cmake/web_sdl_functions.json")
option(TARNWICK_BENCH_ASYNCIFY "Build the benchmarks with ASYNCIFY, as the game is" ON)

set_target_properties(tarnwick PROPERTIES SUFFIX ".js")
target_link_options(tarnwick PRIVATE ${TARNWICK_WEB_ASYNCIFY}
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=64MB
  -sENVIRONMENT=web
  ${TARNWICK_WEB_SDL_FUNCTIONS}
  "--preload-file=${CMAKE_SOURCE_DIR}/assets@/assets")
set_property(TARGET tarnwick APPEND PROPERTY LINK_DEPENDS "${CMAKE_SOURCE_DIR}/assets/assets_list.json"
  "${CMAKE_SOURCE_DIR}/cmake/web_asyncify_remove.json")

# The benchmarks run under node, on SDL's dummy video and sound, reading the assets straight from
# the disk: the wasm's frame cost beside the native build's, on the same scenes.
if(TARNWICK_BENCH)
  set_target_properties(tarnwick_bench PROPERTIES SUFFIX ".js")
  target_link_libraries(tarnwick_bench PRIVATE benchmark::benchmark_main)
  set_property(TARGET tarnwick_bench APPEND PROPERTY LINK_DEPENDS
    "${CMAKE_SOURCE_DIR}/cmake/web_bench_node.js" "${CMAKE_SOURCE_DIR}/cmake/web_asyncify_remove.json")
  target_link_options(tarnwick_bench PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node
    "--pre-js=${CMAKE_SOURCE_DIR}/cmake/web_bench_node.js"
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    ${TARNWICK_WEB_SDL_FUNCTIONS})
  if(TARNWICK_BENCH_ASYNCIFY)
    target_link_options(tarnwick_bench PRIVATE ${TARNWICK_WEB_ASYNCIFY})
  endif()
endif()
