# Lays out the SD-card folder in STAGE/rampartica from the run directory RUN:
# what the game reads (img/, the font strips, levels/ with the drawn tile
# sets), the game GAME stripped with STRIP, and the files from DIST.
set(out ${STAGE}/rampartica)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${out})
file(COPY ${RUN}/img DESTINATION ${out})
file(COPY ${RUN}/letters.bmp ${RUN}/letters_black.bmp DESTINATION ${out})
file(COPY ${RUN}/levels DESTINATION ${out})
file(COPY ${DIST}/ DESTINATION ${out})
if(STRIP)
  execute_process(COMMAND ${STRIP} -o ${out}/rampartica ${GAME} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${STRIP} could not strip ${GAME}")
  endif()
else()
  file(COPY ${GAME} DESTINATION ${out})
endif()
