# The browser build's libraries, under the names the Linux build finds them
# by, so that the folders link them alike: SDL2, libvorbisfile and FreeType
# from VTRAK_WEB_DEPS (built from Debian's sources by scripts/web-deps.sh),
# OpenAL from Emscripten itself, GLM's headers from the system (they hold no
# code of a platform).
set(VTRAK_WEB_DEPS "" CACHE PATH "The libraries built for the browser (scripts/web-deps.sh)")
if(NOT EXISTS "${VTRAK_WEB_DEPS}/complete")
  message(FATAL_ERROR "VTRAK_WEB_DEPS does not name built browser libraries; "
                      "build the page with: bash scripts/web.sh --build-only")
endif()

function(vtrak_web_library name include)
  add_library(${name} INTERFACE IMPORTED GLOBAL)
  set(files)
  foreach(library ${ARGN})
    list(APPEND files ${VTRAK_WEB_DEPS}/lib/${library})
  endforeach()
  set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${include}"
                                           INTERFACE_LINK_LIBRARIES "${files}")
endfunction()

vtrak_web_library(PkgConfig::SDL2 ${VTRAK_WEB_DEPS}/include libSDL2.a)
vtrak_web_library(PkgConfig::VORBISFILE ${VTRAK_WEB_DEPS}/include libvorbisfile.a libvorbis.a
                  libogg.a)
vtrak_web_library(PkgConfig::FREETYPE ${VTRAK_WEB_DEPS}/include/freetype2 libfreetype.a)
add_library(PkgConfig::OPENAL INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::OPENAL PROPERTIES INTERFACE_LINK_LIBRARIES "-lopenal")

# What Emscripten's headers lack beside the Linux ones: std::bit_cast in its
# C++ library, OpenAL Soft's extension header in its OpenAL.
include_directories(BEFORE ${CMAKE_CURRENT_LIST_DIR}/include)

# GLM alone of the system's headers: a folder that holds only a link to it.
if(NOT EXISTS /usr/include/glm/glm.hpp)
  message(FATAL_ERROR "GLM not found: install the Debian package libglm-dev")
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/glm-include)
file(CREATE_LINK /usr/include/glm ${CMAKE_BINARY_DIR}/glm-include/glm SYMBOLIC)
add_library(glm::glm INTERFACE IMPORTED GLOBAL)
set_target_properties(glm::glm PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                          ${CMAKE_BINARY_DIR}/glm-include)
