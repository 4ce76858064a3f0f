// The settings file's keys, their kinds, defaults and read limits.
// Platform-free: the Windows side binds each row to its field.
#ifndef PENRIK_SETTINGS_KEYS_H
#define PENRIK_SETTINGS_KEYS_H

#define SETTINGS_FILE    "Marravel.ini"
#define SETTINGS_SECTION "Penrik"

enum SettingKind { SETTING_INT, SETTING_STRING };

enum SettingId {
    SET_X, SET_Y, SET_WIDTH, SET_HEIGHT, SET_TEXTCOLOR, SET_BACKCOLOR,
    SET_FONTSIZE, SET_FONTNAME, SET_WORDWRAP, SET_FILENAME,
    SET_HELPFILE1, SET_HELPFILE2, SET_HELPFILE3, SET_HELPFILE4,
    SET_HELPNAME1, SET_HELPNAME2, SET_HELPNAME3, SET_HELPNAME4,
    SET_BUILDNAME1, SET_BUILDNAME2, SET_BUILDNAME3, SET_BUILDNAME4,
    SETTING_COUNT
};

struct SettingKey {
    const char* key;
    SettingKind kind;
    int intDefault;
    const char* textDefault;
    int readLimit;  // buffer size for strings, terminating zero included
};

// In the order start-up reads them. The file name is read with the full
// room of a document name, so a long name that Save Settings wrote comes
// back whole.
inline constexpr SettingKey SettingKeys[SETTING_COUNT] = {
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

// What Save Settings writes, in its order.
struct SavedSetting {
    SettingId id;
    const char* format;  // printf format for integers, null for text
};
#define SAVED_SETTING_COUNT 10
inline constexpr SavedSetting SavedSettings[SAVED_SETTING_COUNT] = {
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

#endif
