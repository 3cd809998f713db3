# The browser player: the program compiled to WebAssembly with emscripten,
# over the software GDI with FreeType built by scripts/web-deps. The engine,
# subsystems and shell are the same sources as on Linux; the backend is
# src/platform/web. Fonts are not looked up: the page places one file.
set(MOWA_WEB_DEPS "${CMAKE_BINARY_DIR}/../deps/prefix" CACHE PATH
    "Where scripts/web-deps installed FreeType")
include_directories(${CMAKE_SOURCE_DIR}/src ${MOWA_WEB_DEPS}/include/freetype2)

file(GLOB MOWA_WEB_SOURCES CONFIGURE_DEPENDS
     src/base/*.cpp src/report/*.cpp src/engine/*.cpp src/graphics/*.cpp
     src/text/*.cpp src/sound/*.cpp src/shell/*.cpp src/platform/common/*.cpp
     src/platform/softgdi/*.cpp src/platform/web/*.cpp)
list(FILTER MOWA_WEB_SOURCES EXCLUDE REGEX ".*/main_[a-z]+\\.cpp$")
# Screenshots are the headless runner's: the page reads its canvas instead.
list(FILTER MOWA_WEB_SOURCES EXCLUDE REGEX ".*/softgdi/png_io\\.cpp$")

add_executable(mowa-web src/shell/main_web.cpp ${MOWA_WEB_SOURCES})
set_target_properties(mowa-web PROPERTIES OUTPUT_NAME mowa SUFFIX ".js")
set_source_files_properties(src/platform/softgdi/font_raster.cpp PROPERTIES
    COMPILE_DEFINITIONS "MOWA_FONT_FILE=\"/font/mowa-gothic.ttf\"")
target_link_libraries(mowa-web PRIVATE ${MOWA_WEB_DEPS}/lib/libfreetype.a)
# One thread that suspends at every blocking statement and while a file it
# opens is fetched; the page places the story's names before main runs.
set(MOWA_WEB_FILES_JS ${CMAKE_SOURCE_DIR}/src/platform/web/web_files.js)
set_target_properties(mowa-web PROPERTIES LINK_DEPENDS ${MOWA_WEB_FILES_JS})
# Built for size: the page downloads and compiles the whole program before the
# first picture. FreeType never suspends (its font file is in memory from the
# start), so its functions are left as they are by Asyncify, which otherwise
# doubles every function that may call through a pointer.
target_compile_options(mowa-web PRIVATE -Os)
set(MOWA_WEB_NEVER_SUSPEND
    "'FT_*','ft_*','tt_*','TT_*','ps_*','gray_*','sfnt_*'")
target_link_options(mowa-web PRIVATE
  -Oz "-sASYNCIFY_REMOVE=[${MOWA_WEB_NEVER_SUSPEND}]"
  "SHELL:--js-library ${MOWA_WEB_FILES_JS}"
  "-sASYNCIFY_IMPORTS=['__syscall_open']"
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432 -sTOTAL_STACK=1048576
  -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString,addRunDependency,removeRunDependency
  -sENVIRONMENT=web -sFILESYSTEM=1 -sEXIT_RUNTIME=0)
