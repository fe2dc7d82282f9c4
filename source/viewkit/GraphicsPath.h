#pragma once
#include "viewkit/BaseObject.h"
#include "viewkit/Geometry.h"
#include <vector>

typedef struct _cairo cairo_t;

namespace viewkit {

// A recorded outline, replayed onto a cairo context when drawn.
// Angles are in degrees, 0 = +x, 90 = down.
class CGraphicsPath : public CBaseObject {
public:
    void addRect(const CRect& r);
    void addRoundRect(const CRect& r, CCoord radius);
    void addEllipse(const CRect& r);
    void addArc(const CRect& r, double startAngle, double endAngle, bool clockwise);
    void beginSubpath(const CPoint& p);
    void addLine(const CPoint& p);
    void closeSubpath();
    bool isEmpty() const { return elements.empty(); }

    // Replays the outline as the current cairo path.
    void apply(cairo_t* cr) const;

private:
    enum class Op { Move, Line, Close, Arc, Ellipse };
    struct Element {
        Op op;
        CRect rect;
        double a1 = 0, a2 = 0;
        bool clockwise = true;
    };
    std::vector<Element> elements;
};

} // namespace viewkit
