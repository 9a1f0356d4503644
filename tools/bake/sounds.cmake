# Bakes the sound effects and music from sounds/ into sound/ and music/ of the data folder:
# our own synthesiser (tools/synth) renders each file from its recipe or score.
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/synth ${CMAKE_BINARY_DIR}/tools/synth)

set(PELMARO_SOUND_DIR ${PELMARO_GAME_DIR}/sound)
set(PELMARO_MUSIC_DIR ${PELMARO_GAME_DIR}/music)
file(MAKE_DIRECTORY ${PELMARO_SOUND_DIR} ${PELMARO_MUSIC_DIR})
set(PELMARO_EFFECTS ${CMAKE_SOURCE_DIR}/sounds/effects.txt)

set(PELMARO_SOUND_FILES)
foreach(number 01 02 03 04 05 06 07 08 09 10)
  set(out ${PELMARO_SOUND_DIR}/${number}.wav)
  add_custom_command(OUTPUT ${out}
    COMMAND pelmaro_synth effect ${PELMARO_EFFECTS} ${number} ${out}
    DEPENDS pelmaro_synth ${PELMARO_EFFECTS}
    COMMENT "Synthesising sound/${number}.wav" VERBATIM)
  list(APPEND PELMARO_SOUND_FILES ${out})
endforeach()

foreach(track 0 1 2 3)
  set(score ${CMAKE_SOURCE_DIR}/sounds/music/track${track}.txt)
  set(out ${PELMARO_MUSIC_DIR}/track${track}.ogg)
  add_custom_command(OUTPUT ${out}
    COMMAND pelmaro_synth music ${score} ${out}
    DEPENDS pelmaro_synth ${score}
    COMMENT "Rendering music/track${track}.ogg" VERBATIM)
  list(APPEND PELMARO_SOUND_FILES ${out})
endforeach()

add_custom_target(bake_sounds DEPENDS ${PELMARO_SOUND_FILES})
add_dependencies(bake bake_sounds)
