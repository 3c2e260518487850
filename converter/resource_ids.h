// Identifiers of the program's resources: dialog templates, controls, menus, strings, icons and
// the messages the edit list boxes post to their pages.
#pragma once

#include <kestrum/ui/constants.h>

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_BY_EXPRESSION = 102;
inline constexpr int IDD_BY_QUANTITY = 129;
inline constexpr int IDD_BY_UNIT_SYSTEM = 130;
inline constexpr int IDD_QUANTITY_DATABASE = 132;
inline constexpr int IDD_UNIT_DATABASE = 134;
inline constexpr int IDD_UNIT_SYSTEM_DATABASE = 135;
inline constexpr int IDD_DATABASE_FILE = 136;
inline constexpr int IDD_NAME = 137;
inline constexpr int IDD_SELECT_PREFERRED_UNIT = 138;

// Strings, menus and icons.
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDR_EDIT_LIST_MENU = 103;
inline constexpr int IDR_MAINFRAME = 128;

// Window-menu command of the About box; the low four bits are the platform's.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Context-menu commands of the edit list boxes.
inline constexpr int ID_EDIT_ADD = 32771;
inline constexpr int ID_EDIT_REMOVE = 32772;
inline constexpr int ID_EDIT_RENAME = 32773;

// Messages an edit list box posts to its page: wParam is the list's control identifier.
inline constexpr unsigned WM_EDIT_LIST_ADD = WM_USER + 1;
inline constexpr unsigned WM_EDIT_LIST_REMOVE = WM_USER + 2;
inline constexpr unsigned WM_EDIT_LIST_RENAME = WM_USER + 3;

// Controls.
inline constexpr int IDC_FROM_EXPRESSION = 1000;
inline constexpr int IDC_TO_EXPRESSION = 1001;
inline constexpr int IDC_CONVERT = 1002;
inline constexpr int IDC_MULTIPLY_BY = 1003;
inline constexpr int IDC_ADD = 1004;
inline constexpr int IDC_QUANTITY_LIST = 1006;
inline constexpr int IDC_FROM_UNIT_LIST = 1007;
inline constexpr int IDC_TO_UNIT_LIST = 1008;
inline constexpr int IDC_FROM_SYSTEM_LIST = 1009;
inline constexpr int IDC_TO_SYSTEM_LIST = 1010;
inline constexpr int IDC_DIM_MASS = 1011;
inline constexpr int IDC_DIM_LENGTH = 1012;
inline constexpr int IDC_DIM_TIME = 1013;
inline constexpr int IDC_DIM_TEMPERATURE = 1014;
inline constexpr int IDC_DIM_AMOUNT = 1015;
inline constexpr int IDC_DIM_CURRENT = 1016;
inline constexpr int IDC_DIM_LUMINOSITY = 1017;
inline constexpr int IDC_DIM_PLANE_ANGLE = 1018;
inline constexpr int IDC_DIM_SOLID_ANGLE = 1019;
inline constexpr int IDC_DIM_MONEY = 1020;
inline constexpr int IDC_SYNONYM_LIST = 1021;
inline constexpr int IDC_UNIT_LIST = 1022;
inline constexpr int IDC_CONVERSION_FACTOR = 1027;
inline constexpr int IDC_CONVERSION_OFFSET = 1028;
inline constexpr int IDC_EXPRESSION = 1029;
inline constexpr int IDC_UNIT_SYSTEM_LIST = 1031;
inline constexpr int IDC_PREFERRED_UNIT_MAP = 1032;
inline constexpr int IDC_FILE_NAME = 1033;
inline constexpr int IDC_OVERWRITE = 1034;
inline constexpr int IDC_APPEND = 1035;
inline constexpr int IDC_FILE_OPEN = 1036;
inline constexpr int IDC_FILE_SAVE = 1037;
inline constexpr int IDC_DIMENSIONAL_ANALYSIS = 1038;
inline constexpr int IDC_NAME = 1040;              // the Name dialog's edit
inline constexpr int IDC_UNIT_EXPRESSION = 1040;   // By Expression
inline constexpr int IDC_FROM_SYMBOL = 1040;       // By UnitSystem
inline constexpr int IDC_SYMBOL = 1040;            // Unit Database
inline constexpr int IDC_PREFERRED_UNIT_LIST = 1042;
inline constexpr int IDC_SYMBOL_BUTTON = 1043;
inline constexpr int IDC_SYMBOL_RESULT = 1044;
inline constexpr int IDC_TO_SYMBOL = 1045;
inline constexpr int IDC_BROWSE = 1046;
inline constexpr int IDC_PICTURE = 1047;           // the Database File page's picture

// The dimension edits of the Quantity Database page, in the order of the dimension vector.
inline constexpr int kDimensionEdits[10] = {IDC_DIM_MASS,        IDC_DIM_LENGTH,      IDC_DIM_TIME,
                                            IDC_DIM_CURRENT,     IDC_DIM_TEMPERATURE, IDC_DIM_AMOUNT,
                                            IDC_DIM_LUMINOSITY,  IDC_DIM_PLANE_ANGLE, IDC_DIM_SOLID_ANGLE,
                                            IDC_DIM_MONEY};
inline constexpr int IDC_TITLE = 1048;             // a conversion page's title line
