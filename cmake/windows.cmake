# mowa.exe: the program on the Windows API, cross-compiled with mingw-w64.
# The program, engine and subsystems are the same sources as on Linux; the
# backend is src/platform/win32. Windows itself provides windows, GDI,
# fonts, sound and code page 932, so nothing else is linked.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

include_directories(${CMAKE_SOURCE_DIR}/src)

file(GLOB MOWA_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
file(GLOB MOWA_CORE_SOURCES CONFIGURE_DEPENDS
     src/report/*.cpp src/engine/*.cpp src/graphics/*.cpp src/text/*.cpp src/sound/*.cpp
     src/shell/*.cpp src/debug/*.cpp)
list(FILTER MOWA_CORE_SOURCES EXCLUDE REGEX ".*/main_[a-z]+\\.cpp$")
# Code page 932 is converted by Windows itself in the backend (win32_text).
file(GLOB MOWA_BASE_SOURCES CONFIGURE_DEPENDS src/base/*.cpp)
list(FILTER MOWA_BASE_SOURCES EXCLUDE REGEX ".*/cp932\\.cpp$")

# nlohmann-json is header only: its folder of the Linux system is seen
# alone, never the rest of /usr/include.
find_path(MOWA_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(MOWA_NLOHMANN_INCLUDE ${CMAKE_BINARY_DIR}/nlohmann-include)
file(MAKE_DIRECTORY ${MOWA_NLOHMANN_INCLUDE})
file(CREATE_LINK ${MOWA_NLOHMANN_DIR}/nlohmann
     ${MOWA_NLOHMANN_INCLUDE}/nlohmann SYMBOLIC)

set(MOWA_ICON_FILE ${CMAKE_BINARY_DIR}/mowa.ico)
set(MOWA_MANIFEST_FILE ${CMAKE_SOURCE_DIR}/res/windows/mowa.exe.manifest)
add_custom_command(
  OUTPUT ${MOWA_ICON_FILE}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/res/icon/make_icon.py
          ${CMAKE_SOURCE_DIR}/res/icon/mowa_icon.txt --ico ${MOWA_ICON_FILE}
  DEPENDS ${CMAKE_SOURCE_DIR}/res/icon/make_icon.py
          ${CMAKE_SOURCE_DIR}/res/icon/mowa_icon.txt
  COMMENT "Writing the program's icon")
configure_file(res/windows/mowa.rc.in ${CMAKE_BINARY_DIR}/mowa.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/mowa.rc PROPERTIES
  OBJECT_DEPENDS "${MOWA_ICON_FILE};${MOWA_MANIFEST_FILE}")

add_executable(mowa WIN32
  src/shell/main_windows.cpp ${MOWA_CORE_SOURCES} ${MOWA_BASE_SOURCES}
  ${MOWA_WIN32_SOURCES}
  src/platform/common/faults.cpp src/platform/common/host_stream.cpp
  src/platform/common/reader_settings.cpp
  ${CMAKE_BINARY_DIR}/mowa.rc)
target_include_directories(mowa SYSTEM PRIVATE ${MOWA_NLOHMANN_INCLUDE})
target_compile_definitions(mowa PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                           NOMINMAX _WIN32_WINNT=0x0601)
# Only Windows' own DLLs beside it: the compiler's runtime goes inside.
target_link_options(mowa PRIVATE -static -static-libgcc -static-libstdc++)
# The reader's screenshots through Windows' imaging component.
target_link_libraries(mowa PRIVATE winmm ole32 windowscodecs uuid shell32)

# A probe of the system's StretchDIBits for the Wine test: not shipped.
add_executable(gdi_probe tests/wine/gdi_probe.cpp)
target_compile_definitions(gdi_probe PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(gdi_probe PRIVATE -static -static-libgcc -static-libstdc++)
