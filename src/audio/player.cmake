# MP3 playback: libmpg123 decodes, Qt Multimedia plays.
target_sources(murmelo_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MP3Player.h ${CMAKE_CURRENT_LIST_DIR}/MP3Player.cpp)
target_link_libraries(murmelo_gui PRIVATE PkgConfig::MPG123)
