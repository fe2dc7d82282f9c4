#pragma once
// The view kit: a small GUI toolkit with the class names and behaviour of the
// parts of VSTGUI 4 our editor uses, drawn with cairo, windowed through pugl.
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
//   OffscreenImage                   render a frame to memory / PNG without a display
#include "AnimKnob.h"
#include "BaseObject.h"
#include "Bitmap.h"
#include "Color.h"
#include "Control.h"
#include "DrawContext.h"
#include "DrawMethods.h"
#include "Enums.h"
#include "Font.h"
#include "Frame.h"
#include "Geometry.h"
#include "Gradient.h"
#include "GraphicsPath.h"
#include "MenuOverlay.h"
#include "Offscreen.h"
#include "OptionMenu.h"
#include "ParamDisplay.h"
#include "RockerSwitch.h"
#include "RunLoop.h"
#include "Slider.h"
#include "TabView.h"
#include "TextEdit.h"
#include "Timer.h"
#include "View.h"
#include "ViewContainer.h"
#include "Vst3RunLoop.h"
