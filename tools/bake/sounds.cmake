# Bakes the sound effects and music from sounds/ into sound/ and music/ of the data folder.
add_custom_target(bake_sounds)
add_dependencies(bake bake_sounds)
