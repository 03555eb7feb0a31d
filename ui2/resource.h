#pragma once

// Command and control ids of Deskhand2's window.
namespace dh2::ids {

enum : int {
    // Menu commands.
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_LOAD_CSV = 32782,
    ID_FILE_PRINT = 57607,
    ID_APP_EXIT = 57665,
    ID_COM_PORT1 = 32774, // .. 32777
    ID_BAUD_19200 = 32780,
    ID_BAUD_115200 = 32781,
    ID_HELP = 57670,
    ID_APP_ABOUT = 57664,

    // Controls of the data forms.
    IDC_PC_NEW = 1000,
    IDC_PC_EDIT = 1001,
    IDC_PC_DELETE = 1002,
    IDC_PC_READ = 1003,
    IDC_PC_WRITE = 1004, // "Apply"
    IDC_MOBILE_READ = 1005,
    IDC_MOBILE_DELETE = 1007,
    IDC_COPY_TO_MOBILE = 1008,
    IDC_PC_LIST = 1009,
    IDC_COPY_TO_PC = 1010,
    IDC_OUTLOOK_LIST = 1011,
    IDC_HANDSET_LIST = 1014,
    IDC_SIM_LIST = 1015,
    IDC_PHONEBOOK = 1019,
    IDC_OUTLOOK = 1020,
    IDC_MOBILE = 1021,
    IDC_SIM = 1022,
    IDC_PC_SELECT_ALL = 1043,
    IDC_MOBILE_SELECT_ALL = 1044,
    IDC_MOBILE_CAPTION = 1057,
    IDC_PC_CAPTION = 1058,
    IDC_INFO = 1059,
    IDC_TOTAL = 1071,
    IDC_PC_DETAIL = 1075,
    IDC_MOBILE_DETAIL = 1076,

    // Dialog controls.
    IDC_NAME = 1029,
    IDC_MOBILE_NUM = 1030,
    IDC_OFFICE_NUM = 1031,
    IDC_HOME_NUM = 1032,
    IDC_FAX_NUM = 1033,
    IDC_EMAIL = 1034,
    IDC_GROUP = 1074,
    IDC_PICK_LIST = 1055,
    IDC_PICK_NUMBER = 1056,
};

// Strings of the window.
enum : int {
    IDS_NEW = 62448,
    IDS_EDIT = 62447,
    IDS_PHONEBOOK_LIST_COLUMNS = 62449,
    IDS_NO_OUTLOOK = 62450,
    IDS_READING = 62451,
    IDS_READ_FAILED = 62452,
    IDS_DELETE_QUESTION = 62453,
    IDS_WRITING = 62454,
    IDS_MEMORY_FULL = 62455,
    IDS_CONNECT_FAILED = 62456,
    IDS_WRITE_FAILED = 62457,
    IDS_SCHEDULE = 62458,
    IDS_CONTACT = 62459,
    IDS_MEMO = 62460,
    IDS_SMS = 62461,
    IDS_FOOTER = 62462,
    IDS_PHONEBOOK = 62463,
    IDS_TUTORIAL = 62464,
    IDS_DELETING = 62510,
    IDS_LOCAL = 62511,
    IDS_OUTLOOK = 62512,
    IDS_MOBILE = 62513,
    IDS_SIM = 62514,
    IDS_SELECT_COLUMNS = 62519,
    IDS_TOTAL = 62520,
    IDS_NAME = 62533,
    IDS_HOME = 62534,
    IDS_OFFICE = 62535,
    IDS_EMAIL = 62536,
    IDS_FAX = 62537,
    IDS_GROUP = 62538,
    IDS_STORAGE = 62539,
    IDS_PHONE = 62540,
    // A phonebook write or delete the phone did not confirm: what may have happened, and to read
    // the book again first.
    IDS_ENTRY_WRITE_UNCONFIRMED = 64354,
    IDS_ENTRY_DELETE_UNCONFIRMED = 64355, // %1: the entry's index
};

} // namespace dh2::ids
