# Run by CPack on the staged tree before it packs it: Debian keeps a game's
# programs in /usr/games, so the game and its tools move there from
# /usr/bin. The data stays in /usr/share, which the game still finds as
# ../share beside its folder. make install keeps the usual bin/.
set(usr "${CPACK_TEMPORARY_DIRECTORY}/usr")
file(MAKE_DIRECTORY "${usr}/games")
file(GLOB programs "${usr}/bin/*")
foreach(program IN LISTS programs)
  get_filename_component(name "${program}" NAME)
  file(RENAME "${program}" "${usr}/games/${name}")
endforeach()
file(REMOVE_RECURSE "${usr}/bin")
