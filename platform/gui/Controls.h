#pragma once
// The control model of the layer, for everyone who adds a control class:
//
// Ownership. A TComponent frees the components it owns; a TWinControl frees its children.
// A control freed on its own leaves its owner's and its parent's lists first, so an owner and a
// parent may differ (a splitter owned by one panel and placed on another) and nothing is freed
// twice. Each control owns exactly one QWidget, created by its constructor as a
// HostWidget<QtClass> linked back to the control. The Qt parent chain mirrors Parent only:
// a child's widget lives on the parent's ChildHost(). Because parents free their children
// first, Qt never deletes a layer widget behind the layer's back.
//
// Geometry. Left/Top/Width/Height are stored in the control, in the parent's client
// coordinates, and pushed to Qt (ApplyGeometry); Qt's own sizes never flow back, except for
// forms resized by the window system. No QLayout is used anywhere. TWinControl runs the class
// library's alignment: edge-aligned children stack in insertion order (the later nearer the
// centre), alClient children take the rest, BorderWidth (and NonClientMargins of subclasses)
// insets the client area. Every size change, of hidden controls too, first realigns the
// control's own children and then fires OnResize, synchronously.
//
// Z-order. Graphic controls (TGraphicControl) form the lower band of their parent, windowed
// controls (TWinControl) the upper one; BringToFront and SendToBack move a control only inside
// its own band.
//
// Events. Qt events reach TControl::WidgetEvent before the Qt class sees them; the control
// decides when the Qt handling runs. Mouse positions are client coordinates; mouse tracking is
// always on. Every handler runs through FireEvent (Guard.h), so an exception goes to
// Application->HandleException and never unwinds through Qt.
//
// Texts. Captions, hints and titles are 8-bit strings; they cross into Qt only through
// ToQString/FromQString (TextBoundary.h), with the control's CodePage. A control that keeps
// decoded texts in its widget decodes them anew in TextChanged, which also runs for a change of
// its code page or, when it follows the display (CodePage 0), of the display code page.
#include "Component.h"
#include "Control.h"
#include "Events.h"
#include "WinControl.h"

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
#include "Mouse.h"
