// The dialog templates, string table and icon of the program, as typed data.
#include "Resources.h"

#include "Version.h"

#include <array>

constexpr unsigned EditStyle = StyleCenter | StyleBorder | StyleTabStop | StyleClientEdge;
constexpr unsigned ComboStyle = StyleDropDownList | StyleVScroll | StyleTabStop | StyleClientEdge;

constexpr std::array<std::string_view, 8> PortItems = {
    "    COM1", "    COM2", "    COM3", "    COM4", "    COM5", "    COM6", "    COM7", "    COM8",
};
constexpr std::array<std::string_view, 3> ChannelItems = {"Channel 1", "Channel 2", "Channel 3"};

constexpr std::array<DialogControl, 30> MainControls = {{
    {ControlKind::RadioButton, IDC_LINEAR, "Linear Conversion", {13, 15, 73, 10}, StyleGroup | StyleTabStop},
    {ControlKind::RadioButton, IDC_NONLINEAR, "Nonlinear Conversion", {13, 31, 83, 10}, StyleNone},
    {ControlKind::Edit, IDC_UNITS, "", {157, 11, 46, 15}, EditStyle},
    {ControlKind::ListBox, IDC_DECIMALS, "", {173, 29, 30, 13},
     StyleNotify | StyleNoIntegralHeight | StyleVScroll | StyleBorder | StyleTabStop | StyleStaticEdge
         | StyleRight | StyleClientEdge},
    {ControlKind::Edit, IDC_LOWER, "", {66, 57, 71, 15}, EditStyle},
    {ControlKind::Edit, IDC_UPPER, "", {206, 57, 71, 15}, EditStyle},
    {ControlKind::Edit, IDC_DISPLAY_VALUE, "", {97, 115, 71, 15}, EditStyle},
    {ControlKind::Edit, IDC_STEP, "", {209, 108, 40, 14}, StyleCenter | StyleBorder | StyleTabStop},
    {ControlKind::PushButton, IDC_STEP_UP, "+", {250, 108, 14, 14}, StyleTabStop | StyleClientEdge},
    {ControlKind::PushButton, IDC_STEP_DOWN, "-", {195, 108, 14, 14}, StyleTabStop | StyleClientEdge},
    {ControlKind::PushButton, IDC_SET, "Set", {227, 134, 50, 15}, StyleTabStop},
    {ControlKind::PushButton, IDC_CLEAR_ALL, "Clear All", {227, 152, 50, 15}, StyleTabStop},
    {ControlKind::ActiveX, IDC_MSCOMM, "", {179, 186, 25, 23}, StyleTabStop},
    {ControlKind::ComboBox, IDC_PORT, "", {227, 190, 50, 52}, ComboStyle, PortItems},
    {ControlKind::ComboBox, IDC_CHANNEL, "", {227, 219, 50, 51}, ComboStyle, ChannelItems},
    {ControlKind::PushButton, IDC_GENERATE, "Generate", {230, 25, 50, 15}, StyleTabStop},
    {ControlKind::PushButton, IDOK, "Exit", {230, 7, 50, 15}, StyleDefault | StyleTabStop},
    {ControlKind::Label, IDC_READING, "Display", {97, 96, 71, 15},
     StyleCenter | StyleCenterImage | StyleGroup | StyleClientEdge},
    {ControlKind::Label, IDC_STATIC, "Lower Limit( 0 ) :", {12, 60, 52, 8}, StyleGroup},
    {ControlKind::Label, IDC_STATIC, "Upper Limit (1023 ) :", {140, 60, 64, 8}, StyleGroup},
    {ControlKind::ListView, IDC_POINTS, "List1", {12, 135, 211, 102},
     StyleReport | StyleSingleSel | StyleBorder | StyleTabStop},
    {ControlKind::Label, IDC_STATIC, "Step :", {221, 97, 20, 8}, StyleGroup},
    {ControlKind::Label, IDC_STATIC, "Units:", {133, 15, 19, 8}, StyleGroup},
    {ControlKind::GroupBox, IDC_STATIC, "Linear Conversion", {7, 45, 273, 35}, StyleNone},
    {ControlKind::GroupBox, IDC_STATIC, "Nonlinear Conversion", {7, 86, 273, 154}, StyleNone},
    {ControlKind::Label, IDC_STATIC, "Value From PIC:", {34, 100, 52, 8}, StyleGroup},
    {ControlKind::Label, IDC_STATIC, "Value On Display:", {33, 118, 57, 8}, StyleGroup},
    {ControlKind::Label, IDC_STATIC, "Port:", {241, 180, 16, 8}, StyleGroup},
    {ControlKind::Label, IDC_STATIC, "Channel:", {236, 209, 29, 8}, StyleGroup},
    {ControlKind::Label, IDC_STATIC, "Decimal Places:", {116, 31, 52, 8}, StyleGroup},
}};

constexpr std::array<DialogControl, 3> AboutControls = {{
    {ControlKind::Icon, IDC_STATIC, "", {11, 17, 20, 20}, StyleNone, {}, IDR_MAINFRAME},
    {ControlKind::Label, IDC_STATIC, VELMORA_ABOUT_TEXT, {40, 10, 119, 8}, StyleNoPrefix | StyleGroup},
    {ControlKind::PushButton, IDOK, "OK", {178, 7, 50, 14}, StyleDefault | StyleTabStop},
}};

constexpr DialogTemplate MainTemplate = {
    IDD_VELMORA_DIALOG, "Velmora Tool", {0, 0, 287, 247}, "MS Sans Serif", 8,
    DialogCaption | DialogSysMenu | DialogMinimizeBox | DialogModalFrame | DialogAppWindow, MainControls,
};

constexpr DialogTemplate AboutTemplate = {
    IDD_ABOUTBOX, "About Velmora", {0, 0, 235, 55}, "MS Sans Serif", 8,
    DialogCaption | DialogSysMenu | DialogModalFrame, AboutControls,
};

const DialogTemplate* FindDialogTemplate(int nId)
{
    switch (nId) {
    case IDD_VELMORA_DIALOG:
        return &MainTemplate;
    case IDD_ABOUTBOX:
        return &AboutTemplate;
    default:
        return nullptr;
    }
}

QString LoadResourceString(int nId)
{
    if (nId == IDS_ABOUTBOX)
        return QStringLiteral("&About Velmora...");
    return {};
}

QIcon LoadIconResource(int nId)
{
    if (nId != IDR_MAINFRAME)
        return {};
    QIcon icon;
    icon.addFile(QStringLiteral(":/velmora/icons/velmora-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/velmora/icons/velmora-16.png"), QSize(16, 16));
    return icon;
}
