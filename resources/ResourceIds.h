// Resource numbers: commands, strings, menus, toolbar and dialogs, shared by every language.
#pragma once

// Commands of the menus, toolbar, accelerators and status-bar prompts. A command's prompt is
// the string of the same number.
enum CommandId : unsigned {
    ID_SEPARATOR = 0,  // a separator in a menu, a gap in the toolbar
    ID_MEAS_EXECUTE = 32771,
    ID_MEAS_SETTING = 32772,
    ID_SENSOR_INFO = 32773,
    ID_SAVE_COUNT = 32774,
    ID_INTERVAL_MEAS = 32775,
    ID_GRAPH_SETTING = 32784,
    ID_SAVE_APPEND = 32794,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_PAGE_SETUP = 57605,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_PREVIEW_CLOSE = 61445,
};

// Strings that are not command prompts.
enum StringId : unsigned {
    IDS_DOCUMENT_TEMPLATE = 128,  // title, file type, filter, extension, type identifiers
    IDS_APP_TITLE = 57344,        // also the caption of every message box
    IDS_IDLE_MESSAGE = 57345,
    IDS_INDICATOR_EXT = 59136,
    IDS_INDICATOR_CAPS = 59137,
    IDS_INDICATOR_NUM = 59138,
    IDS_INDICATOR_SCRL = 59139,
    IDS_INDICATOR_OVR = 59140,
    IDS_INDICATOR_REC = 59141,
    IDS_INDICATOR_KANA = 59142,
    IDS_SC_SIZE = 61184,
    IDS_SC_MOVE = 61185,
    IDS_SC_MINIMIZE = 61186,
    IDS_SC_MAXIMIZE = 61187,
    IDS_SC_NEXT_WINDOW = 61188,
    IDS_SC_PREV_WINDOW = 61189,
    IDS_SC_CLOSE = 61190,
    IDS_SC_RESTORE = 61202,
    IDS_SC_TASK_LIST = 61203,
    IDS_SPECTRO_NEGOTIATION_FAULT = 61448,
    IDS_SENSOR_INFO_FAULT = 61450,
    IDS_CALIBRATION_FAULT = 61451,
    IDS_FILE_SAVE_ERROR = 61452,
    IDS_SAVE_TITLE = 61453,
    IDS_CREATE_NEW_FILE = 61454,  // OK and Cancel
    IDS_STOP_INTERVAL = 61455,    // OK and Cancel
    IDS_SELECT_DATA_FOLDER = 61456,
    IDS_INVALID_DATA_FOLDER = 61457,
    IDS_PROGRESS_LIGHT = 61458,  // followed by " %d msec"
    IDS_PROGRESS_DARK = 61459,   // followed by " %d msec"
    IDS_PROGRESS_MEAS_NOW = 61460,
    IDS_FOLDER_READ_ONLY = 61461,
    IDS_OVERWRITE_PROHIBITED = 61462,
    IDS_APPEND_FORMAT_DIFFERS = 61463,
    IDS_AVAILABLE_AREA = 61464,  // formatted with the lowest and highest wavelength
    IDS_BAND_NEGOTIATION_FAULT = 61467,
    IDS_BAND_INFO_FAULT = 61469,
    IDS_BAND_PARAMETER_FAULT = 61470,
};

// Menus, toolbar, accelerator table and dialogs.
enum ResourceId : unsigned {
    IDR_MAINFRAME = 128,  // main menu, toolbar, accelerators, icon and document string
    IDR_CONTEXT_MENU = 139,
    IDD_ABOUTBOX = 100,
    IDD_COM_SELECT = 130,
    IDD_MEAS_SETTING = 131,
    IDD_INTERVAL = 133,
    IDD_GRAPH_SETTING = 134,
    IDD_SENSOR_INFO = 135,
    IDD_INTERVAL_PROGRESS = 136,
    IDD_MEAS_PROGRESS = 137,
    IDD_DATA_MEMO = 138,
};

// Controls of the dialogs; one number may stand in several dialogs.
enum ControlId : int {
    // Graph Setting
    IDC_UNIT_PHOTON = 1001,
    IDC_UNIT_WATT = 1003,
    IDC_TITLE = 1009,
    IDC_Y_MAX = 1010,
    IDC_Y_MIN = 1011,
    IDC_X_FROM = 1012,
    IDC_X_TO = 1013,
    IDC_COLOR = 1014,
    IDC_LOG = 1015,
    IDC_PREVIEW_AREA = 1016,
    IDC_PREVIEW = 1017,
    IDC_MARKER = 1018,
    IDC_AUTOSCALE = 1019,
    IDC_GRID = 1023,
    // Interval Measurement
    IDC_FILE = 1007,
    IDC_FILE_REF = 1008,
    IDC_AUTO_NAME = 1009,
    IDC_MEMO = 1010,
    IDC_USER_FILE = 1011,
    IDC_MIN_LABEL = 1021,
    IDC_AUTO_START = 1025,
    IDC_FROM_HOUR = 1034,
    IDC_FROM_MINUTE = 1035,
    IDC_TO_HOUR = 1036,
    IDC_TO_MINUTE = 1037,
    IDC_PERIOD = 1042,
    IDC_FOLDER = 1045,
    IDC_FOLDER_REF = 1046,
    // Measurement Setting
    IDC_LONGITUDE = 1022,
    IDC_LATITUDE = 1023,
    IDC_EDGE_ANGLE = 1024,
    // Data Memo
};
