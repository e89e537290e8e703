#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "text_id.h"

namespace hashigoro::layout {

// The windows of はしごろう as data: every control's rectangle in twips, its caption (a text of
// the catalogue), font and state at creation, and the colours. Every front end builds its
// windows from these tables, so no rectangle or caption is written twice. Twips: 1440 to the inch,
// 15 to a pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

// Whole pixels for a twip measure, rounded down: the few places that fall between pixels (the
// tally squares at 1419, 3624, ... twips) then sit centred under their lines.
constexpr int Px(int twips) {
    return twips / kTwipsPerPixel;
}

// A rectangle in twips, from the top-left corner of its container's client area.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

enum class ControlKind { CommandButton, Label, Line, PictureBox, MultimediaControl };

// The windows' gothic, "ＭＳ Ｐゴシック", at `points`; 0 points is the toolkit's default font.
struct FontSpec {
    double points = 0;
    bool bold = false;
};

struct Control {
    std::string_view name;  // "Command1", "Label2", ...
    ControlKind kind;
    // A line is drawn along the top edge, from `left` to `left + width`, one pixel high.
    TwipsRect rect;
    TextId caption = TextId::None;
    FontSpec font;
    bool visible = true;
    bool enabled = true;
    bool centred = false;  // a label's text is centred
    int tabIndex = -1;     // -1: takes no focus
};

struct Window {
    TextId caption;
    TwipsRect client;  // its top-left corner is the window's place on the screen
    std::span<const Control> controls;
};

// The gothic that every window font asks for.
inline constexpr std::string_view kGothicFamily = "ＭＳ Ｐゴシック";
inline constexpr double kFontPoints = 11.25;
inline constexpr double kTitlePoints = 15.75;

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kTitleBack{224, 224, 224};
// The ladder's paper where the desktop's own window colour is dark, and the desktop's default
// window colour.
inline constexpr Rgb kLadderPaper{239, 239, 239};
// The two shades of a sunken frame as the desktop draws it on that colour: its upper and left
// edges in shadow, its lower and right edges in light.
inline constexpr Rgb kSunkenShadow{159, 159, 159};
inline constexpr Rgb kSunkenLight{255, 255, 255};

// Form1, the main window, its controls from top to bottom.
inline constexpr std::array kMainControls = {
    Control{"Command3",
            ControlKind::CommandButton,
            {0, 0, 855, 375},
            TextId::QuitButton,
            {kFontPoints},
            true,
            true,
            false,
            205},
    Control{"Label2",
            ControlKind::Label,
            {2640, 0, 4695, 375},
            TextId::Title,
            {kTitlePoints, true},
            true,
            true,
            true,
            206},
    Control{"Command6",
            ControlKind::CommandButton,
            {8160, 0, 855, 375},
            TextId::HelpButton,
            {kFontPoints},
            true,
            true,
            false,
            210},
    Control{"Command4",
            ControlKind::CommandButton,
            {9000, 0, 855, 375},
            TextId::ResetButton,
            {kFontPoints},
            true,
            false,
            false,
            208},
    Control{"Line1", ControlKind::Line, {0, 360, 9840, 0}, TextId::None, {}, true, true, false, -1},
    Control{"MMControl1",
            ControlKind::MultimediaControl,
            {3120, 360, 3540, 330},
            TextId::None,
            {},
            false,
            true,
            false,
            207},
    Control{"Picture1",
            ControlKind::PictureBox,
            {120, 600, 9615, 6855},
            TextId::None,
            {},
            true,
            true,
            false,
            0},
    Control{"Command5",
            ControlKind::CommandButton,
            {1080, 7680, 3375, 615},
            TextId::StopButton,
            {kFontPoints, true},
            true,
            true,
            false,
            209},
    Control{"Command1",
            ControlKind::CommandButton,
            {5400, 7680, 3375, 615},
            TextId::StartButton,
            {kFontPoints, true},
            true,
            true,
            false,
            1},
    Control{"Command2",
            ControlKind::CommandButton,
            {840, 8040, 615, 375},
            TextId::DrawButton,
            {kFontPoints, true},
            false,
            true,
            false,
            3},
    Control{
        "Label1", ControlKind::Label, {120, 8280, 375, 255}, TextId::None, {}, true, true, true, 2},
};

inline constexpr Window kMainWindow{TextId::MainCaption, {2715, 1665, 9870, 8535}, kMainControls};

// The timers' intervals in milliseconds: Timer1 (a rung), Timer2 (a descent step), Timer3 (the
// next trial).
inline constexpr std::array<int, 3> kTimerIntervalMs = {3, 3, 5000};

// Picture1 of the main window, the ladder surface: a sunken border of 30 twips (two pixels)
// around an inner area of 9555 x 6795 twips that shows 13 x 100 board units.
inline constexpr int kLadderBorder = 30;
inline constexpr int kLadderInnerWidth = 9555;
inline constexpr int kLadderInnerHeight = 6795;
inline constexpr double kBoardWidth = 13;
inline constexpr double kBoardHeight = 100;

// The pixel of the ladder surface's inner area on which board point (x, y) lies, rounded to
// the nearest, at 15 twips to the pixel (637 x 453 pixels for 13 x 100 units).
struct Pixel {
    int x = 0;
    int y = 0;
    bool operator==(const Pixel&) const = default;
};
Pixel BoardToPixel(double x, double y);

// Children of Picture1, in twips from its inner area's top-left corner: the red start square
// Picture2 above column 4, and the ten bars o1..o10 of 20 red squares each.
inline constexpr TwipsRect kStartSquare{2889, 480, 135, 135};
inline constexpr int kBars = 10;
inline constexpr int kSquaresPerBar = 20;
inline constexpr int kSquareSize = 135;
inline constexpr std::array<int, kBars> kBarLeft = {1419, 2160, 2880, 3624, 4359,
                                                    5094, 5829, 6564, 7299, 8040};

// Square `index` (1..20, 1 the lowest) of bar o`bar` (1..10). Squares are 120 twips apart and
// 135 high, so neighbours overlap by a pixel and a bar shows no gaps.
constexpr TwipsRect TallySquare(int bar, int index) {
    return {kBarLeft.at(static_cast<std::size_t>(bar - 1)), 6480 - 120 * (index - 1), kSquareSize,
            kSquareSize};
}

// Form2, the help window.
inline constexpr std::array kHelpControls = {
    Control{"Command1",
            ControlKind::CommandButton,
            {8400, 0, 735, 375},
            TextId::CloseButton,
            {},
            true,
            true,
            false,
            0},
    Control{
        "Line1", ControlKind::Line, {120, 360, 9000, 0}, TextId::None, {}, true, true, false, -1},
    Control{"Picture1",
            ControlKind::PictureBox,
            {120, 480, 9015, 3855},
            TextId::None,
            {kFontPoints},
            true,
            true,
            false,
            1},
};

inline constexpr Window kHelpWindow{TextId::HelpCaption, {3090, 1665, 9255, 4455}, kHelpControls};

// The control called `name` in `window`; every name asked for is in the table.
const Control& Find(const Window& window, std::string_view name);

}  // namespace hashigoro::layout
