#include "render/canvas/vector_output.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <new>
#include <string>
#include <vector>

#include "base/output_file.h"
#include "render/canvas/cairo_canvas.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/jpeg_codec.h"

namespace tcmap {

namespace {

// Quality of the JPEG a JPEG map's visible part is embedded as.
constexpr int kBackgroundJpegQuality = 92;

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

// The file being made: bytes are kept in memory until the whole file is
// there, and the first byte past the limit stops the writing.
struct StreamTarget {
    std::string content;
    uint64_t bytes = 0;
    uint64_t limit = 0;
    bool tooLarge = false;
    bool failed = false;

    bool ok() const { return !tooLarge && !failed; }
};

cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length) {
    auto* target = static_cast<StreamTarget*>(closure);
    if (!target->ok()) return CAIRO_STATUS_WRITE_ERROR;
    if (target->bytes + length > target->limit) {
        target->tooLarge = true;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    try {
        target->content.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        target->failed = true;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    target->bytes += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* createVectorSurface(VectorFormat format, StreamTarget& target, double width,
                                     double height) {
    if (format == VectorFormat::Svg) {
        cairo_surface_t* surface =
            cairo_svg_surface_create_for_stream(writeChunk, &target, width, height);
        // One SVG user unit per map pixel.
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
        return surface;
    }
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(writeChunk, &target, width, height);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "tcmap");
    return surface;
}

// The background as a Cairo image; for a JPEG map it carries JPEG bytes that
// the file embeds in place of its pixels. `jpeg` must outlive the surface.
cairo_surface_t* backgroundSurface(const DrawingTape& tape, std::vector<uint8_t>& jpeg) {
    const Picture& picture = tape.background();
    if (picture.empty()) return nullptr;
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(picture.pixels())),
        CAIRO_FORMAT_ARGB32, picture.width(), picture.height(), picture.stride());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return image;
    if (!tape.backgroundJpegFile().empty()) {
        jpeg = tape.backgroundJpegFile();
    } else if (tape.backgroundFromJpeg() &&
               encodeJpeg(picture.pixels(), picture.width(), picture.height(), jpeg,
                          kBackgroundJpegQuality) != status::kOk) {
        jpeg.clear();
    }
    if (!jpeg.empty()) {
        cairo_surface_set_mime_data(image, CAIRO_MIME_TYPE_JPEG, jpeg.data(), jpeg.size(), nullptr,
                                    nullptr);
    }
    return image;
}

int32_t drawPage(const DrawingTape& tape, cairo_surface_t* page, StreamTarget& target) {
    std::vector<uint8_t> jpeg;
    cairo_surface_t* background = backgroundSurface(tape, jpeg);
    if (background != nullptr) {
        cairo_t* cr = cairo_create(page);
        cairo_set_source_surface(cr, background, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    CairoCanvas canvas;
    int32_t result = canvas.openSurface(page, tape.width(), tape.height());
    if (result == status::kOk) {
        canvas.setTextLanguage(tape.textLanguage());
        tape.replay(canvas, [&] { return target.ok(); });
        canvas.close();
    }
    // Images and fonts are written when the file is finished: the background
    // must live until then.
    cairo_surface_finish(page);
    if (background != nullptr) cairo_surface_destroy(background);
    return result;
}

}  // namespace

VectorFormat vectorFormatOf(std::string_view path) {
    if (endsWithNoCase(path, ".svg")) return VectorFormat::Svg;
    if (endsWithNoCase(path, ".pdf")) return VectorFormat::Pdf;
    return VectorFormat::None;
}

VectorWriteReport writeVectorMap(const DrawingTape& tape, const std::string& path,
                                 VectorFormat format, uint64_t limit) {
    VectorWriteReport report;
    if (format == VectorFormat::None || tape.width() <= 0 || tape.height() <= 0) {
        report.result = VectorWriteResult::NothingDrawn;
        return report;
    }
    StreamTarget target;
    target.limit = limit;

    cairo_surface_t* page = createVectorSurface(format, target, tape.width(), tape.height());
    report.status = drawPage(tape, page, target);
    const cairo_status_t pageStatus = cairo_surface_status(page);
    cairo_surface_destroy(page);

    report.bytes = target.bytes;
    if (target.tooLarge) {
        report.result = VectorWriteResult::TooLarge;
    } else if (target.ok() && pageStatus == CAIRO_STATUS_SUCCESS && report.status == status::kOk) {
        // The finished file goes out as a picture does: a file replaced in
        // one step, a device or FIFO written through, "-" standard output.
        if (writeOutputFile(path, target.content, &report.writeError)) {
            report.result = VectorWriteResult::Written;
            return report;
        }
        report.status = status::kSystemError;
    } else if (report.status == status::kOk) {
        report.status = target.failed ? status::kSystemError : status::kGenericError;
    }
    return report;
}

}  // namespace tcmap
