// Identifiers of the module's resources.
#pragma once

// The strings the host asks for: options (its request 131), name, description
// (see docs/compatibility.md).
#define IDS_OPTIONS 1
#define IDS_PLUGIN_NAME 128
#define IDS_PLUGIN_DESCRIPTION 129

// Each function's ID is the ID of its prototype string; stored calculations
// name the functions by these IDs (see docs/compatibility.md).
#define IDS_PROTO_VERSION 151
#define IDS_PROTO_SET_BANNER_PATH 152
#define IDS_PROTO_CAPTURE_SIGNATURE 153
#define IDS_PROTO_RENDER_SIG_FROM_STRING 154
#define IDS_PROTO_SET_TABLET_MODE 159
#define IDS_PROTO_SET_IMAGE_PEN_WIDTH 160
#define IDS_PROTO_SET_TABLET_COM_PORT 162
#define IDS_PROTO_SAVE_SIG_TO_FILE 163
#define IDS_PROTO_GET_LAST_ERROR 164

// The capture dialog and its controls; the control's saved state is kept
// under IDC_SIGPLUS (see docs/compatibility.md).
#define IDD_CAPTURE 11002
#define IDC_SIGPLUS 11000
#define IDC_CLEAR 11006
#define IDD_CONFIG 11010
#define IDD_PLUGIN_ERROR 11016
#define IDC_MESSAGE_TEXT 11013

// The pad's screen images (see docs/compatibility.md).
#define IDB_BACKGROUND 11003
#define IDB_OK_KEY 11004
#define IDB_RESET_KEY 11005
#define IDB_PROMPT 11030
#define IDB_OK_KEY_PRESSED 11036
#define IDB_RESET_KEY_PRESSED 11038
