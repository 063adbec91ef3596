# Sound capture: the stream, the WAV writer and the recording logic need no
# widgets; only the Qt Multimedia back end goes into the GUI library.
target_sources(murmelo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WaveFile.h ${CMAKE_CURRENT_LIST_DIR}/WaveFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DspSoundCaptureStream.h ${CMAKE_CURRENT_LIST_DIR}/DspSoundCaptureStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DspRecorder.h ${CMAKE_CURRENT_LIST_DIR}/DspRecorder.cpp)
target_sources(murmelo_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SoundCapture.h ${CMAKE_CURRENT_LIST_DIR}/SoundCapture.cpp)
