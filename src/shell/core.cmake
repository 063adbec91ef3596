# GUI-free pieces of the shell: the settings store with the main window's load
# and save orders, and the text catalogue with its built-in texts.
target_sources(murmelo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.h ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsIO.h ${CMAKE_CURRENT_LIST_DIR}/SettingsIO.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextCatalogue.h ${CMAKE_CURRENT_LIST_DIR}/TextCatalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CatalogueDefaults.cpp)
