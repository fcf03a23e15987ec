#pragma once

#include "platform/ui/dialog_layout.h"

// The layouts of the library's windows, in the dialog kit's tables.
namespace vt::maintenance::layout {

using ui::layout::Control;
using ui::layout::Find;
using ui::layout::Font;
using ui::layout::Kind;
using ui::layout::TwipsToPixels;
using ui::layout::Window;

// frmUpdateDictionary and frmChangeDevLang (the same controls).
const Window& PictureSelection();
// frmSplash.
const Window& Splash();

}  // namespace vt::maintenance::layout
