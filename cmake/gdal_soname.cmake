# TCMAP_GDAL_SONAME: the name tcmap opens GDAL by at run time (libgdal.so.32
# on Debian 12), and TCMAP_GDAL_PACKAGE: the Debian package that holds it,
# which the .deb must depend on since shlibdeps sees no link to it.
get_target_property(gdal_configurations GDAL::GDAL IMPORTED_CONFIGURATIONS)
set(TCMAP_GDAL_SONAME "")
set(gdal_location "")
foreach(configuration IN LISTS gdal_configurations)
  get_target_property(soname GDAL::GDAL IMPORTED_SONAME_${configuration})
  get_target_property(location GDAL::GDAL IMPORTED_LOCATION_${configuration})
  if(soname AND NOT TCMAP_GDAL_SONAME)
    set(TCMAP_GDAL_SONAME ${soname})
    set(gdal_location ${location})
  endif()
endforeach()
if(NOT TCMAP_GDAL_SONAME)
  message(FATAL_ERROR "GDAL's library name (SONAME) was not found in its CMake package")
endif()
message(STATUS "GIS outputs open ${TCMAP_GDAL_SONAME} when first written")

set(TCMAP_GDAL_PACKAGE "")
find_program(DPKG_QUERY dpkg-query)
if(DPKG_QUERY AND gdal_location)
  file(REAL_PATH ${gdal_location} gdal_file)
  execute_process(COMMAND ${DPKG_QUERY} -S ${gdal_file}
                  OUTPUT_VARIABLE owner ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(owner MATCHES "^([^:]+)")
    set(TCMAP_GDAL_PACKAGE ${CMAKE_MATCH_1})
  endif()
endif()
