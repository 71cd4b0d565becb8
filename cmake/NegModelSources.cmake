# neg_model_sources(VAR): sets VAR to the model library's sources, model/*.cpp
# without the other platform's half (*_posix.cpp on Windows, *_win32.cpp
# elsewhere). The main build and the fuzz build both compile the model.
function(neg_model_sources out)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../model/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
