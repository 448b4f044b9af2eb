# Copies the run-folder data (language files, grid, fonts, maps) beside the
# executable. Settings.ini and Language.ini hold the user's choices, so they are
# copied only when the run folder has none yet.
file(MAKE_DIRECTORY ${DST})
file(GLOB_RECURSE entries RELATIVE ${SRC} ${SRC}/*)
foreach(entry ${entries})
  get_filename_component(name ${entry} NAME)
  if(name STREQUAL "Settings.ini" OR name STREQUAL "Language.ini")
    if(NOT EXISTS ${DST}/${entry})
      configure_file(${SRC}/${entry} ${DST}/${entry} COPYONLY)
    endif()
  else()
    get_filename_component(dir ${DST}/${entry} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY_FILE ${SRC}/${entry} ${DST}/${entry} ONLY_IF_DIFFERENT)
  endif()
endforeach()
