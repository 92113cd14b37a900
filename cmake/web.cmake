# The browser build, made with emscripten by scripts/build_web.sh: tarnwick.js and tarnwick.wasm,
# the assets packed into tarnwick.data, for the page web/index.html. No threads, so that any
# static host can serve it.
#
# The browser calls the game once per animation frame (app/frame_loop_web.cpp), and the game
# never waits inside a frame, so nothing needs ASYNCIFY: the wasm is smaller and every frame
# cheaper.

# SDL built from source calls these from its JavaScript (sound starts on the first key or click).
# Their names begin with "$", which the build tools would take for their own: read from a file.
set(TARNWICK_WEB_SDL_FUNCTIONS
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/cmake/web_sdl_functions.json")

# A page of the game's: its memory, the assets packed beside it, and how it sets up sound and
# WebGL before the game starts.
set(TARNWICK_WEB_PAGE_SETUP "${CMAKE_SOURCE_DIR}/web/audio_and_webgl.js")
set(TARNWICK_WEB_PAGE_OPTIONS
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=64MB
  -sENVIRONMENT=web
  ${TARNWICK_WEB_SDL_FUNCTIONS}
  "--pre-js=${TARNWICK_WEB_PAGE_SETUP}"
  "--preload-file=${CMAKE_SOURCE_DIR}/assets@/assets")

set_target_properties(tarnwick PROPERTIES SUFFIX ".js")
target_link_options(tarnwick PRIVATE ${TARNWICK_WEB_PAGE_OPTIONS})
set_property(TARGET tarnwick APPEND PROPERTY LINK_DEPENDS "${CMAKE_SOURCE_DIR}/assets/assets_list.json"
  "${TARNWICK_WEB_PAGE_SETUP}")

# The benchmarks run under node, on SDL's dummy video and sound, reading the assets straight from
# the disk: the wasm's frame cost beside the native build's, on the same scenes.
if(TARNWICK_BENCH)
  set_target_properties(tarnwick_bench PROPERTIES SUFFIX ".js")
  target_link_libraries(tarnwick_bench PRIVATE benchmark::benchmark_main)
  set_property(TARGET tarnwick_bench APPEND PROPERTY LINK_DEPENDS
    "${CMAKE_SOURCE_DIR}/cmake/web_bench_node.js")
  target_link_options(tarnwick_bench PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node
    "--pre-js=${CMAKE_SOURCE_DIR}/cmake/web_bench_node.js"
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    ${TARNWICK_WEB_SDL_FUNCTIONS})

  # The page's floor: one picture a frame through the same renderer (bench/web_floor.cpp).
  add_executable(tarnwick_web_floor bench/web_floor.cpp)
  target_link_libraries(tarnwick_web_floor PRIVATE SDL2::SDL2)
  set_target_properties(tarnwick_web_floor PROPERTIES SUFFIX ".js")
  target_link_options(tarnwick_web_floor PRIVATE -sENVIRONMENT=web ${TARNWICK_WEB_SDL_FUNCTIONS})

  # A stage as the map screen plays it, for the boss fight (bench/web_stage.cpp).
  add_executable(tarnwick_web_stage bench/web_stage.cpp)
  target_link_libraries(tarnwick_web_stage PRIVATE tarnwick_main_loop)
  set_target_properties(tarnwick_web_stage PROPERTIES SUFFIX ".js")
  target_link_options(tarnwick_web_stage PRIVATE ${TARNWICK_WEB_PAGE_OPTIONS})
  set_property(TARGET tarnwick_web_stage APPEND PROPERTY LINK_DEPENDS
    "${CMAKE_SOURCE_DIR}/assets/assets_list.json" "${TARNWICK_WEB_PAGE_SETUP}")
endif()
