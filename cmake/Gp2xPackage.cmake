# The SD-card package of a console build: `cmake --build <dir> --target gp2x-zip`
# makes <dir>/rampartica-gp2x.zip holding one folder, rampartica/, with the
# game (stripped), its launcher for the console's menu, a short text for the
# card, the pictures, the font strips and the levels with their tile sets.
if(NOT RAMPARTICA_PLATFORM STREQUAL "gp2x")
  return()
endif()

set(RAMPARTICA_GP2X_STAGE ${PROJECT_BINARY_DIR}/gp2x-stage)
set(RAMPARTICA_GP2X_ZIP ${PROJECT_BINARY_DIR}/rampartica-gp2x.zip)
add_custom_target(gp2x-zip
  COMMAND ${CMAKE_COMMAND} -DRUN=${RAMPARTICA_RUN_DIR} -DSTAGE=${RAMPARTICA_GP2X_STAGE}
          -DGAME=$<TARGET_FILE:rampartica> -DSTRIP=${CMAKE_STRIP} -DDIST=${PROJECT_SOURCE_DIR}/dist/gp2x
          -P ${PROJECT_SOURCE_DIR}/cmake/stage_gp2x.cmake
  COMMAND ${CMAKE_COMMAND} -E rm -f ${RAMPARTICA_GP2X_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${RAMPARTICA_GP2X_STAGE}
          ${CMAKE_COMMAND} -E tar cf ${RAMPARTICA_GP2X_ZIP} --format=zip rampartica
  DEPENDS rampartica game-art game-levels
  COMMENT "Packing ${RAMPARTICA_GP2X_ZIP}"
  VERBATIM)
