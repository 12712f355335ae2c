#pragma once

#include <span>
#include <string_view>

// A dialog template as data: what the dialog layer needs to build a window and its controls.
// Positions and sizes are in dialog units; the dialog layer maps them to pixels from the dialog font.

enum class ControlKind {
    PushButton,
    RadioButton,
    GroupBox,
    Label,    // static text
    Icon,     // static showing an icon resource
    Edit,
    ListBox,
    ComboBox,
    ListView, // report-view list
    ActiveX,  // a hosted control without a window of its own here (the communications control)
};

// The control styles the program relies on; everything else of the original styles only affects looks.
enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleGroup = 1u << 0,             // starts a group (ends the radio group before it)
    StyleTabStop = 1u << 1,           // reached by Tab
    StyleDefault = 1u << 2,           // the default push button
    StyleCenter = 1u << 3,            // text centred horizontally
    StyleCenterImage = 1u << 4,       // static text centred vertically as well
    StyleBorder = 1u << 5,            // thin border
    StyleClientEdge = 1u << 6,        // sunken edge
    StyleStaticEdge = 1u << 7,        // thin sunken edge
    StyleRight = 1u << 8,             // right-aligned contents
    StyleVScroll = 1u << 9,           // vertical scroll bar
    StyleNotify = 1u << 10,           // list box reports clicks and selection changes
    StyleNoIntegralHeight = 1u << 11, // list box keeps its exact height, partial rows allowed
    StyleSort = 1u << 12,             // list or combo sorts its items (none of ours do)
    StyleDropDownList = 1u << 13,     // combo box without an edit field
    StyleReport = 1u << 14,           // list view in report view
    StyleSingleSel = 1u << 15,        // list view allows one selected row
    StyleNoPrefix = 1u << 16,         // "&" in a static text is shown, not a mnemonic
    StyleAutoHScroll = 1u << 17,      // edit scrolls sideways; without it typing stops when the box is full
};

// Window styles of the dialog itself.
enum DialogStyle : unsigned {
    DialogNone = 0,
    DialogCaption = 1u << 0,
    DialogSysMenu = 1u << 1,
    DialogMinimizeBox = 1u << 2,
    DialogModalFrame = 1u << 3,
    DialogAppWindow = 1u << 4, // own task-bar button
};

struct DluRect {
    int m_nX;
    int m_nY;
    int m_nCx;
    int m_nCy;
};

struct DialogControl {
    ControlKind m_kind;
    int m_nId;                   // IDC_STATIC (-1) for labels
    std::string_view m_strText;  // UTF-8, empty for none
    DluRect m_rect;
    unsigned m_nStyle;           // ControlStyle flags
    std::span<const std::string_view> m_astrItems = {}; // combo box initialisation data
    int m_nImageId = 0;          // icon resource of a ControlKind::Icon
};

struct DialogTemplate {
    int m_nId;
    std::string_view m_strCaption;
    DluRect m_rect;              // position and client size
    std::string_view m_strFontFace;
    int m_nFontPoints;
    unsigned m_nStyle;           // DialogStyle flags
    std::span<const DialogControl> m_aControls; // template order = tab order
};
