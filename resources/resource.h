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

/* Search */
#define IDM_FIND         300
#define IDM_FINDNEXT     301
#define IDM_FINDPREV     302
#define IDM_REPLACE      303
#define IDM_REPLACEALL   304

/* Build */
#define IDM_COMPILE      400
#define IDM_BUILD        401
#define IDM_BUILDALL     402
#define IDM_LOADFILE     403 /* internal: load DocumentName */
#define IDM_CLEAN        404
#define IDM_EXECUTE      405
#define IDM_DEBUG        406

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

/* AbortDlg */
#define IDC_PRINTNAME    602
#define IDC_SENDINGLABEL 1001
#define IDC_SPOOLERLABEL 1002

/* AboutBox */
#define IDC_ABOUTVERSION 101
#define IDC_ABOUTAUTHOR  102
#define IDC_ABOUTPURPOSE 103

#endif
