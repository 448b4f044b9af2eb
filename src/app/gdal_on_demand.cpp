#include "app/gdal_on_demand.h"

#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <dlfcn.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <cstdio>
#include <cstdlib>

#ifndef TCMAP_GDAL_SONAME
#define TCMAP_GDAL_SONAME "libgdal.so"
#endif

// Every GDAL function the GIS writer calls: return type, name, parameters,
// arguments. A function missing here is a link error, not a silent fault.
#define TCMAP_GDAL_FUNCTIONS(X)                                                                   \
    X(void, GDALAllRegister, (void), ())                                                          \
    X(GDALDriverH, GDALGetDriverByName, (const char* name), (name))                               \
    X(GDALDatasetH, GDALCreate,                                                                   \
      (GDALDriverH driver, const char* name, int x, int y, int bands, GDALDataType type,          \
       CSLConstList options),                                                                     \
      (driver, name, x, y, bands, type, options))                                                 \
    X(void, GDALClose, (GDALDatasetH dataset), (dataset))                                         \
    X(OGRLayerH, GDALDatasetCreateLayer,                                                          \
      (GDALDatasetH dataset, const char* name, OGRSpatialReferenceH srs, OGRwkbGeometryType type, \
       CSLConstList options),                                                                     \
      (dataset, name, srs, type, options))                                                        \
    X(OGRErr, GDALDatasetStartTransaction, (GDALDatasetH dataset, int force), (dataset, force))   \
    X(OGRErr, GDALDatasetCommitTransaction, (GDALDatasetH dataset), (dataset))                    \
    X(OGRErr, GDALDatasetRollbackTransaction, (GDALDatasetH dataset), (dataset))                  \
    X(OGRErr, OGR_L_StartTransaction, (OGRLayerH layer), (layer))                                 \
    X(OGRErr, OGR_L_CommitTransaction, (OGRLayerH layer), (layer))                                \
    X(OGRErr, OGR_L_RollbackTransaction, (OGRLayerH layer), (layer))                              \
    X(OGRFeatureDefnH, OGR_L_GetLayerDefn, (OGRLayerH layer), (layer))                            \
    X(OGRErr, OGR_L_CreateField, (OGRLayerH layer, OGRFieldDefnH field, int approximate),         \
      (layer, field, approximate))                                                                \
    X(OGRErr, OGR_L_CreateFeature, (OGRLayerH layer, OGRFeatureH feature), (layer, feature))      \
    X(OGRFieldDefnH, OGR_Fld_Create, (const char* name, OGRFieldType type), (name, type))         \
    X(void, OGR_Fld_Destroy, (OGRFieldDefnH field), (field))                                      \
    X(OGRFeatureH, OGR_F_Create, (OGRFeatureDefnH definition), (definition))                      \
    X(void, OGR_F_Destroy, (OGRFeatureH feature), (feature))                                      \
    X(OGRErr, OGR_F_SetGeometryDirectly, (OGRFeatureH feature, OGRGeometryH geometry),            \
      (feature, geometry))                                                                        \
    X(void, OGR_F_SetFieldString, (OGRFeatureH feature, int index, const char* value),            \
      (feature, index, value))                                                                    \
    X(void, OGR_F_SetFieldDouble, (OGRFeatureH feature, int index, double value),                 \
      (feature, index, value))                                                                    \
    X(void, OGR_F_SetFieldInteger, (OGRFeatureH feature, int index, int value),                   \
      (feature, index, value))                                                                    \
    X(void, OGR_F_SetFieldInteger64, (OGRFeatureH feature, int index, GIntBig value),             \
      (feature, index, value))                                                                    \
    X(void, OGR_F_SetStyleString, (OGRFeatureH feature, const char* style), (feature, style))     \
    X(OGRGeometryH, OGR_G_CreateGeometry, (OGRwkbGeometryType type), (type))                      \
    X(void, OGR_G_DestroyGeometry, (OGRGeometryH geometry), (geometry))                           \
    X(OGRErr, OGR_G_AddGeometryDirectly, (OGRGeometryH to, OGRGeometryH part), (to, part))        \
    X(void, OGR_G_AddPoint_2D, (OGRGeometryH geometry, double x, double y), (geometry, x, y))     \
    X(void, OGR_G_SetPoint_2D, (OGRGeometryH geometry, int index, double x, double y),            \
      (geometry, index, x, y))                                                                    \
    X(void, OGR_G_SetPointCount, (OGRGeometryH geometry, int count), (geometry, count))           \
    X(OGRSpatialReferenceH, OSRNewSpatialReference, (const char* wkt), (wkt))                     \
    X(void, OSRRelease, (OGRSpatialReferenceH srs), (srs))                                        \
    X(OGRErr, OSRSetWellKnownGeogCS, (OGRSpatialReferenceH srs, const char* name), (srs, name))   \
    X(void, OSRSetAxisMappingStrategy, (OGRSpatialReferenceH srs, OSRAxisMappingStrategy how),    \
      (srs, how))                                                                                 \
    X(void, CPLQuietErrorHandler, (CPLErr type, CPLErrorNum number, const char* message),         \
      (type, number, message))                                                                    \
    X(void, CPLPushErrorHandler, (CPLErrorHandler handler), (handler))                            \
    X(void, CPLPopErrorHandler, (void), ())                                                       \
    X(void, CPLErrorReset, (void), ())                                                            \
    X(CPLErr, CPLGetLastErrorType, (void), ())                                                    \
    X(const char*, CPLGetLastErrorMsg, (void), ())                                                \
    X(void, CPLSetConfigOption, (const char* key, const char* value), (key, value))               \
    X(const char*, CPLGetThreadLocalConfigOption, (const char* key, const char* fallback),        \
      (key, fallback))                                                                            \
    X(void, CPLSetThreadLocalConfigOption, (const char* key, const char* value), (key, value))    \
    X(int, GDALDatasetTestCapability, (GDALDatasetH dataset, const char* capability),             \
      (dataset, capability))                                                                      \
    X(char**, CSLSetNameValue, (char** list, const char* name, const char* value),                \
      (list, name, value))                                                                        \
    X(void, CSLDestroy, (char** list), (list))                                                    \
    X(GByte*, VSIGetMemFileBuffer, (const char* name, vsi_l_offset* length, int unlinkAndSeize),  \
      (name, length, unlinkAndSeize))                                                             \
    X(void, VSIFree, (void* block), (block))

