// The artwork's high-resolution versions: drawn from the same source at the
// finer size, so a scaled editor is sharp and still shows the same picture.
#include <gtest/gtest.h>

#include "editor/layout/EditorGeometry.h"
#include "resource/EmbeddedResources.h"
#include "viewkit/viewkit.h"

#include <cmath>
#include <cstdlib>
#include <string>

using namespace vexbit;
using namespace viewkit;

namespace {

// One view showing the bitmap, rendered at `scale`.
OffscreenImage renderBitmap(std::string_view name, double scale)
{
    auto* bitmap = new CBitmap(CResourceDescription(std::string(name)));
    auto* frame = new CFrame(CRect(0, 0, bitmap->getWidth(), bitmap->getHeight()), nullptr);
    auto* view = new CView(frame->getViewSize());
    view->setBackground(bitmap);
    bitmap->forget();
    frame->addView(view);
    frame->setScaleFactor(scale);
    OffscreenImage image = OffscreenImage::render(frame);
    frame->forget();
    return image;
}

int difference(const CColor& a, const CColor& b)
{
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue) +
           std::abs(a.alpha - b.alpha);
}

TEST(ScaledArtwork, EachBitmapAtTwiceTheResolutionIsFinerButTheSamePicture)
{
    setResourceLookup([](std::string_view name) { return findEmbeddedResource(name); });
    for (const std::string_view name : {kBackgroundResource, kShufflerPageResource, kKnobResource, kRockerResource}) {
        for (const double scale : kBitmapResolutions)
            EXPECT_FALSE(findEmbeddedResource(scaledResourceName(name, scale)).empty()) << name << " at " << scale;

        const OffscreenImage plain = renderBitmap(name, 1.0);
        const OffscreenImage fine = renderBitmap(name, 2.0);
        ASSERT_GT(plain.width(), 0) << name;
        ASSERT_EQ(fine.width(), 2 * plain.width()) << name;
        ASSERT_EQ(fine.height(), 2 * plain.height()) << name;

        long long total = 0;
        int blocksWithDetail = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const CColor a = fine.pixel(2 * x, 2 * y), b = fine.pixel(2 * x + 1, 2 * y);
                const CColor c = fine.pixel(2 * x, 2 * y + 1), d = fine.pixel(2 * x + 1, 2 * y + 1);
                const CColor mean((a.red + b.red + c.red + d.red) / 4, (a.green + b.green + c.green + d.green) / 4,
                                  (a.blue + b.blue + c.blue + d.blue) / 4, (a.alpha + b.alpha + c.alpha + d.alpha) / 4);
                total += difference(mean, plain.pixel(x, y));
                blocksWithDetail += difference(a, d) > 24 || difference(b, c) > 24;
            }
        }
        const double pixels = static_cast<double>(plain.width()) * plain.height();
        // The same picture: on average a few levels per channel apart (edges fall
        // differently, and glyphs are hinted for their pixel size).
        EXPECT_LT(total / pixels, 16.0) << name;
        // Not a stretched copy: edges run through the 2 x 2 blocks.
        EXPECT_GT(blocksWithDetail / pixels, 0.005) << name;
    }
    setResourceLookup({});
}

} // namespace
