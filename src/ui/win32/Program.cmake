# The Windows program: the Win32 view of Form1, wWinMain, and the resources that
# windres compiles into kestrava.exe (the program's icon and its manifest). The hand
# cursor lies beside the program, where the window looks for it.
add_library(kestrava_ui_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Win32Form1View.cpp)
target_compile_definitions(kestrava_ui_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(kestrava_ui_win32 PUBLIC kestrava_app comctl32 gdi32 user32)
kestrava_warnings(kestrava_ui_win32)

add_executable(kestrava WIN32
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${PROJECT_SOURCE_DIR}/resources/win32/kestrava.rc)
target_link_options(kestrava PRIVATE -municode)
target_link_libraries(kestrava PRIVATE kestrava_ui_win32)
kestrava_warnings(kestrava)

set(hand_cursor ${PROJECT_SOURCE_DIR}/resources/HAND-M.CUR)
add_custom_command(TARGET kestrava POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${hand_cursor} $<TARGET_FILE_DIR:kestrava>/HAND-M.CUR)

# Installed, the program and its cursor share one folder as in the build, since the
# program reads its shipped files from its own folder first.
install(TARGETS kestrava RUNTIME DESTINATION .)
install(FILES ${hand_cursor} DESTINATION .)
