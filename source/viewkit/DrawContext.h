#pragma once
#include "viewkit/Color.h"
#include "viewkit/Enums.h"
#include "viewkit/Font.h"
#include "viewkit/Geometry.h"
#include <string_view>
#include <vector>

typedef struct _cairo cairo_t;

namespace viewkit {

class CGraphicsPath;
class CGradient;

// Drawing onto a cairo context. Coordinates are those of the view being drawn;
// containers translate the context for their children.
class CDrawContext {
public:
    enum PathDrawMode { kPathFilled, kPathFilledEvenOdd, kPathStroked };

    // `cr` stays owned by the caller. `surfaceRect` is the whole drawable area.
    // `scaleFactor` is how many device pixels one unit covers (the surface's
    // device scale, which maps our units to its pixels).
    CDrawContext(cairo_t* cr, const CRect& surfaceRect, double scaleFactor = 1.0);
    ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    cairo_t* getCairo() const { return cr; }

    void setFillColor(const CColor& c) { state.fillColor = c; }
    void setFrameColor(const CColor& c) { state.frameColor = c; }
    void setFontColor(const CColor& c) { state.fontColor = c; }
    const CColor& getFontColor() const { return state.fontColor; }
    void setFont(CFontRef font);
    CFontRef getFont() const { return state.font; }
    void setLineWidth(CCoord w) { state.lineWidth = w; }
    void setLineStyle(CLineStyle s) { state.lineStyle = s; }
    void setDrawMode(CDrawMode m) { state.drawMode = m; }
    float getGlobalAlpha() const { return state.alpha; }
    double getScaleFactor() const { return scaleFactor; }
    // One device pixel.
    CCoord getHairlineSize() const { return 1.0 / scaleFactor; }

    // Clip rectangles are in the current (translated) coordinates; a new clip is
    // intersected with the current one.
    void setClipRect(const CRect& r);
    CRect getClipRect() const;
    void saveGlobalState();
    void restoreGlobalState();
    // Moves the origin for children; undone by restoreGlobalState.
    void translate(CCoord dx, CCoord dy);

    void drawLine(const CPoint& p1, const CPoint& p2);
    void drawRect(const CRect& r, CDrawStyle style = kDrawStroked);
    void drawEllipse(const CRect& r, CDrawStyle style = kDrawStroked);
    void drawString(std::string_view text, const CRect& r, CHoriTxtAlign align = kCenterText, bool antialias = true);
    CCoord getStringWidth(std::string_view text);

    CGraphicsPath* createGraphicsPath();
    CGraphicsPath* createRoundRectGraphicsPath(const CRect& r, CCoord radius);
    void drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode = kPathFilled);
    void fillLinearGradient(CGraphicsPath* path, const CGradient& gradient, const CPoint& start, const CPoint& end,
                            bool evenOdd = false);

private:
    struct State {
        CColor fillColor = kWhiteCColor;
        CColor frameColor = kBlackCColor;
        CColor fontColor = kBlackCColor;
        CFontRef font = kNormalFont;
        CCoord lineWidth = 1;
        CLineStyle lineStyle = kLineSolid;
        CDrawMode drawMode = kAliasing;
        float alpha = 1.f;
        CRect clip;
        CPoint origin;
    };
    void setSourceColor(const CColor& c);
    void applyLineSettings();
    void selectFont();

    cairo_t* cr;
    double scaleFactor;
    State state;
    std::vector<State> stack;
};

} // namespace viewkit
