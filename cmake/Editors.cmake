# SPDX-License-Identifier: GPL-3.0-or-later
# The programme language in other editors. plcedit-makegrammar writes the
# TextMate grammar and the Vim syntax file from the compiler's word lists into
# ${CMAKE_BINARY_DIR}/editors; the Vim and Neovim files (with the Neovim
# language-server set-up) are installed on the editors' default runtime
# paths, the grammar under the data folder's editors/textmate. The VS Code extension (editors/vscode)
# is built from the same grammar into a .vsix by the test editors_vscode.
add_executable(plcedit-makegrammar ${CMAKE_SOURCE_DIR}/apps/makegrammar/MakeGrammar.cpp)
target_link_libraries(plcedit-makegrammar PRIVATE plccore nlohmann_json::nlohmann_json)
target_compile_options(plcedit-makegrammar PRIVATE ${PLCEDIT_WARNINGS})
plcedit_layer_includes(apps/makegrammar USES compiler image base)

set(PLCEDIT_EDITORS_DIR ${CMAKE_BINARY_DIR}/editors)
set(PLCEDIT_TEXTMATE_GRAMMAR ${PLCEDIT_EDITORS_DIR}/textmate/plc.tmLanguage.json)
set(PLCEDIT_VIM_SYNTAX ${PLCEDIT_EDITORS_DIR}/vim/syntax/plc.vim)
add_custom_command(
  OUTPUT ${PLCEDIT_TEXTMATE_GRAMMAR} ${PLCEDIT_VIM_SYNTAX}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PLCEDIT_EDITORS_DIR}/textmate ${PLCEDIT_EDITORS_DIR}/vim/syntax
  COMMAND plcedit-makegrammar ${PLCEDIT_TEXTMATE_GRAMMAR} ${PLCEDIT_VIM_SYNTAX}
  DEPENDS plcedit-makegrammar
  COMMENT "Making the grammars for other editors")
add_custom_target(plcedit_grammars ALL DEPENDS ${PLCEDIT_TEXTMATE_GRAMMAR} ${PLCEDIT_VIM_SYNTAX})

# Where Vim and Neovim look without being told: Vim's system-wide vimfiles
# and Neovim's site folder (both under /usr/share on Debian). Neovim also
# takes the module plcedit.lsp from its lua/ folder.
foreach(runtime vim/vimfiles nvim/site)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/editors/vim/ DESTINATION ${CMAKE_INSTALL_DATADIR}/${runtime}
    COMPONENT Runtime PATTERN lua EXCLUDE)
  install(FILES ${PLCEDIT_VIM_SYNTAX} DESTINATION ${CMAKE_INSTALL_DATADIR}/${runtime}/syntax COMPONENT Runtime)
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/editors/vim/lua DESTINATION ${CMAKE_INSTALL_DATADIR}/nvim/site
  COMPONENT Runtime)
install(FILES ${PLCEDIT_TEXTMATE_GRAMMAR} DESTINATION ${PLCEDIT_DATADIR}/editors/textmate COMPONENT Runtime)

# The extension: npm packages from the lock file, the grammar, the .vsix, and
# the grammar's expected scopes on an annotated example, and every example
# coloured by the grammar as by plcc's semantic tokens. Skipped without node
# and npm.
add_test(NAME editors_vscode
  COMMAND ${CMAKE_SOURCE_DIR}/tests/editors/vscode.sh ${CMAKE_SOURCE_DIR} ${PLCEDIT_TEXTMATE_GRAMMAR}
          ${PROJECT_VERSION} ${CMAKE_CURRENT_BINARY_DIR}/editors-vscode $<TARGET_FILE:plcc>)
set_tests_properties(editors_vscode PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RESOURCE_LOCK npm)
# The same on demand: cmake --build build --target plcedit_vsix.
add_custom_target(plcedit_vsix
  COMMAND ${CMAKE_SOURCE_DIR}/tests/editors/vscode.sh ${CMAKE_SOURCE_DIR} ${PLCEDIT_TEXTMATE_GRAMMAR}
          ${PROJECT_VERSION} ${CMAKE_CURRENT_BINARY_DIR}/editors-vscode $<TARGET_FILE:plcc>
  DEPENDS plcedit_grammars plcc
  USES_TERMINAL
  COMMENT "Building the VS Code extension")
