# Bakes the game's pictures from art/ into bmp/ of the data folder.
add_custom_target(bake_pictures)
add_dependencies(bake bake_pictures)
