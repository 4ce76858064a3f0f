#include "settings_keys.h"

// The file name is read with the full room of the document name, so a
// long name written by Save Settings comes back whole.
const SettingKey SettingKeys[SETTING_COUNT] = {
    {"PenrikX",    SETTING_INT,    0,        0,               0},
    {"PenrikY",    SETTING_INT,    28,       0,               0},
    {"PenrikW",    SETTING_INT,    640,      0,               0},
    {"PenrikH",    SETTING_INT,    424,      0,               0},
    {"TextColor",  SETTING_INT,    0,        0,               0},
    {"BackColor",  SETTING_INT,    16777215, 0,               0},
    {"FontSize",   SETTING_INT,    8,        0,               0},
    {"FontName",   SETTING_STRING, 0,        "MS Sans Serif", 32},
    {"WordWrap",   SETTING_INT,    0,        0,               0},
    {"FileName",   SETTING_STRING, 0,        "",              256},
    {"Help11File", SETTING_STRING, 0,        "penrik.hlp",    128},
    {"Help2File",  SETTING_STRING, 0,        "api32wh.hlp",   128},
    {"Help3File",  SETTING_STRING, 0,        "win16wh",       128},
    {"Help4File",  SETTING_STRING, 0,        "msc.hlp",       128},
    {"Help11Name", SETTING_STRING, 0,        "Penrik",        9},
    {"Help2Name",  SETTING_STRING, 0,        "Win32",         9},
    {"Help3Name",  SETTING_STRING, 0,        "Win16",         9},
    {"Help4Name",  SETTING_STRING, 0,        "C Help",        9},
    {"Build1Name", SETTING_STRING, 0,        "Compile",       9},
    {"Build2Name", SETTING_STRING, 0,        "Build",         9},
    {"Build3Name", SETTING_STRING, 0,        "BuildAll",      9},
    {"Build4Name", SETTING_STRING, 0,        "Clean",         9},
};

const SavedSetting SavedSettings[SAVED_SETTING_COUNT] = {
    {SET_X,         "%i"},
    {SET_Y,         "%i"},
    {SET_HEIGHT,    "%i"},
    {SET_WIDTH,     "%i"},
    {SET_FONTSIZE,  "%i"},
    {SET_TEXTCOLOR, "%d"},
    {SET_WORDWRAP,  "%d"},
    {SET_BACKCOLOR, "%d"},
    {SET_FONTNAME,  0},
    {SET_FILENAME,  0},
};
