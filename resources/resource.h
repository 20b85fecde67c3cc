// Identifiers of the configuration dialogs, their controls and the string
// table. Shared by the .rc files and the C++ code, so it holds #defines only.
#pragma once

// Icon shown in the sheet's caption and on the About page.
#define IDI_VIVARN 101

// Dialog templates.
#define IDD_PALETTE_SETUP 101
#define IDD_PAGE_ABOUT 102
#define IDD_PAGE_RULES 103
#define IDD_PAGE_VIDEO 104
#define IDD_PAGE_FIELD 105
#define IDD_PAGE_GENERAL 106
// The pattern dialog the Field and General pages open.
#define IDD_PATTERN 110

// Strings.
#define IDS_SHEET_TITLE 100
#define IDS_OK 101
#define IDS_CANCEL 102
#define IDS_FILL_CIRCLE 103
#define IDS_FILL_FULL 104
#define IDS_FILL_SQUARE 105
#define IDS_ADVANCED 106
#define IDS_STAT_TOTAL 108
#define IDS_STAT_AVERAGE_AGE 109
#define IDS_CELL_LARGE 110
#define IDS_CELL_MEDIUM 111
#define IDS_CELL_SMALL 112
#define IDS_CELL_VERY_LARGE 113
#define IDS_CELL_VERY_SMALL 114
#define IDS_STAT_GENERATION 115
#define IDS_STAT_AVERAGE_TOTAL 116
#define IDS_SPEED_FORMAT 118
#define IDS_SPEED_MAX 119
#define IDS_PALETTE_EDIT 120
#define IDS_PALETTE_DEFAULT 121
#define IDS_COLOUR_CUSTOM 122
#define IDS_NAME_TITLE 123
#define IDS_NAME_LABEL 124
#define IDS_DIE_STEP_FORMAT 125
#define IDS_DIE_STEP_ZOMBIE 126
// Names of the starter palettes, in their order (palette/starter_palettes.cpp).
#define IDS_PALETTE_FIRE 150
#define IDS_PALETTE_ICE 151
#define IDS_PALETTE_FOREST 152
#define IDS_PALETTE_OCEAN 153
#define IDS_PALETTE_NEON 154
#define IDS_PALETTE_SUNSET 155
#define IDS_PALETTE_GREYSCALE 156
#define IDS_PALETTE_CANDY 157

// The Video page's "Monitors:" choices.
#define IDS_MONITORS_SPAN 130
#define IDS_MONITORS_PRIMARY 131
#define IDS_MONITORS_EACH 132
// The named-rule list of the General and Rules pages.
#define IDS_RULE_CUSTOM 140
// The rulestring box's refusals: a title, where it stopped, and one reason
// per RuleError at IDS_RULE_ERROR_FIRST + its number.
#define IDS_RULE_ERROR_TITLE 141
#define IDS_RULE_ERROR_AT 142
#define IDS_RULE_ERROR_FIRST 170  // ... + 12
// The fill modes 3 and 4 and the pattern dialog. A pattern reader's refusal
// has one text per PatternError at IDS_PATTERN_ERROR_FIRST + its number.
#define IDS_FILL_FAMOUS 200
#define IDS_FILL_PATTERN 201
#define IDS_PATTERN_COL_NAME 202
#define IDS_PATTERN_COL_RULE 203
#define IDS_PATTERN_COL_SIZE 204
#define IDS_PATTERN_SIZE 205
#define IDS_PATTERN_FITS 206
#define IDS_PATTERN_TOO_BIG 207
#define IDS_PATTERN_ERROR_AT 208
#define IDS_PATTERN_OPEN_TITLE 209
#define IDS_PATTERN_FILTER 210
#define IDS_PATTERN_CANNOT_READ 211
#define IDS_PATTERN_NO_TEXT 212
#define IDS_PATTERN_PASTED 213
#define IDS_PATTERN_CANNOT_SAVE 214
#define IDS_PATTERN_NONE 215
#define IDS_PATTERN_ERROR_FIRST 220  // ... + 9, room up to + 19
// The statistics panel's line in the pattern fill modes (English only there).
#define IDS_STAT_PATTERN 258
#define IDS_STAT_NO_FAMOUS_PATTERN 259

// Controls created by the sheet itself.
#define IDC_ADVANCED 106
#define IDC_PREVIEW 320

// Controls of the page and dialog templates.
#define IDC_SHOW_FPS 1003
#define IDC_SHOW_STAT 1004
#define IDC_BORN_0 1005  // ... IDC_BORN_0 + 8
#define IDC_SURVIVE_0 1014  // ... IDC_SURVIVE_0 + 8
#define IDC_RESET_EVERY 1023
#define IDC_RESET_PERIOD 1024
#define IDC_FILL_MODE 1025
#define IDC_GENERATIONS 1026
#define IDC_VSYNC 1027
#define IDC_RESET_NOW 1028
#define IDC_AUTO_RESET 1029
#define IDC_DRAW_BY_CELL 1030
#define IDC_DRAW_FIELD 1031
#define IDC_CELL_SIZE 1032
#define IDC_LINK_WEB 1033
#define IDC_LINK_MAIL 1034
#define IDC_TRACKBAR 1035
#define IDC_TRACKBAR_LABEL 1036
#define IDC_BK_COLOR 1037
#define IDC_DIE_SLOWLY 1038
#define IDC_PALETTE_LIST 1042
#define IDC_GRADIENT 1043
#define IDC_SAVE_AS 1046
#define IDC_DELETE 1047
#define IDC_NAME_EDIT 1048
#define IDC_SLOWER 1049
#define IDC_FASTER 1050
#define IDC_MONITORS 1060

// Power, calm input and the clock: IDS 270-289, IDC 1160-1179.
#define IDS_BATTERY_FULL_SPEED 270
#define IDS_BATTERY_HALF_RATE 271
#define IDS_BATTERY_BLACK 272
#define IDS_MOUSE_ANY 273
#define IDS_MOUSE_SMALL 274
#define IDS_MOUSE_DELIBERATE 275
#define IDC_ON_BATTERY 1160
#define IDC_SHOW_CLOCK 1161
#define IDC_MOUSE_TOLERANCE 1162

// What the shader path adds: the finer cell sizes and smooth generations:
// IDS 290-299, IDC 1180-1189.
#define IDS_CELL_TINY 290
#define IDS_CELL_SMALLEST 291
#define IDC_SMOOTH_GENERATIONS 1180

// The named-rule list and the rulestring box, above the rule boxes.
#define IDC_RULE_LIST 1070
#define IDC_RULE_NOTATION 1071

// The pattern dialog, and the pages' button that opens it.
#define IDC_PATTERN_LIST 1100
#define IDC_PATTERN_VIEW 1101
#define IDC_PATTERN_NAME 1102
#define IDC_PATTERN_FIT 1103
#define IDC_PATTERN_OPEN 1104
#define IDC_PATTERN_PASTE 1105
#define IDC_PATTERN_ERROR 1106
#define IDC_PATTERN_CHOOSE 1107

// Gradient control styles used by the templates (the control's own header
// names them; the resource compiler cannot include C++ headers).
#define IDR_GRADIENT_EDITING 0x0014  // end pegs, pegs after the bar
