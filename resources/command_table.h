/* The main window's commands, one row each: the one place where a command is
   described. Plain C preprocessor: the resource scripts build the accelerator
   table from it, the program its command handlers, the toolbar's available
   buttons and the enabling, and the tests check the menus against it.

   X(id, handler, readOnly, rule, button, keyKind, key)
   - id: the command id (ids.h).
   - handler: KODRIN_HANDLER(member of MainWindow), or KODRIN_NO_HANDLER for a
     command this build lacks (it is then off in menus and toolbar).
   - readOnly: Refuse when a read-only catalog refuses the command with
     "Read Only" (every command that changes the catalog), else Allow.
   - rule: when menus and toolbar offer it (CommandRule in
     src/app/portable/commands.h).
   - button: its index in the toolbar's table of available buttons (icons
     6300 + index and 6400 + index, text 6200 + index), or KODRIN_NO_BUTTON.
   - keyKind, key: the accelerator. NONE (key 0), CTRL with a letter, FKEY
     with the function key's number, or DEL (key 0). Every key is a virtual
     key: only the chord sends the command, never the character a plain
     key types (Tab is the control character of Ctrl+I).

   A new command is one row here (with its id in ids.h, its menu items and,
   with a button, its icons and texts). */
#ifndef KODRIN_COMMAND_TABLE_H
#define KODRIN_COMMAND_TABLE_H

#include "ids.h"

#define KODRIN_NO_BUTTON (-1)

