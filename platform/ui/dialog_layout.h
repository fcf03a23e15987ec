#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The dialog kit's layout tables: each window's layout, once, for every view
// that draws it (Qt, Win32). Positions and sizes are in twips; a control
// inside a frame is placed relative to that frame. The tables themselves live
// with their forms.
namespace vt::ui::layout {

enum class Kind {
  Frame,             // a frame without caption
  Label,             // one line of text
  CheckList,         // a list with a check box in front of every entry
  Button,            // a command button
  NumberBox,         // a one-line text box with centred text
  Rectangle,         // an outline
  RoundedRectangle,  // an outline with rounded corners
  Picture,           // an image
};

struct Font {
  const char* family = nullptr;  // nullptr: the window's font
  double points = 0;
  bool bold = false;
};

struct Control {
  const char* name;
  Kind kind;
  const char* text;      // "" when the form sets it (per dialog, or at load)
  const char* tool_tip;  // "" for none
  int left;
  int top;
  int width;
  int height;
  const char* parent = nullptr;  // the frame it lies in; nullptr: the window
  Font font = {};
  bool pointing_hand = false;
};

struct Window {
  int width;  // the client area
  int height;
  Font font;  // the window's own, for controls that name none
  std::span<const Control> controls;
  std::span<const char* const> tab_order;  // the focus starts on the first
};

// The control of that name; throws std::out_of_range when the window has none.
inline const Control& Find(const Window& window, std::string_view name) {
  for (const Control& control : window.controls) {
    if (name == control.name) return control;
  }
  throw std::out_of_range("the layout has no control " + std::string(name));
}

// The screen has 15 twips a pixel (96 dots an inch).
constexpr int TwipsToPixels(int twips) { return (twips + 7) / 15; }

}  // namespace vt::ui::layout
