# The Windows build, cross-compiled with cmake/mingw-w64-x86_64.cmake against the static
# libraries scripts/deps/windows.sh builds: one program that needs no DLL but Windows' own, a
# windowed program (no console opens) with the hero's icon and the version in its resources.

# Built statically, SDL and its two companions name their targets "-static"; the game links
# them by their usual names.
foreach(library SDL2::SDL2 SDL2_image::SDL2_image SDL2_mixer::SDL2_mixer)
  if(NOT TARGET ${library})
    add_library(${library} INTERFACE IMPORTED)
    target_link_libraries(${library} INTERFACE ${library}-static)
  endif()
endforeach()

enable_language(RC)

# The C and C++ runtimes and the threads library, linked in rather than shipped as DLLs.
add_link_options(-static)

# The icon, from the same pictures the Linux desktop uses, and the version resource.
function(tarnwick_windows_program target)
  set(icons "")
  foreach(size 16 24 32 48 64 128 256)
    list(APPEND icons "${CMAKE_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/tarnwick.png")
  endforeach()
  set(TARNWICK_ICON "${CMAKE_BINARY_DIR}/windows/tarnwick.ico")
  add_custom_command(OUTPUT "${TARNWICK_ICON}"
    COMMAND convert ${icons} "${TARNWICK_ICON}"
    DEPENDS ${icons}
    COMMENT "Making the program's icon")
  configure_file("${CMAKE_SOURCE_DIR}/data/windows/tarnwick.rc.in"
    "${CMAKE_BINARY_DIR}/windows/tarnwick.rc" @ONLY)
  set_source_files_properties("${CMAKE_BINARY_DIR}/windows/tarnwick.rc" PROPERTIES
    OBJECT_DEPENDS "${TARNWICK_ICON}")
  target_sources(${target} PRIVATE "${CMAKE_BINARY_DIR}/windows/tarnwick.rc")
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()

# The tests that need no window system and no Linux program, in one program that runs under
# wine (scripts/test_windows.sh): game logic through the frame loop, the liquid, the asset list,
# the PNG decoder, the window, gamepads and the mixed sound on SDL's disk driver. All give the
# results they give on Linux. MinGW-w64's sinf and cosf differ from glibc's in the last bit for
# some angles (Box2D turns bodies with them), so a long enough physics run may part ways with
# Linux's; no test here depends on that to the bit. SOURCES are the game's tests (tests/); the
# liquid's are added here.
function(tarnwick_windows_tests sources)
  list(FILTER sources EXCLUDE REGEX "tests/(e2e|soak|architecture|ported)/")
  # The whole-game tests' death tests expect POSIX exit statuses (255 for -1) and regular
  # expressions, which Googletest lacks on Windows, and the asset directory's test starts the
  # Linux program; the end-to-end tests under wine cover both on Windows.
  list(FILTER sources EXCLUDE REGEX "tests/app/(application|asset_directory)_test")
  file(GLOB physics_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/physics/*.cpp")
  add_executable(tarnwick_windows_tests ${sources} ${physics_sources})
  target_link_libraries(tarnwick_windows_tests PRIVATE tarnwick_test_support)
  target_compile_definitions(tarnwick_windows_tests PRIVATE
    TARNWICK_SOURCE_DIR="${CMAKE_SOURCE_DIR}" TARNWICK_BUILD_DIR="${CMAKE_BINARY_DIR}")
  # The tests and their support alike: M_PI, and what Windows lacks of POSIX.
  foreach(target tarnwick_windows_tests tarnwick_test_support)
    target_compile_definitions(${target} PRIVATE _USE_MATH_DEFINES)
    target_compile_options(${target} PRIVATE
      -include "${CMAKE_SOURCE_DIR}/tests/support/windows_environment.h")
  endforeach()
endfunction()
