#pragma once

#include <QRect>
#include <QSize>

// Where the main window's controls sit. Skins are drawn for this layout, so the skin generator
// and the window share it. Panel children are in panel coordinates, everything else in window
// coordinates; all in pixels.
namespace zv::layout {

inline constexpr QSize kWindow{799, 600};

// Title band with the window's own buttons.
inline constexpr QRect kTitleBand{0, 0, 799, 46};
inline constexpr QRect kHelp2Button{703, 10, 26, 26}; // cmdHilfe2
inline constexpr QRect kMinimiseButton{733, 10, 26, 26}; // cmd_
inline constexpr QRect kCloseButton{763, 10, 26, 26}; // cmdX

// Button column picMenue and its children.
inline constexpr QRect kMenuPanel{14, 56, 160, 356};
inline constexpr QRect kHelpButton{10, 10, 140, 44}; // cmdHilfe
inline constexpr QRect kSearchButton{10, 62, 140, 44}; // cmdSuche
inline constexpr QRect kDiaButton{10, 114, 140, 44}; // cmdDia
inline constexpr QRect kSaveButton{10, 166, 140, 44}; // cmdAktual
inline constexpr QRect kSaveLock{10, 164, 140, 48}; // cmdSaveX, over cmdAktual and a little taller
inline constexpr QRect kLogo{10, 222, 140, 124}; // imgLogo

// Preview box and the player bar below it (193 x 55 px = 2895 x 825 twips).
inline constexpr QRect kPreview{196, 60, 183, 183};
inline constexpr QRect kPlayerBar{191, 252, 193, 55};

// Search frame imgSearch around the information fields; its top 24 px are the frame's band.
inline constexpr QRect kSearchFrame{392, 52, 395, 150};
inline constexpr int kFieldLabelLeft = 406;
inline constexpr int kFieldLabelWidth = 92;
inline constexpr int kFieldLeft = 500;
inline constexpr int kFieldTop = 84;
inline constexpr int kFieldPitch = 18;
inline constexpr QSize kField{177, 13};
inline constexpr int kRemarksFocusedHeight = 100;

// Search panel picSuche with cmdStart and cmdBack.
inline constexpr QRect kSearchPanel{392, 212, 395, 60};
inline constexpr QRect kStartButton{12, 8, 140, 44};
inline constexpr QRect kBackButton{164, 8, 140, 44};

// List and its progress bar along the bottom.
inline constexpr QRect kProgress{31, 424, 737, 12};
inline constexpr QRect kList{31, 440, 737, 137};

// Button picture sizes the skins are drawn in.
inline constexpr QSize kPanelButton{140, 44};
inline constexpr QSize kTitleButton{26, 26};

} // namespace zv::layout
