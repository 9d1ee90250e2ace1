quillon_add_test(tst_windowcontroller SOURCES tst_windowcontroller.cpp LIBS quillon_window LABELS gui)
quillon_add_test(tst_windowwidgets SOURCES tst_windowwidgets.cpp LIBS quillon_window LABELS gui)
target_compile_definitions(tst_windowwidgets PRIVATE
    QUILLON_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
quillon_add_test(tst_windowdragdrop SOURCES tst_windowdragdrop.cpp LIBS quillon_window LABELS gui)
# The hostile trees also go through the window's Generate and Write To File.
target_link_libraries(tst_hostileexport PRIVATE quillon_window)
target_compile_definitions(tst_hostileexport PRIVATE QUILLON_TEST_WINDOW)
quillon_add_test(tst_dialogs SOURCES tst_dialogs.cpp LIBS quillon_window LABELS gui)
