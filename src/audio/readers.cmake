# ID3 tag readers and the MPEG audio reader (QtCore only).
target_sources(murmelo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ID3v1.h ${CMAKE_CURRENT_LIST_DIR}/ID3v1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ID3v2.h ${CMAKE_CURRENT_LIST_DIR}/ID3v2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MPEGaudio.h ${CMAKE_CURRENT_LIST_DIR}/MPEGaudio.cpp)
