# The window: a library the tests drive, and the program around it.
add_library(quillon_window STATIC
    ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/dialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/drivelist.cpp ${CMAKE_CURRENT_LIST_DIR}/drivelist.h
    ${CMAKE_CURRENT_LIST_DIR}/folderlist.cpp ${CMAKE_CURRENT_LIST_DIR}/folderlist.h
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h
)
target_link_libraries(quillon_window PUBLIC quillon_scan quillon_output quillon_grid Qt6::Widgets)

set(QUILLON_ICON ${PROJECT_SOURCE_DIR}/data/icons/quillon-32.png)
if(EXISTS ${QUILLON_ICON})
    qt_add_resources(quillon_window "quillon_icons"
        PREFIX "/icons" BASE ${PROJECT_SOURCE_DIR}/data/icons FILES ${QUILLON_ICON})
endif()

add_executable(quillon WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quillon PRIVATE quillon_window)