namespace tcmap {

namespace {

struct GdalFunctions {
#define TCMAP_GDAL_POINTER(ret, name, params, args) decltype(&::name) name = nullptr;
    TCMAP_GDAL_FUNCTIONS(TCMAP_GDAL_POINTER)
#undef TCMAP_GDAL_POINTER
};

// Opens `soname` and fills `functions`; "" on success.
std::string resolve(const char* soname, GdalFunctions& functions) {
    void* library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        return std::string("GDAL (") + soname +
               ") cannot be loaded: " + (reason != nullptr ? reason : "no reason given") +
               "; install GDAL (Debian: libgdal32) to write GIS files";
    }
#define TCMAP_GDAL_RESOLVE(ret, name, params, args)                                \
    functions.name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name)); \
    if (functions.name == nullptr) return std::string(soname) + " has no " #name;
    TCMAP_GDAL_FUNCTIONS(TCMAP_GDAL_RESOLVE)
#undef TCMAP_GDAL_RESOLVE
    return {};
}

struct LoadedGdal {
    GdalFunctions functions;
    std::string problem;
};

const LoadedGdal& loadedGdal() {
    static const LoadedGdal loaded = [] {
        LoadedGdal result;
        result.problem = resolve(TCMAP_GDAL_SONAME, result.functions);
        return result;
    }();
    return loaded;
}

// The writer asks openGdalOnDemand() first, so a forwarder never runs without
// the library; if one did, stopping loudly beats calling a null pointer.
const GdalFunctions& gdal() {
    const LoadedGdal& loaded = loadedGdal();
    if (!loaded.problem.empty()) {
        std::fprintf(stderr, "tcmap: a GDAL function was called without GDAL: %s\n",
                     loaded.problem.c_str());
        std::abort();
    }
    return loaded.functions;
}

}  // namespace

std::string openGdalOnDemand() {
    return loadedGdal().problem;
}

std::string gdalLibraryProblem(const char* soname) {
    GdalFunctions functions;
    return resolve(soname, functions);
}

}  // namespace tcmap

// The forwarders, with GDAL's own names and C linkage, so the writer's calls
// (and the headers' declarations, which the compiler checks them against) stay
// as they are.
#define TCMAP_GDAL_FORWARDER(ret, name, params, args) \
    extern "C" ret name params {                      \
        return tcmap::gdal().name args;               \
    }
TCMAP_GDAL_FUNCTIONS(TCMAP_GDAL_FORWARDER)
#undef TCMAP_GDAL_FORWARDER
