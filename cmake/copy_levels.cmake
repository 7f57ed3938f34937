# Copies every levels/<name>/level.txt into the run directory (tile sets are drawn by the art tool).
file(GLOB level_files RELATIVE ${SRC} ${SRC}/*/level.txt)
foreach(f ${level_files})
  get_filename_component(d ${f} DIRECTORY)
  file(MAKE_DIRECTORY ${DST}/${d})
  configure_file(${SRC}/${f} ${DST}/${f} COPYONLY)
endforeach()
