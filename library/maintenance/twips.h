#pragma once

namespace vt::maintenance {

// The layouts are in twips; the screen has 15 twips a pixel (96 dots an inch).
constexpr int TwipsToPixels(int twips) { return (twips + 7) / 15; }

}  // namespace vt::maintenance
