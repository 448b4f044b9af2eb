// GDAL opened on demand: tcmap starts without it and says plainly when it
// cannot be had.
#include "app/gdal_on_demand.h"

#include <gtest/gtest.h>

#include <string>

#include "support/external_tool.h"

namespace {

using tcmap::testing::runTool;
using tcmap::testing::toolInstalled;

TEST(GdalOnDemand, ALibraryThatIsNotThereOrIsNotGdalIsNamedWithTheReason) {
    const std::string missing = tcmap::gdalLibraryProblem("libtcmap-no-such-gdal.so.7");
    EXPECT_NE(missing.find("libtcmap-no-such-gdal.so.7"), std::string::npos) << missing;
    EXPECT_NE(missing.find("cannot be loaded"), std::string::npos) << missing;
    EXPECT_NE(missing.find("libgdal32"), std::string::npos) << missing;

    // zlib is always there and has none of GDAL's functions.
    const std::string notGdal = tcmap::gdalLibraryProblem("libz.so.1");
    EXPECT_EQ(notGdal, "libz.so.1 has no GDALAllRegister");
}

TEST(GdalOnDemand, TheInstalledGdalHasEveryFunctionTheWriterCalls) {
    EXPECT_EQ(tcmap::openGdalOnDemand(), "");
}

// Linked, libgdal and its ~95 libraries cost every run more than a warm map
// takes to draw; the executable must not name it.
TEST(GdalOnDemand, TheExecutableIsNotLinkedToGdal) {
    if (!toolInstalled("readelf")) GTEST_SKIP() << "readelf (binutils) is not installed";
    const auto run = runTool(std::string("readelf -d ") + TCMAP_EXECUTABLE);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_NE(run.output.find("(NEEDED)"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("libgdal"), std::string::npos) << run.output;
}

}  // namespace
