/* Identifiers shared by the resource script and the code. */
#ifndef PENRIK_RESOURCE_H
#define PENRIK_RESOURCE_H

/* File */
#define IDM_NEW          100
#define IDM_OPEN         101
#define IDM_OPEN2ND      102
#define IDM_SAVE         103
#define IDM_SAVEAS       104
#define IDM_DELETEFILE   105
#define IDM_PRINT        106
#define IDM_PRINTSETUP   107
#define IDM_SETFONT      108
#define IDM_SETCOLOR     109
#define IDM_SAVESETTINGS 110
#define IDM_WORDWRAP     111
#define IDM_SENDMAIL     112
#define IDM_EXIT         113

/* Edit */
#define IDM_UNDO         200
#define IDM_CUT          201
#define IDM_COPY         202
#define IDM_PASTE        203
#define IDM_CLEAR        204
#define IDM_SELECTALL    205
#define IDM_REDO         206

/* Search */
#define IDM_FIND         300
#define IDM_FINDNEXT     301
#define IDM_FINDPREV     302
#define IDM_REPLACE      303
#define IDM_REPLACEALL   304
#define IDM_GOTO         305

/* Build */
#define IDM_COMPILE      400
#define IDM_BUILD        401
#define IDM_BUILDALL     402
#define IDM_LOADFILE     403 /* internal: load DocumentName */
#define IDM_CLEAN        404
#define IDM_EXECUTE      405
#define IDM_DEBUG        406
#define IDM_NEXTMESSAGE  407
#define IDM_PREVMESSAGE  408
#define IDM_GOTOPLACE    409 /* internal: show the place another editor sent */

/* Help */
#define IDM_ABOUT        500
#define IDM_HELP1        501
#define IDM_HELP2        502
#define IDM_HELP3        503
#define IDM_HELP4        504

/* Child windows and dialog controls */
#define IDC_EDIT         601

/* FindBox */
#define IDC_FINDLABEL    100
#define IDC_REPLLABEL    200
#define IDC_FINDTEXT     701
#define IDC_PREVIOUS     702
#define IDC_CASE         704
#define IDC_REPLTEXT     705

/* GoToBox */
#define IDC_GOTOLABEL    706
#define IDC_GOTOTEXT     707

/* AbortDlg */
#define IDC_PRINTNAME    602
#define IDC_SENDINGLABEL 1001
#define IDC_SPOOLERLABEL 1002

/* AboutBox */
#define IDC_ABOUTVERSION 101
#define IDC_ABOUTAUTHOR  102
#define IDC_ABOUTPURPOSE 103

/* Message boxes: captions */
#define IDS_CAPTION_PENRIK       1100
#define IDS_CAPTION_PENRIK_LOWER 1101
#define IDS_CAPTION_FIND         1102

/* Message boxes: texts, with the caption each takes (none: no caption) */
#define IDS_OUT_OF_MEMORY          1110 /* Penrik */
#define IDS_NOT_ENOUGH_MEMORY      1111 /* none */

/* Start-up and settings */
#define IDS_START_NAME_TOO_LONG    1120 /* none */
#define IDS_SETTINGS_NOT_SAVED     1121 /* Penrik; %ls: the settings file */

/* Document */
#define IDS_NOT_A_FILE_NAME        1130 /* none */
#define IDS_NAME_TOO_LONG          1131 /* none */
#define IDS_DROPPED_NAME_TOO_LONG  1132 /* none */
#define IDS_CANNOT_OPEN            1133 /* none */
#define IDS_TOO_LARGE              1134 /* none */
#define IDS_READ_ERROR             1135 /* none */
#define IDS_ZERO_BYTES             1136 /* none */
#define IDS_BYTES_NOT_KEPT         1137 /* none */
#define IDS_SAVE_CHANGES           1138 /* penrik */
#define IDS_SAVE_AS_UTF8           1139 /* Penrik */
#define IDS_UNTITLED               1140 /* the name in IDS_SAVE_AS_UTF8 of an untitled document */
#define IDS_WRITE_ERROR            1141 /* none */
#define IDS_WRITE_ERROR_KEPT       1142 /* none; %ls: the name, then the file holding the old contents */
#define IDS_DELETE_FILE            1143 /* penrik */
#define IDS_RECOVERED_TOO_LARGE    1144 /* Penrik */
#define IDS_RECOVERY_UNREADABLE    1145 /* Penrik; %ls: the recovery copy */
#define IDS_RECOVER_CHANGES        1146 /* Penrik; %ls: name, date, time, IDS_RECOVER_FILE_CHANGED or "" */
#define IDS_RECOVER_FILE_CHANGED   1147
#define IDS_RECOVER_UNTITLED       1148 /* Penrik; %ls: date, time */

/* Editing */
#define IDS_WORDWRAP_FAILED        1150 /* none */

/* Search */
#define IDS_SEARCH_DONE            1160 /* Find String */

/* Printing */
#define IDS_PRINT_ERROR            1170 /* none; %lu: the dialog's error code */
#define IDS_PRINT_JOB_NOT_STARTED  1171 /* none */
#define IDS_PRINT_PAGE_NOT_STARTED 1172 /* none */
#define IDS_PRINT_WINDOW_FAILED    1173 /* none */

/* Tools */
#define IDS_NOT_COMPILED           1180 /* Penrik */
#define IDS_HELP_NOT_OPENED        1181 /* Penrik; %ls: the help file, then one of the reasons below */
#define IDS_HELP_FILE_NOT_FOUND    1182
#define IDS_HELP_FOLDER_NOT_FOUND  1183
#define IDS_HELP_ACCESS_DENIED     1184
#define IDS_HELP_NO_ASSOCIATION    1185
#define IDS_HELP_ERROR_NUMBER      1186 /* %d: what the system answered */
#define IDS_MAIL_NAME_UNSPELLABLE  1187 /* Penrik */
#define IDS_MAIL_NOT_LOADED        1188 /* none */
#define IDS_MAIL_NO_SEND           1189 /* none */
#define IDS_MESSAGE_FILE_MISSING   1190 /* Penrik; %ls: the file a compiler's message names */

#endif
