// GDAL is opened when the first GIS file is written, not when tcmap starts.
//
// Linked the usual way, libgdal and the ~95 libraries it pulls in cost more
// to load and relocate than a whole warm map takes to draw, on every run,
// while few runs write a GIS file. So tcmap is not linked to libgdal: the GDAL
// functions the GIS writer calls are defined in gdal_on_demand.cpp as small
// forwarders to the library opened with dlopen.
#pragma once

#include <string>

namespace tcmap {

// Opens GDAL (once; later calls return the first answer) and resolves every
// function the writer uses. "" when GDAL is ready, else why it cannot be used,
// in one line naming the library.
std::string openGdalOnDemand();

// Whether the library `soname` can be opened and has every function the
// writer uses; "" if so, else the reason. Leaves the library loaded or not as
// dlopen does, and does not change what openGdalOnDemand() answers.
std::string gdalLibraryProblem(const char* soname);

}  // namespace tcmap
