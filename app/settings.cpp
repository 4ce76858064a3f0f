// Reading the settings file at start-up, and Save Penrik.Settings.
#include <stdio.h>

#include "app/settings_keys.h"
#include "app/shell.h"
#include "document/document.h"

// Save Settings keeps the outer window geometry as the client area plus
// fixed frame sizes, so that saving and restarting gives the window back
// where it was. It is kept in BASE_DPI pixels, the same on a display of
// any scale.
#define FRAME_LEFT   4   // left border
#define FRAME_TOP    42  // caption, menu bar and top border
#define FRAME_WIDTH  8   // both side borders
#define FRAME_HEIGHT 46  // FRAME_TOP and the bottom border
#define NUMBER_SIZE  16  // a 32-bit number in decimal, signed

static int* IntField(int id)
{
    switch (id) {
    case SET_X:         return &Penrik.Settings.x;
    case SET_Y:         return &Penrik.Settings.y;
    case SET_WIDTH:     return &Penrik.Settings.width;
    case SET_HEIGHT:    return &Penrik.Settings.height;
    case SET_TEXTCOLOR: return (int*)&Penrik.Settings.textColor;
    case SET_BACKCOLOR: return (int*)&Penrik.Settings.backColor;
    case SET_FONTSIZE:  return (int*)&Penrik.Settings.font.lfHeight;
    case SET_WORDWRAP:  return &Penrik.Settings.wordWrap;
    default:            return 0;
    }
}

static char* TextField(int id, char* fileName)
{
    switch (id) {
    case SET_FONTNAME: return Penrik.Settings.font.lfFaceName;
    case SET_FILENAME: return fileName;
    default:
        if (id >= SET_HELPFILE1 && id <= SET_HELPFILE4)
            return Penrik.Settings.helpFile[id - SET_HELPFILE1];
        if (id >= SET_HELPNAME1 && id <= SET_HELPNAME4)
            return Penrik.Settings.helpName[id - SET_HELPNAME1];
        if (id >= SET_BUILDNAME1 && id <= SET_BUILDNAME4)
            return Penrik.Settings.buildName[id - SET_BUILDNAME1];
        return 0;
    }
}

int LoadSettings(char* fileName, size_t size)
{
    int result = 1;
    ZeroMemory(&Penrik.Settings, sizeof Penrik.Settings);
    for (int id = 0; id < SETTING_COUNT; ++id) {
        const SettingKey& key = SettingKeys[id];
        if (key.kind == SETTING_INT) {
            *IntField(id) = (int)GetPrivateProfileIntA(SETTINGS_SECTION, key.key, key.intDefault, SETTINGS_FILE);
        } else {
            DWORD limit = id == SET_FILENAME && size < (size_t)key.readLimit ? (DWORD)size : (DWORD)key.readLimit;
            GetPrivateProfileStringA(SETTINGS_SECTION, key.key, key.textDefault, TextField(id, fileName), limit,
                                     SETTINGS_FILE);
        }
    }
    if ((size_t)lstrlenA(fileName) == size - 1) {
        // Filled to the brim: read again with room to spare to see whether
        // the name went on.
        char longer[NAME_SIZE + 1];
        DWORD length = GetPrivateProfileStringA(SETTINGS_SECTION, SettingKeys[SET_FILENAME].key, "", longer,
                                                sizeof longer, SETTINGS_FILE);
        if (length >= size) {
            fileName[0] = '\0';
            result = 0;
        }
    }
    return result;
}

void SaveSettings(void)
{
    if (Penrik.dpi == BASE_DPI) {
        POINT origin = {0, 0};
        ClientToScreen(Penrik.hwndMain, &origin);
        RECT client;
        GetClientRect(Penrik.hwndMain, &client);
        Penrik.Settings.x = origin.x - FRAME_LEFT;
        Penrik.Settings.y = origin.y - FRAME_TOP;
        Penrik.Settings.width = client.right - client.left + FRAME_WIDTH;
        Penrik.Settings.height = client.bottom - client.top + FRAME_HEIGHT;
    } else {
        // The frames of another scale are not those sizes scaled: the
        // window's own rectangle is what start-up scales back.
        RECT window;
        GetWindowRect(Penrik.hwndMain, &window);
        Penrik.Settings.x = Unscaled(window.left);
        Penrik.Settings.y = Unscaled(window.top);
        Penrik.Settings.width = Unscaled(window.right - window.left);
        Penrik.Settings.height = Unscaled(window.bottom - window.top);
    }

    char fileName[NAME_SIZE];
    lstrcpynA(fileName, DocumentName(), NAME_SIZE);
    for (int i = 0; i < SAVED_SETTING_COUNT; ++i) {
        const SavedSetting& saved = SavedSettings[i];
        char number[NUMBER_SIZE];
        const char* text;
        if (saved.format != 0) {
            snprintf(number, sizeof number, saved.format, *IntField(saved.id));
            text = number;
        } else {
            text = TextField(saved.id, fileName);
        }
        WritePrivateProfileStringA(SETTINGS_SECTION, SettingKeys[saved.id].key, text, SETTINGS_FILE);
    }
}
