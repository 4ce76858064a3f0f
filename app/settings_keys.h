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

// In the order start-up reads them.
extern const SettingKey SettingKeys[SETTING_COUNT];

// What Save Settings writes, in its order.
struct SavedSetting {
    SettingId id;
    const char* format;  // printf format for integers, null for text
};
#define SAVED_SETTING_COUNT 10
extern const SavedSetting SavedSettings[SAVED_SETTING_COUNT];

#endif
