target_sources(murmelo_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/About.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AlertForms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HintWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainAudioList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainPages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainRecording.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainUnit1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleBrowser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplashUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Widgets.cpp)
