# The VS Code extension's tests: its grammar on the demo and its own logic,
# and the packaged .vsix. They skip (exit 77) without node.
set(MOWA_VSCODE_RUN bash ${CMAKE_SOURCE_DIR}/tests/vscode/run.sh
    ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/vscode)
add_test(NAME vscode_extension
         COMMAND ${MOWA_VSCODE_RUN} extension $<TARGET_FILE:mowa-lint>)
add_test(NAME vscode_package COMMAND ${MOWA_VSCODE_RUN} package)
set_tests_properties(vscode_extension vscode_package
                     PROPERTIES SKIP_RETURN_CODE 77 LABELS vscode)
