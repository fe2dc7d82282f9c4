#pragma once
// The view kit: a small GUI toolkit with the class names and behaviour of the
// parts of VSTGUI 4 our editor uses, drawn with cairo, windowed through pugl on
// X11 and through a plain child window on Windows (PlatformWindow.h).
//
//   CPoint, CRect, CColor            geometry and colour (Geometry.h, Color.h)
//   CBaseObject                      reference counting: remember / forget
//   CFontDesc, kNormalFont           fonts (Arial 12 by default)
//   CBitmap, setResourceLookup       PNGs embedded in the module, by name
//   CGradient, CGraphicsPath         two-stop fills, rounded rectangles
//   CDrawContext                     drawing on cairo
//   CDrawMethods, measureStringWidth icon-and-title drawing, text width
//   CView, CViewContainer, CFrame    the view tree, input routing, the window
//   VSTGUIEditorInterface            beginEdit / endEdit / knob mode of the editor
//   CControl, IControlListener       values, tags, listener, edit gestures
//   CParamDisplay, CTextLabel        text on a framed background
//   CTextEdit                        in-place text entry
//   COptionMenu (+ MenuOverlay)      popup lists drawn inside the frame
//   CAnimKnob                        film-strip knob
//   CHorizontalSlider                slider with frame / back / value bar
//   CRockerSwitch                    spring-back three-position switch
//   CTabView                         pages, one shown at a time
//   CVSTGUITimer                     repeating UI timer
//   IRunLoop, Vst3RunLoop            the host's event loop (X11 windows need it)
//   FrameImage                       the memory image a frame's window shows
//   OffscreenImage                   render a frame to memory / PNG without a display
#include "viewkit/AnimKnob.h"
#include "viewkit/BaseObject.h"
#include "viewkit/Bitmap.h"
#include "viewkit/Color.h"
#include "viewkit/Control.h"
#include "viewkit/DrawContext.h"
#include "viewkit/DrawMethods.h"
#include "viewkit/Enums.h"
#include "viewkit/Font.h"
#include "viewkit/Frame.h"
#include "viewkit/Geometry.h"
#include "viewkit/Gradient.h"
#include "viewkit/GraphicsPath.h"
#include "viewkit/MenuOverlay.h"
#include "viewkit/Offscreen.h"
#include "viewkit/OptionMenu.h"
#include "viewkit/ParamDisplay.h"
#include "viewkit/RockerSwitch.h"
#include "viewkit/RunLoop.h"
#include "viewkit/Slider.h"
#include "viewkit/TabView.h"
#include "viewkit/TextEdit.h"
#include "viewkit/Timer.h"
#include "viewkit/View.h"
#include "viewkit/ViewContainer.h"
#include "viewkit/Vst3RunLoop.h"
