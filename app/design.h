// The main window's design: every control with its place, size, text, font
// and colours, in one table. The window builds itself from it.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <array>

namespace soakmark::app::design {

inline constexpr int kClientWidth = 862;
inline constexpr int kClientHeight = 606;
inline constexpr int kPanel1Height = 161;

inline const QColor kTeal(0, 128, 128);
inline const QColor kAqua(0, 255, 255);
inline const QColor kWhite(255, 255, 255);
inline const QColor kSilver(192, 192, 192);
inline const QColor kPanel2Colour(240, 202, 166);  // stored as 10930928
inline const QColor kBlack(0, 0, 0);
inline const QColor kButtonFace(240, 240, 240);  // the design's own button face

// The four inputs: a flat one-pixel border, window colours, and the
// selection's colours.
inline const QColor kInputBorder(100, 100, 100);
inline const QColor kInputBackground(255, 255, 255);
inline const QColor kInputText(0, 0, 0);
inline const QColor kInputSelection(0, 120, 215);

// The design's fonts, "MS Sans Serif" and "Arial", are not on free desktops:
// Liberation Sans has Arial's metrics and stands in for both. Asking for it by
// name spares the font system a search for families it does not have.
inline constexpr const char* kSansSerif = "Liberation Sans";

enum class FontRole {
  Window,   // 11 px, plain: the inputs and the button
  Caption,  // 13 px, bold, aqua: the labels
  Value,    // 13 px, bold, white: the results
  Group,    // 13 px, bold, window text: the soil water choice
};

QFont Font(FontRole role);
QColor TextColour(FontRole role);

// A single-line input with its caption above it.
struct EditDesign {
  const char* name;
  QRect geometry;  // within Panel1
  const char* text;
  const char* caption;
  bool caption_on_teal;  // the caption fills itself with teal
};

inline const std::array<EditDesign, 4> kEdits = {{
    {"btwL", {208, 24, 161, 19}, "1.5", "Distance between Laterals (m)", false},
    {"onL", {208, 72, 161, 19}, "0.5", "Emitter Spacing along Laterals (m)", true},
    {"AppRate", {464, 24, 161, 19}, "2", "Emitter Application Rate (l/h)", false},
    {"Duration", {464, 72, 161, 19}, "5", "Specify duration of irrigation (h)", false},
}};

// A text on the result line. A text without a fixed size takes the size of
// its text and grows to the right.
struct TextDesign {
  const char* name;
  QRect geometry;  // within Panel1; for a text without a fixed size only the left and top count
  bool fixed_size;
  const char* text;
  FontRole font;
  bool opaque;  // fills its box with teal
};

// In the order they are drawn: a later text is drawn on top of an earlier one.
inline const std::array<TextDesign, 7> kTexts = {{
    {"Label3", {232, 120, 129, 17}, true, "You have applied:", FontRole::Caption, false},
    {"appAmt", {368, 120, 17, 17}, true, "appAmt", FontRole::Value, true},
    {"Label4", {392, 120, 0, 0}, false, "mm  or", FontRole::Caption, false},
    {"AppAmount", {448, 120, 25, 17}, true, "AppAmount", FontRole::Value, true},
    {"Label1", {472, 120, 113, 17}, true, "litres/emitter  or", FontRole::Caption, false},
    {"mlha", {592, 120, 0, 0}, false, "mlha", FontRole::Value, true},
    {"Label2", {632, 120, 41, 13}, true, "Ml/ha", FontRole::Caption, false},
}};

inline const QRect kIniHead{8, 8, 193, 129};
inline constexpr const char* kIniHeadCaption = "Initial soil water conditions";
inline constexpr std::array<const char*, 3> kIniHeadItems = {"moist", "dry", "very dry"};

inline const QRect kRecalcButton{688, 24, 161, 25};
inline constexpr const char* kRecalcCaption = "Recalculate";

// The charts, within Panel2.
inline const QRect kChart1{64, 36, 265, 337};
inline const QRect kChart2{432, 36, 265, 337};

// The place of the n-th of `count` radio items in a group of the given size,
// with h the text height of the group's font.
QRect RadioItemGeometry(QSize group, int text_height, int index, int count);

// The place of a caption above its input: same left edge, 3 pixels between
// the caption's bottom and the input's top.
QRect CaptionGeometry(QRect edit, QSize caption);
inline constexpr int kCaptionSpacing = 3;

}  // namespace soakmark::app::design
