#pragma once

// Identifiers of the program's resources: dialog templates, their controls, strings and the icon.
// The numbers are part of the templates' layout and must not change.

// Templates, strings, icons.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_VELMORA_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;

// Command of the "&About Velmora..." item in the main window's system menu.
constexpr int IDM_ABOUTBOX = 0x0010;

// Standard dialog commands and the id every label shares.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;

// Controls of the main window (template 102).
constexpr int IDC_LOWER = 1000;
constexpr int IDC_UPPER = 1001;
constexpr int IDC_GENERATE = 1002;
constexpr int IDC_UNITS = 1003;
constexpr int IDC_MSCOMM = 1004;
constexpr int IDC_PORT = 1005;
constexpr int IDC_READING = 1006;
constexpr int IDC_CHANNEL = 1007;
constexpr int IDC_LINEAR = 1008;
constexpr int IDC_NONLINEAR = 1009;
constexpr int IDC_DISPLAY_VALUE = 1011;
constexpr int IDC_POINTS = 1012;
constexpr int IDC_SET = 1014;
constexpr int IDC_CLEAR_ALL = 1015;
constexpr int IDC_STEP_UP = 1017;
constexpr int IDC_STEP_DOWN = 1018;
constexpr int IDC_STEP = 1019;
constexpr int IDC_DECIMALS = 1022;
