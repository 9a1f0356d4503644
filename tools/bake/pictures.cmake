# Bakes the game's pictures from art/ into bmp/ of the data folder, one step per art module, so
# only the modules whose sources changed are drawn again (the driver's depfile names the helper
# modules each one imports).
set(PELMARO_ART_PYTHON /usr/bin/python3)
set(PELMARO_PICTURE_DRIVER ${CMAKE_SOURCE_DIR}/tools/bake/bake_pictures.py)
set(PELMARO_ART_KIT ${CMAKE_SOURCE_DIR}/art/kit.py)

# A new art module is noticed at the next build; the driver names the modules it bakes.
file(GLOB PELMARO_ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/art/*.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PELMARO_PICTURE_DRIVER})
execute_process(
  COMMAND ${PELMARO_ART_PYTHON} ${PELMARO_PICTURE_DRIVER} --list
  OUTPUT_VARIABLE PELMARO_ART_MODULES
  RESULT_VARIABLE PELMARO_ART_LIST_RESULT
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT PELMARO_ART_LIST_RESULT EQUAL 0)
  message(FATAL_ERROR "The picture bake driver cannot run: ${PELMARO_ART_PYTHON} ${PELMARO_PICTURE_DRIVER}")
endif()
string(REPLACE "\n" ";" PELMARO_ART_MODULES "${PELMARO_ART_MODULES}")

set(PELMARO_PICTURE_STAMPS)
foreach(module ${PELMARO_ART_MODULES})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/pictures/${module}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/pictures
    COMMAND ${PELMARO_ART_PYTHON} ${PELMARO_PICTURE_DRIVER} --module ${module}
            --out ${PELMARO_GAME_DIR}/bmp --stamp ${stamp} --depfile ${stamp}.d
    DEPENDS ${CMAKE_SOURCE_DIR}/art/${module}.py ${PELMARO_ART_KIT} ${PELMARO_PICTURE_DRIVER}
    DEPFILE ${stamp}.d
    COMMENT "Baking the pictures of art/${module}.py"
    VERBATIM)
  list(APPEND PELMARO_PICTURE_STAMPS ${stamp})
endforeach()

add_custom_target(bake_pictures DEPENDS ${PELMARO_PICTURE_STAMPS})
add_dependencies(bake bake_pictures)
