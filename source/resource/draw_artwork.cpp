// Draws the editor's bitmaps into the folder given as the only argument.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "editor/layout/EditorGeometry.h"
#include "viewkit/Bitmap.h"
#include "resource/artwork/Artwork.h"
#include "product/PluginParameterTable.h"

namespace {

using vexbit::FrameRect;

// At `scale` pixels per unit (the high-resolution versions), from the same drawing.
bool writeImage(const std::string& path, double scale, int width, int height,
                const std::function<void(cairo_t*)>& paint)
{
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil(width * scale)), static_cast<int>(std::ceil(height * scale)));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                    cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok) std::fprintf(stderr, "draw_artwork: cannot write %s\n", path.c_str());
    return ok;
}

// Frames stacked top to bottom, each drawn with its own origin.
void paintStrip(cairo_t* cr, int frames, int frameHeight, const std::function<void(cairo_t*, int)>& paintFrame)
{
    for (int i = 0; i < frames; ++i) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, i * frameHeight, frameHeight * 4, frameHeight);
        cairo_clip(cr);
        cairo_translate(cr, 0, i * frameHeight);
        paintFrame(cr, i);
        cairo_restore(cr);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    using namespace vexbit;
    ParameterTable parameters;
    buildPluginParameterTable(parameters);

    // Every bitmap at one pixel per unit and at each higher resolution the editor may need.
    bool ok = true;
    const auto writeAllResolutions = [&](std::string_view name, int width, int height,
                                         const std::function<void(cairo_t*)>& paint) {
        ok = writeImage(dir + std::string(name), 1.0, width, height, paint) && ok;
        for (const double scale : viewkit::kBitmapResolutions)
            ok = writeImage(dir + viewkit::scaledResourceName(name, scale), scale, width, height, paint) && ok;
    };

    writeAllResolutions(kBackgroundResource, kBackgroundWidth, kBackgroundHeight,
                        [&](cairo_t* cr) { art::drawBackground(cr, art::ShufflerPageArt::NoteRates, parameters); });

    // The simple page is cut from a window drawn with that page's art, so panel lines continue.
    const FrameRect page = kShufflerPageRect;
    writeAllResolutions(kShufflerPageResource, page.w, page.h, [&](cairo_t* cr) {
        cairo_translate(cr, -page.x, -page.y);
        art::drawBackground(cr, art::ShufflerPageArt::SimpleMode, parameters);
    });

    writeAllResolutions(kKnobResource, kKnobSize, kKnobSize * kKnobFrames, [](cairo_t* cr) {
        paintStrip(cr, kKnobFrames, kKnobSize, [](cairo_t* c, int i) { art::drawKnobFrame(c, i, kKnobFrames); });
    });

    writeAllResolutions(kRockerResource, kRockerSize, kRockerSize * kRockerFrames, [](cairo_t* cr) {
        paintStrip(cr, kRockerFrames, kRockerSize, [](cairo_t* c, int i) { art::drawRockerFrame(c, i); });
    });

    // Lets leak checkers see only what this program itself failed to free.
    cairo_debug_reset_static_data();
    FcFini();
    return ok ? 0 : 1;
}
