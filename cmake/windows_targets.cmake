# From the Linux build: mowa.exe for 64-bit and 32-bit Windows, each
# cross-compiled in a build tree of its own (<build>/windows-ARCH), and the
# tests of the program files; the 64-bit program also plays the Wine test.
find_program(MOWA_MINGW64 x86_64-w64-mingw32-g++-posix)
find_program(MOWA_MINGW32 i686-w64-mingw32-g++-posix)
find_program(MOWA_WINE wine)
if(NOT MOWA_MINGW64 OR NOT MOWA_MINGW32 OR NOT MOWA_WINE)
  message(FATAL_ERROR "mowa.exe needs mingw-w64 and wine (scripts/setup "
          "installs them); -DMOWA_WINDOWS=OFF builds without them")
endif()
foreach(arch x86_64 i686)
  set(tree ${CMAKE_BINARY_DIR}/windows-${arch})
  add_custom_target(mowa_windows_${arch} ALL
    COMMAND ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${tree}
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
    COMMAND ${CMAKE_COMMAND} --build ${tree}
    COMMENT "Cross-compiling mowa.exe for ${arch} Windows"
    VERBATIM)
  if(BUILD_TESTING)
    add_test(NAME windows_program_file_${arch}
             COMMAND /usr/bin/python3
                     ${CMAKE_SOURCE_DIR}/tests/wine/check_program_file.py
                     ${tree}/mowa.exe ${arch})
  endif()
endforeach()
if(BUILD_TESTING)
  add_test(NAME wine
           COMMAND xvfb-run -a -s "-screen 0 640x480x24 -noreset"
                   bash ${CMAKE_SOURCE_DIR}/tests/wine/run.sh
                   ${CMAKE_BINARY_DIR}/windows-x86_64/mowa.exe
                   $<TARGET_FILE:mowa-headless>)
  # Alone: the test waits for what the screen shows, and Wine is heavy.
  set_tests_properties(wine PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
  # mowa.exe --dap driven by the DAP client through Wine's pipes.
  add_test(NAME wine_dap
           COMMAND xvfb-run -a -s "-screen 0 640x480x24 -noreset"
                   /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/wine/dap_wine.py
                   ${CMAKE_BINARY_DIR}/windows-x86_64/mowa.exe)
  set_tests_properties(wine_dap PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