#define KODRIN_COMMANDS(X) \
    /* File */ \
    X(CMD_NEW_CATALOG,           KODRIN_HANDLER(CmdNew),                 Allow,  Always,           27, CTRL, N) \
    X(CMD_OPEN_CATALOG,          KODRIN_HANDLER(CmdOpen),                Allow,  Always,           28, CTRL, O) \
    X(CMD_SAVE_AS,               KODRIN_HANDLER(CmdSaveAs),              Allow,  Always,           KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_EXPORT,                KODRIN_HANDLER(CmdExport),              Allow,  Always,           20, CTRL, S) \
    X(CMD_IMPORT,                KODRIN_HANDLER(CmdImport),              Refuse, Always,           21, CTRL, I) \
    X(CMD_SEARCH_APPLICATIONS,   KODRIN_HANDLER(CmdSearchApplications), Refuse, Always,           11, NONE, 0) \
    X(CMD_RESTORE_BACKUP,        KODRIN_HANDLER(CmdRestore),             Allow,  Backup,           22, FKEY, 8) \
    X(CMD_TRANSFER,              KODRIN_HANDLER(CmdTransfer),            Allow,  Always,           KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_PRINT,                 KODRIN_HANDLER(CmdPrint),               Allow,  Always,           KODRIN_NO_BUTTON, CTRL, P) \
    X(CMD_EXIT,                  KODRIN_HANDLER(CmdExit),                Allow,  Always,           19, NONE, 0) \
    /* Edit */ \
    X(CMD_ADD_APPLICATION,       KODRIN_HANDLER(CmdAddApplication),      Refuse, Always,           0,  NONE, 0) \
    X(CMD_EDIT_APPLICATION,      KODRIN_HANDLER(CmdEditApplication),     Allow,  EditSelection,    1,  CTRL, E) \
    X(CMD_DELETE_APPLICATION,    KODRIN_HANDLER(CmdDeleteApplication),   Refuse, AnySelected,      2,  DEL,  0) \
    X(CMD_MULTIPLE_EDIT,         KODRIN_HANDLER(CmdMultipleEdit),        Allow,  AnySelected,      KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_CHANGE_CATEGORY,       KODRIN_HANDLER(CmdChangeCategory),      Refuse, AnySelected,      15, NONE, 0) \
    X(CMD_COPY_APPLICATION,      KODRIN_HANDLER(CmdCopyApplication),     Refuse, Always,           KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_COPY_USER_NAME,        KODRIN_HANDLER(CmdCopyUserName),        Allow,  UserName,         KODRIN_NO_BUTTON, CTRL, U) \
    X(CMD_COPY_ORGANIZATION,     KODRIN_HANDLER(CmdCopyOrganization),    Allow,  Organization,     KODRIN_NO_BUTTON, CTRL, Y) \
    X(CMD_COPY_REGISTRATION_KEY, KODRIN_HANDLER(CmdCopyRegistrationKey), Allow,  RegistrationKey,  13, CTRL, K) \
    X(CMD_COPY_WEB_USER_NAME,    KODRIN_HANDLER(CmdCopyWebUserName),     Allow,  WebUserName,      26, CTRL, W) \
    X(CMD_COPY_WEB_PASSWORD,     KODRIN_HANDLER(CmdCopyWebPassword),     Allow,  WebPassword,      14, CTRL, G) \
    X(CMD_FIND,                  KODRIN_HANDLER(CmdFind),                Allow,  Always,           KODRIN_NO_BUTTON, CTRL, F) \
    X(CMD_FIND_NEXT,             KODRIN_HANDLER(CmdFindNext),            Allow,  Always,           KODRIN_NO_BUTTON, FKEY, 3) \
    X(CMD_SELECT_ALL,            KODRIN_HANDLER(CmdSelectAll),           Allow,  Always,           KODRIN_NO_BUTTON, CTRL, A) \
    /* View */ \
    X(CMD_SHOW_HIDDEN,           KODRIN_HANDLER(CmdShowHidden),          Allow,  Always,           KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_CUSTOMIZE_TOOLBAR,     KODRIN_HANDLER(CmdCustomizeToolbar),    Allow,  Always,           KODRIN_NO_BUTTON, FKEY, 4) \
    X(CMD_CUSTOMIZE_COLUMNS,     KODRIN_HANDLER(CmdCustomizeColumns),    Refuse, Always,           KODRIN_NO_BUTTON, NONE, 0) \
    /* Category */ \
    X(CMD_ADD_CATEGORY,          KODRIN_HANDLER(CmdAddCategory),         Refuse, Always,           5,  NONE, 0) \
    X(CMD_EDIT_CATEGORY,         KODRIN_HANDLER(CmdEditCategory),        Refuse, Always,           6,  FKEY, 2) \
    X(CMD_DELETE_CATEGORY,       KODRIN_HANDLER(CmdDeleteCategory),      Refuse, Always,           7,  CTRL, D) \
    X(CMD_MOVE_CATEGORY_LEFT,    KODRIN_HANDLER(CmdMoveCategoryLeft),    Refuse, Always,           8,  NONE, 0) \
    X(CMD_MOVE_CATEGORY_RIGHT,   KODRIN_HANDLER(CmdMoveCategoryRight),   Refuse, Always,           9,  NONE, 0) \
    X(CMD_NEXT_TAB,              KODRIN_HANDLER(CmdNextTab),             Allow,  Always,           KODRIN_NO_BUTTON, CTRL, T) \
    /* Tools */ \
    X(CMD_LAUNCH_APPLICATION,    KODRIN_HANDLER(CmdLaunchApplication),   Allow,  Path,             10, CTRL, R) \
    X(CMD_LAUNCH_INSTALLATION,   KODRIN_HANDLER(CmdLaunchInstallation),  Allow,  InstallFile,      KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_EMAIL_SUPPORT,         KODRIN_HANDLER(CmdEmailSupport),        Allow,  SupportEmail,     KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_SUPPORT_PAGE,          KODRIN_HANDLER(CmdSupportPage),         Allow,  SupportPage,      KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_CHECK_APPLICATION,     KODRIN_HANDLER(CmdCheckApplication),    Allow,  CheckApplication, 12, CTRL, Z) \
    X(CMD_LOGIN,                 KODRIN_HANDLER(CmdLogin),               Allow,  LoginPage,        16, CTRL, L) \
    X(CMD_HOME_PAGE,             KODRIN_HANDLER(CmdHomePage),            Allow,  HomePage,         3,  CTRL, H) \
    X(CMD_GENERATE_PASSWORD,     KODRIN_HANDLER(CmdGeneratePassword),    Allow,  Always,           KODRIN_NO_BUTTON, FKEY, 7) \
    X(CMD_STATISTICS,            KODRIN_HANDLER(CmdStatistics),          Allow,  Always,           23, FKEY, 6) \
    X(CMD_AUTO_REMOVAL,          KODRIN_HANDLER(CmdAutoRemoval),         Refuse, Always,           KODRIN_NO_BUTTON, NONE, 0) \
    X(CMD_OPTIONS,               KODRIN_HANDLER(CmdOptions),             Refuse, Always,           17, FKEY, 5) \
    X(CMD_CHECK_ALL,             KODRIN_HANDLER(CmdCheckAll),            Allow,  Always,           29, NONE, 0) \
    /* Help */ \
    X(CMD_HELP,                  KODRIN_HANDLER(CmdHelp),                Allow,  Always,           4,  FKEY, 1) \
    X(CMD_MAKER_HOME_PAGE,       KODRIN_HANDLER(CmdHomePageOfMaker),     Allow,  Always,           25, FKEY, 9) \
    X(CMD_EMAIL_MAKER,           KODRIN_HANDLER(CmdEmailMaker),          Allow,  Always,           24, FKEY, 11) \
    X(CMD_CHECK_FOR_UPDATE,      KODRIN_HANDLER(CmdCheckForUpdate),      Allow,  Always,           KODRIN_NO_BUTTON, FKEY, 10) \
    X(CMD_ABOUT,                 KODRIN_HANDLER(CmdAbout),               Allow,  Always,           18, FKEY, 12)

/* The accelerator table's entries, for the resource compiler. */
#define KODRIN_ACCEL_NONE(id, key)
#define KODRIN_ACCEL_CTRL(id, key) #key, id, VIRTKEY, CONTROL
#define KODRIN_ACCEL_FKEY(id, key) (0x6F + key), id, VIRTKEY
#define KODRIN_ACCEL_DEL(id, key) 0x2E, id, VIRTKEY
#define KODRIN_ACCELERATOR(id, handler, readOnly, rule, button, keyKind, key) KODRIN_ACCEL_##keyKind(id, key)

#endif
