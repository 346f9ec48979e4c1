/* Names of the program's numbered ids: menus, commands, dialog templates and
   their controls. Plain C preprocessor, so that the resource scripts, the
   program and the tests all include this one file. Strings are numbered in
   the text files of resources/strings. */
#ifndef KODRIN_IDS_H
#define KODRIN_IDS_H

/* Menus of the main window: the menu bar and the right-click menus of the
   list, the category tabs and the toolbar. */
#define MENU_MAIN                   3400
#define MENU_LIST                   3500
#define MENU_TABS                   3501
#define MENU_TOOLBAR                3502

/* Commands. Each one is described once, in command_table.h. */
#define CMD_ADD_APPLICATION         1100
#define CMD_DELETE_APPLICATION      1101
#define CMD_EDIT_APPLICATION        1102
#define CMD_CHANGE_CATEGORY         3000
#define CMD_COPY_APPLICATION        3001
#define CMD_EMAIL_SUPPORT           3002
#define CMD_HOME_PAGE               3003
#define CMD_LAUNCH_INSTALLATION     3004
#define CMD_LOGIN                   3005
#define CMD_MULTIPLE_EDIT           3006
#define CMD_NEXT_TAB                3007
#define CMD_COPY_ORGANIZATION       3008
#define CMD_COPY_REGISTRATION_KEY   3009
#define CMD_LAUNCH_APPLICATION      3010
#define CMD_SUPPORT_PAGE            3011
#define CMD_CHECK_APPLICATION       3012
#define CMD_COPY_USER_NAME          3013
#define CMD_COPY_WEB_PASSWORD       3014
#define CMD_COPY_WEB_USER_NAME      3015
#define CMD_ADD_CATEGORY            3100
#define CMD_DELETE_CATEGORY         3101
#define CMD_EDIT_CATEGORY           3102
#define CMD_MOVE_CATEGORY_LEFT      3103
#define CMD_MOVE_CATEGORY_RIGHT     3104
#define CMD_AUTO_REMOVAL            3200
#define CMD_CUSTOMIZE_COLUMNS       3201
#define CMD_EXIT                    3202
#define CMD_EXPORT                  3203
#define CMD_IMPORT                  3204
#define CMD_NEW_CATALOG             3205
#define CMD_OPEN_CATALOG            3206
#define CMD_OPTIONS                 3207
#define CMD_GENERATE_PASSWORD       3208
#define CMD_PRINT                   3209
#define CMD_RESTORE_BACKUP          3210
#define CMD_SEARCH_APPLICATIONS     3211
#define CMD_SAVE_AS                 3212
#define CMD_STATISTICS              3213
#define CMD_CUSTOMIZE_TOOLBAR       3214
#define CMD_TRANSFER                3215
#define CMD_ABOUT                   3300
#define CMD_HELP                    3301
#define CMD_MAKER_HOME_PAGE         3302
#define CMD_EMAIL_MAKER             3303
#define CMD_CHECK_FOR_UPDATE        3304
#define CMD_SELECT_ALL              3600
#define CMD_SHOW_HIDDEN             3601
#define CMD_FIND                    3602
#define CMD_FIND_NEXT               3603
/* The details-pane labels send FIRST + n for their n-th entry. */
#define CMD_FIRST_DETAIL_LABEL      9000
#define CMD_LAST_DETAIL_LABEL       9099

/* Controls of the main window. */
#define IDC_MAIN_TABS               1105
#define IDC_MAIN_TOOLBAR            1106
#define IDC_MAIN_LIST               1204

/* Dialog templates and their controls. */
#define DLG_ABOUT                   1000
#define IDC_ABOUT_LINE1             1001
#define IDC_ABOUT_LINE2             1002
#define IDC_ABOUT_LINE3             1003
#define IDC_ABOUT_LINE4             1004
#define IDC_ABOUT_HOME_PAGE         1005

#define DLG_CATEGORY                1200
#define IDC_CATEGORY_NAME           1201

#define DLG_COLUMNS                 1300
#define IDC_COLUMNS_ADD             1301
#define IDC_COLUMNS_AVAILABLE       1302
#define IDC_COLUMNS_DISPLAYED       1303
#define IDC_COLUMNS_REMOVE          1304
#define IDC_COLUMNS_DOWN            1305
#define IDC_COLUMNS_UP              1308

#define DLG_EXPORT                  1400
#define IDC_EXPORT_ALL_DATA         1401
#define IDC_EXPORT_BROWSE           1402
#define IDC_EXPORT_CATEGORY         1403
#define IDC_EXPORT_FILE             1404
#define IDC_EXPORT_PICTURES         1405
#define IDC_EXPORT_SELECTED_COLUMNS 1406
#define IDC_EXPORT_UNICODE          1407

#define DLG_PASSWORD_GENERATOR      1500

#define DLG_CHANGE_CATEGORY         1700
#define IDC_CHANGE_CATEGORY_LIST    1701

#define DLG_DETAILS                 1702
#define IDC_DETAILS_TABS            1703
#define IDC_DETAILS_WARNING         1704

#define DLG_OPTIONS                 1800
#define IDC_OPTIONS_TABS            1847

#define DLG_PICTURE                 1900
#define IDC_PICTURE                 1901

#define DLG_STATISTICS              2100

#define DLG_LOGIN                   5000

/* The window framework's dialogs. */
#define DLG_INPUT_BOX               20000
#define IDC_INPUT_PROMPT            20001
#define IDC_INPUT_TEXT              20002
#define DLG_DATE_PICKER             20200
#define IDC_DATE_CALENDAR           20201
#define IDC_DATE_TODAY              9
#define DLG_SELECT_FIELD            20205
#define DLG_PROGRESS                20300
#define IDC_PROGRESS_TEXT           20302
#define IDC_PROGRESS_BAR            20304
#define IDC_PROGRESS_SECOND_BAR     20305

/* Raw data and bitmaps. */
#define RES_HELP_FILE               1006
#define BMP_SORT_DOWN               8000
#define BMP_SORT_UP                 8001

#endif
