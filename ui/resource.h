#pragma once

namespace dh1 {

// Command and control ids of Deskhand's window. Menu actions keep their command id as data;
// form controls are registered under their control id.
namespace ids {

// Menu 128 and the commands it reaches.
enum Command : int {
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604, // "Save As CSV file"
    ID_FILE_PRINT = 57607,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_HELP = 57670,
    ID_LOAD_CSV = 32786,
    ID_COM_PORT1 = 32774, // to ID_COM_PORT1 + 4 for COM 5
    ID_IRCOMM_OPTION = 32791,
    ID_DEBUG_OPTION = 32782,
};

// Controls shared by the three data forms.
enum FormControl : int {
    IDC_PC_NEW = 1000,
    IDC_PC_EDIT = 1001,
    IDC_PC_DELETE = 1002,
    IDC_PC_READ = 1003,
    IDC_PC_WRITE = 1004, // a command without a button
    IDC_MOBILE_READ = 1005,
    IDC_MOBILE_NEW = 1006,
    IDC_MOBILE_DELETE = 1007,
    IDC_COPY_TO_MOBILE = 1008,
    IDC_PC_LIST = 1009,
    IDC_COPY_TO_PC = 1010,
    IDC_OUTLOOK_LIST = 1011,
    IDC_MOBILE_EDIT = 1012,
    IDC_OUTLOOK = 1020,
    IDC_MOBILE_CAPTION = 1057,
    IDC_PC_CAPTION = 1058,
    IDC_INFO = 1059,
    IDC_PC_DETAIL = 1066,
    IDC_MOBILE_DETAIL = 1067,
};

// Controls of the phonebook form.
enum ContactControl : int {
    IDC_HANDSET_LIST = 1014,
    IDC_SIM_LIST = 1015,
    IDC_PHONEBOOK = 1019,
    IDC_MOBILE = 1021,
    IDC_SIM = 1022,
    IDC_CONTACT_PC_SELECT_ALL = 1043,
    IDC_CONTACT_MOBILE_SELECT_ALL = 1044,
    IDC_CONTACT_TOTAL = 1084,
};

// Controls of the schedule and memo forms (and of the message form, which shares its ids).
enum OrganizerControl : int {
    IDC_PHONE_LIST = 1022,
    IDC_LOCAL_SOURCE = 1044, // "View All" or "Memo"
    IDC_ORGANIZER_MOBILE_SELECT_ALL = 1045,
    IDC_ORGANIZER_PC_SELECT_ALL = 1046,
    IDC_MONTH = 1047,
    IDC_MONTH_GRID = 1049,
    IDC_MONTH_LABEL = 1082,
    IDC_PREV_MONTH = 1083,
    IDC_NEXT_MONTH = 1084,
    IDC_SCHEDULE_TOTAL = 1085,
};
enum MemoControl : int {
    IDC_MEMO_TOTAL = 1084,
};
enum SmsControl : int {
    IDC_SMS_NEW = 1000,
    IDC_SMS_READ = 1005,
    IDC_SMS_DELETE = 1007,
    IDC_SMS_SEND = 1043,
    IDC_SMS_SELECT_ALL = 1045,
    IDC_SMS_LABEL = 1051,
    IDC_SMS_FRAME = 1057,
    IDC_SMS_STATUS = 1059,
    IDC_SMS_DETAIL = 1066,
};

// Controls of the phonebook dialogs.
enum DialogControl : int {
    IDC_NAME = 1029,
    IDC_MOBILE_NUM = 1030,
    IDC_OFFICE_NUM = 1031,
    IDC_HOME_NUM = 1032,
    IDC_MEMO = 1033,
    IDC_EMAIL = 1034,
    IDC_PICK_LIST = 1055,
    IDC_PICK_NUMBER = 1056,
    IDC_GROUP = 1060,
};

} // namespace ids

} // namespace dh1
