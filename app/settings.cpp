// Reading the settings file at start-up, and Save Settings.
#include "penrik.h"

#include <stdio.h>

SettingsRecord Settings;

static int* IntField(int id)
{
    switch (id) {
    case SET_X:         return &Settings.x;
    case SET_Y:         return &Settings.y;
    case SET_WIDTH:     return &Settings.width;
    case SET_HEIGHT:    return &Settings.height;
    case SET_TEXTCOLOR: return (int*)&Settings.textColor;
    case SET_BACKCOLOR: return (int*)&Settings.backColor;
    case SET_FONTSIZE:  return (int*)&Settings.font.lfHeight;
    case SET_WORDWRAP:  return &Settings.wordWrap;
    default:            return 0;
    }
}

static char* TextField(int id)
{
    switch (id) {
    case SET_FONTNAME: return Settings.font.lfFaceName;
    case SET_FILENAME: return DocumentName;
    default:
        if (id >= SET_HELPFILE1 && id <= SET_HELPFILE4)
            return Settings.helpFile[id - SET_HELPFILE1];
        if (id >= SET_HELPNAME1 && id <= SET_HELPNAME4)
            return Settings.helpName[id - SET_HELPNAME1];
        if (id >= SET_BUILDNAME1 && id <= SET_BUILDNAME4)
            return Settings.buildName[id - SET_BUILDNAME1];
        return 0;
    }
}

// Returns 0 when the stored file name was too long to hold: cutting it
// would name another file, so the document starts untitled instead.
int LoadSettings(void)
{
    int result = 1;
    ZeroMemory(&Settings, sizeof Settings);
    for (int id = 0; id < SETTING_COUNT; ++id) {
        const SettingKey& key = SettingKeys[id];
        if (key.kind == SETTING_INT)
            *IntField(id) = (int)GetPrivateProfileIntA(SETTINGS_SECTION, key.key, key.intDefault,
                                                        SETTINGS_FILE);
        else
            GetPrivateProfileStringA(SETTINGS_SECTION, key.key, key.textDefault, TextField(id),
                                     (DWORD)key.readLimit, SETTINGS_FILE);
    }
    if (lstrlenA(DocumentName) == NAME_SIZE - 1) {
        // Filled to the brim: read again with room to spare to see whether
        // the name went on.
        char longer[NAME_SIZE + 1];
        DWORD length = GetPrivateProfileStringA(SETTINGS_SECTION, SettingKeys[SET_FILENAME].key, "", longer,
                                                sizeof longer, SETTINGS_FILE);
        if (length >= NAME_SIZE) {
            DocumentName[0] = '\0';
            result = 0;
        }
    }
    return result;
}

void SaveSettings(void)
{
    // The frame sizes are fixed, so that saving and restarting gives the
    // window back where it was.
    POINT origin = {0, 0};
    ClientToScreen(hwndMain, &origin);
    RECT client;
    GetClientRect(hwndMain, &client);
    Settings.x = origin.x - 4;
    Settings.y = origin.y - 42;
    Settings.width = client.right - client.left + 8;
    Settings.height = client.bottom - client.top + 46;

    for (int i = 0; i < SAVED_SETTING_COUNT; ++i) {
        const SavedSetting& saved = SavedSettings[i];
        const char* text;
        if (saved.format != 0) {
            snprintf(TextBuffer, sizeof TextBuffer, saved.format, *IntField(saved.id));
            text = TextBuffer;
        } else {
            text = TextField(saved.id);
        }
        WritePrivateProfileStringA(SETTINGS_SECTION, SettingKeys[saved.id].key, text, SETTINGS_FILE);
    }
}
