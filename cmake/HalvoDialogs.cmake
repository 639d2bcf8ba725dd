# halvo_dialogs: the settings, interval, graph and memo dialogs and the Qt file dialogs, each
# beside the subsystem it edits, built into one Qt library for the application.
add_library(halvo_dialogs STATIC
  ${CMAKE_SOURCE_DIR}/document/DialogTemplate.cpp
  ${CMAKE_SOURCE_DIR}/document/DialogExchange.cpp
  ${CMAKE_SOURCE_DIR}/document/QtFileDialogs.cpp
  ${CMAKE_SOURCE_DIR}/data/MemoDlg.cpp
  ${CMAKE_SOURCE_DIR}/measurement/ConfDlg.cpp
  ${CMAKE_SOURCE_DIR}/measurement/IntDlg.cpp
  ${CMAKE_SOURCE_DIR}/display/ColorButton.cpp
  ${CMAKE_SOURCE_DIR}/display/GraphDlg.cpp)
target_include_directories(halvo_dialogs PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(halvo_dialogs PUBLIC
  halvo_measurement halvo_doc halvo_display_qt Qt6::Widgets Qt6::PrintSupport)
set_target_properties(halvo_dialogs PROPERTIES AUTOMOC ON)
