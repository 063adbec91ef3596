# Level display: FFT, spectrum queue and level arithmetic below, the bar chart on top.
target_sources(murmelo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dspFFT.h ${CMAKE_CURRENT_LIST_DIR}/dspFFT.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpecList.h ${CMAKE_CURRENT_LIST_DIR}/SpecList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LevelMeter.h ${CMAKE_CURRENT_LIST_DIR}/LevelMeter.cpp)
target_sources(murmelo_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LevelChart.h ${CMAKE_CURRENT_LIST_DIR}/LevelChart.cpp)
