# The MP3 encoder library (BladeEnc calls over libmp3lame) and the WAV to MP3 conversion.
target_sources(murmelo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BladeMP3Enc.h
  ${CMAKE_CURRENT_LIST_DIR}/BladeMP3Enc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MP3export.h
  ${CMAKE_CURRENT_LIST_DIR}/MP3export.cpp)
target_link_libraries(murmelo_core PRIVATE mp3lame::mp3lame)
