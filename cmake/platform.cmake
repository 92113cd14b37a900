# Platform files come in pairs behind one header, and each build compiles its own of each pair:
# name_desktop.cpp or name_web.cpp (the browser build, emscripten), and name_posix.cpp or
# name_windows.cpp (the operating system's own calls; the browser's are POSIX). Each platform
# names its own here, once; every target that compiles the game's sources takes them through
# tarnwick_platform_sources (docs/platforms_and_dependencies.md).
set(TARNWICK_PLATFORM_FILES desktop web posix windows)
if(EMSCRIPTEN)
  set(TARNWICK_PLATFORM web posix)
elseif(WIN32)
  set(TARNWICK_PLATFORM desktop windows)
else()
  set(TARNWICK_PLATFORM desktop posix)
endif()

# Sets OUT to the sources of src/FOLDER/ that this platform compiles: every .cpp but the other
# platforms' files of each pair.
function(tarnwick_platform_sources out folder)
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp")
  set(others ${TARNWICK_PLATFORM_FILES})
  list(REMOVE_ITEM others ${TARNWICK_PLATFORM})
  list(JOIN others "|" others)
  list(FILTER sources EXCLUDE REGEX "_(${others})\\.cpp$")
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
